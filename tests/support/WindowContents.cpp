#include "support/WindowContents.h"

namespace testing {

std::string WindowText(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

int FindItem(HWND list, const char* text)
{
    return static_cast<int>(
        SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)));
}

RECT ScrollToItem(HWND list, int index)
{
    SendMessageA(list, LB_SETTOPINDEX, index, 0);
    RECT item = {};
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    return item;
}

} // namespace testing
