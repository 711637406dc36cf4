#include "support/BitmapPixels.h"

namespace testing {

namespace {

BITMAPINFO TopDownInfo(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

} // namespace

BitmapPixels::BitmapPixels(int width, int height, const void* bits)
    : width(width), height(height),
      bits(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + static_cast<size_t>(width) * height)
{
}

BitmapPixels BitmapPixels::Read(HBITMAP bitmap)
{
    BITMAP size = {};
    if (GetObjectA(bitmap, sizeof size, &size) != sizeof size)
        return BitmapPixels();
    BITMAPINFO info = TopDownInfo(size.bmWidth, size.bmHeight);
    std::vector<DWORD> bits(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, size.bmHeight, bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == size.bmHeight ? BitmapPixels(size.bmWidth, size.bmHeight, bits.data()) : BitmapPixels();
}

COLORREF BitmapPixels::At(int x, int y) const
{
    const DWORD pixel = bits[static_cast<size_t>(y) * width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

std::vector<COLORREF> BitmapPixels::Row(int y) const
{
    std::vector<COLORREF> row;
    for (int x = 0; x < width; ++x)
        row.push_back(At(x, y));
    return row;
}

std::vector<COLORREF> BitmapPixels::Colours() const
{
    std::vector<COLORREF> colours;
    for (int y = 0; y < height; ++y) {
        const std::vector<COLORREF> row = Row(y);
        colours.insert(colours.end(), row.begin(), row.end());
    }
    return colours;
}

HBITMAP CreateTopDownDib(int width, int height, void** bits)
{
    const BITMAPINFO info = TopDownInfo(width, height);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace testing
