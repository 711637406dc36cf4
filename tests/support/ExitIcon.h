#pragma once

#include <windows.h>

namespace testing {

// The red of the Exit icon's disc wherever it is drawn: red well above green
// and blue, which nothing else on a button face is.
inline bool IsExitRed(COLORREF c)
{
    return GetRValue(c) > GetGValue(c) + 60 && GetRValue(c) > GetBValue(c) + 60;
}

} // namespace testing
