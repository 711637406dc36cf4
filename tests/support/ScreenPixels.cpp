#include "support/ScreenPixels.h"

namespace testing {

ScreenPixels::ScreenPixels(HWND window)
{
    ::GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    void* bits = nullptr;
    HDC screen = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP copy = width > 0 && height > 0 ? CreateTopDownDib(width, height, &bits) : nullptr;
    if (memory != nullptr && copy != nullptr) {
        HGDIOBJ previous = ::SelectObject(memory, copy);
        ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        ::GdiFlush();
        pixels = BitmapPixels(width, height, bits);
        ::SelectObject(memory, previous);
    }
    if (copy != nullptr)
        ::DeleteObject(copy);
    if (memory != nullptr)
        ::DeleteDC(memory);
    ::ReleaseDC(window, screen);
    if (pixels.Bits().empty())
        ::SetRectEmpty(&client);
}

RECT ScreenPixels::Clip(const RECT& area) const
{
    RECT clipped;
    if (!::IntersectRect(&clipped, &area, &client))
        ::SetRectEmpty(&clipped);
    return clipped;
}

COLORREF ScreenPixels::At(int x, int y) const
{
    const POINT point = {x, y};
    return ::PtInRect(&client, point) ? pixels.At(x, y) : CLR_INVALID;
}

int ScreenPixels::Count(const Match& matches, const RECT& area) const
{
    const RECT clipped = Clip(area);
    int count = 0;
    for (int y = clipped.top; y < clipped.bottom; ++y)
        for (int x = clipped.left; x < clipped.right; ++x)
            count += matches(At(x, y));
    return count;
}

RECT ScreenPixels::Bounds(const Match& matches, const RECT& area) const
{
    const RECT clipped = Clip(area);
    RECT bounds = {clipped.right, clipped.bottom, clipped.left, clipped.top};
    for (int y = clipped.top; y < clipped.bottom; ++y)
        for (int x = clipped.left; x < clipped.right; ++x)
            if (matches(At(x, y))) {
                bounds.left = x < bounds.left ? x : bounds.left;
                bounds.top = y < bounds.top ? y : bounds.top;
                bounds.right = x + 1 > bounds.right ? x + 1 : bounds.right;
                bounds.bottom = y + 1 > bounds.bottom ? y + 1 : bounds.bottom;
            }
    if (::IsRectEmpty(&bounds))
        ::SetRectEmpty(&bounds);
    return bounds;
}

std::vector<int> ScreenPixels::RowsWith(COLORREF colour, const RECT& area, int minimum) const
{
    const RECT clipped = Clip(area);
    std::vector<int> rows;
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const RECT row = {clipped.left, y, clipped.right, y + 1};
        if (Count(colour, row) >= minimum)
            rows.push_back(y);
    }
    return rows;
}

} // namespace testing
