#pragma once

#include <windows.h>

namespace testing {

// What the screen shows of a window: its pixels as they are on the display,
// whichever process drew them.
class ScreenPixels {
public:
    // Pixels of the window's rectangle that are exactly this colour.
    static int Count(HWND window, COLORREF colour);
    // Waits, pumping messages, until at least minimum such pixels show;
    // the last count.
    static int WaitFor(HWND window, COLORREF colour, int minimum, unsigned timeoutMs);
};

} // namespace testing
