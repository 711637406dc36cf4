#pragma once

#include <windows.h>

#include <vector>

namespace testing {

// A window's client area as it shows on screen when read: what has been
// painted so far. Pending paints are not done first; a test that wants them
// calls UpdateWindow itself, so that it can also see what was painted at once.
class ScreenPixels {
public:
    explicit ScreenPixels(HWND window);

    COLORREF At(int x, int y) const;
    // Pixels of the colour inside area (client coordinates, cut to the client area).
    int Count(COLORREF colour, const RECT& area) const;
    int Count(COLORREF colour) const { return Count(colour, client); }
    // The smallest rectangle around the colour's pixels in area; empty when none.
    RECT Bounds(COLORREF colour, const RECT& area) const;
    RECT Bounds(COLORREF colour) const { return Bounds(colour, client); }
    // The rows of area, top to bottom, with at least minimum pixels of the
    // colour: a line drawn across text (an underline) shows as such a row.
    std::vector<int> RowsWith(COLORREF colour, const RECT& area, int minimum = 1) const;

private:
    RECT Clip(const RECT& area) const;

    RECT client = {};
    std::vector<COLORREF> pixels;  // row by row from the top
};

} // namespace testing
