#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "support/BitmapPixels.h"

namespace testing {

// A window's client area as it shows on screen when read: what has been
// painted so far. Pending paints are not done first; a test that wants them
// calls UpdateWindow itself, so that it can also see what was painted at once.
class ScreenPixels {
public:
    using Match = std::function<bool(COLORREF)>;

    explicit ScreenPixels(HWND window);

    const BitmapPixels& Pixels() const { return pixels; }
    COLORREF At(int x, int y) const;
    // Pixels that match inside area (client coordinates, cut to the client area).
    int Count(const Match& matches, const RECT& area) const;
    int Count(COLORREF colour, const RECT& area) const { return Count(Is(colour), area); }
    int Count(COLORREF colour) const { return Count(colour, client); }
    // The smallest rectangle around the matching pixels in area; empty when none.
    RECT Bounds(const Match& matches, const RECT& area) const;
    RECT Bounds(const Match& matches) const { return Bounds(matches, client); }
    RECT Bounds(COLORREF colour) const { return Bounds(Is(colour), client); }
    // The rows of area, top to bottom, with at least minimum pixels of the
    // colour: a line drawn across text (an underline) shows as such a row.
    std::vector<int> RowsWith(COLORREF colour, const RECT& area, int minimum = 1) const;

private:
    static Match Is(COLORREF colour) { return [colour](COLORREF c) { return c == colour; }; }
    RECT Clip(const RECT& area) const;

    RECT client = {};
    BitmapPixels pixels;
};

} // namespace testing
