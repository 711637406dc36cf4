#include "quality/ScreenPixels.h"

#include <vector>

#include "support/UserInput.h"

namespace testing {

int ScreenPixels::Count(HWND window, COLORREF colour)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return 0;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return 0;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP copy = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    int count = 0;
    if (memory != nullptr && copy != nullptr) {
        HGDIOBJ previous = SelectObject(memory, copy);
        // One read of the display, not one per pixel.
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        const DWORD* pixel = static_cast<const DWORD*>(bits);
        for (int i = 0; i < width * height; ++i) {
            if ((pixel[i] & 0x00FFFFFF) == wanted)
                ++count;
        }
        SelectObject(memory, previous);
    }
    if (copy != nullptr)
        DeleteObject(copy);
    if (memory != nullptr)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return count;
}

int ScreenPixels::WaitFor(HWND window, COLORREF colour, int minimum, unsigned timeoutMs)
{
    int count = 0;
    WaitUntil([&] { return (count = Count(window, colour)) >= minimum; }, timeoutMs);
    return count;
}

} // namespace testing
