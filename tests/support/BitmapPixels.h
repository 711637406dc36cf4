#pragma once

#include <windows.h>

#include <vector>

namespace testing {

// A picture's pixels as a top-down 32-bit DIB holds them: one DWORD a pixel,
// 0xAARRGGBB, the top row first. Colours are compared through At and Row,
// which leave the alpha byte out.
class BitmapPixels {
public:
    BitmapPixels() = default;
    BitmapPixels(int width, int height, const void* bits);
    // The whole bitmap; empty when it cannot be read.
    static BitmapPixels Read(HBITMAP bitmap);

    int Width() const { return width; }
    int Height() const { return height; }
    const std::vector<DWORD>& Bits() const { return bits; }
    COLORREF At(int x, int y) const;
    std::vector<COLORREF> Row(int y) const;
    std::vector<COLORREF> Colours() const;

private:
    int width = 0;
    int height = 0;
    std::vector<DWORD> bits;
};

// A DIB section of that layout; bits receives its pixels.
HBITMAP CreateTopDownDib(int width, int height, void** bits);

} // namespace testing
