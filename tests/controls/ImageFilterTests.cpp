#include <doctest.h>

#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "controls/FillPixels.h"
#include "controls/FilterBitmap.h"
#include "controls/LightnessFilter.h"
#include "controls/ScalePixels.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
constexpr DWORD magenta = 0xFF00FF; // as a 32-bit DIB holds it: 0xRRGGBB

BITMAPINFO Info(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

// A top-down DIB section of 0xRRGGBB pixels, row after row.
HBITMAP MakeBitmap(const std::vector<DWORD>& pixels, int width)
{
    const BITMAPINFO info = Info(width, static_cast<int>(pixels.size()) / width);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    REQUIRE(bitmap != NULL);
    memcpy(bits, pixels.data(), pixels.size() * sizeof(DWORD));
    GdiFlush();
    return bitmap;
}

std::string Describe(const std::vector<DWORD>& pixels)
{
    std::string text;
    char buffer[16];
    for (DWORD p : pixels) {
        snprintf(buffer, sizeof(buffer), "%06lx ", p & 0xFFFFFF);
        text += buffer;
    }
    return text;
}

// What the bitmap shows as "rrggbb " per pixel, so that a failed comparison shows the pixels.
std::string Shown(HBITMAP bitmap)
{
    BITMAP size = {};
    REQUIRE(GetObjectA(bitmap, sizeof(size), &size) == static_cast<int>(sizeof(size)));
    BITMAPINFO info = Info(size.bmWidth, size.bmHeight);
    std::vector<DWORD> pixels(size.bmWidth * size.bmHeight);
    HDC screen = GetDC(NULL);
    REQUIRE(GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS) == size.bmHeight);
    ReleaseDC(NULL, screen);
    return Describe(pixels);
}

class FailingFilter : public ImageFilter {
public:
    FailingFilter() : ImageFilter(FALSE, 0) {}
    BOOL Apply(const Pixel*, int, int, Pixel*, int, int) const override { return FALSE; }
};

} // namespace

TEST_CASE("normal and disabled images of reference colours; the mask colour passes, near ones do not")
{
    // The last row's channels fall past a half before the final truncation;
    // its expected values were worked out from the conversion formulas alone
    // (a short script with stored values rounded to single precision, sums
    // and products in double), not by running the program. Rounding instead
    // of truncating would give 0x1D1D3A 0x1326BC 0x153D8D.
    const std::vector<DWORD> pixels = {0xFFFFFF, 0x000000, 0xFF0000, 0x0000FF, magenta, 0xFF01FF, 0xFF00FE,
                                       0x808080, 0x00FF00, 0x0F0F1E, 0x0F1E96, 0x0F2D69};
    const std::vector<DWORD> normal = {0xFFFFFF, 0x141414, 0xFF2828, 0x2828FF, magenta, 0xFF29FF,
                                       0xFF28FE, 0x949494, 0x28FF28, 0x1B1B38, 0x1124BA, 0x133B8B};
    HBITMAP original = MakeBitmap(pixels, 3);
    FilterBitmap image;
    image.Attach(original);
    SUBCASE("normal")
    {
        CHECK(image.MakeNormalImage(kMagenta, image.GetBitmap()));
        CHECK(Shown(image.GetBitmap()) == Describe(normal));
    }
    SUBCASE("normal, read from a bitmap that stays the caller's and unchanged")
    {
        FilterBitmap variant;
        CHECK(variant.MakeNormalImage(kMagenta, original));
        CHECK(Shown(variant.GetBitmap()) == Describe(normal));
        CHECK(Shown(original) == Describe(pixels));
        CHECK(image.MakeNormalImage(kMagenta, image.GetBitmap()));
    }
    SUBCASE("disabled")
    {
        CHECK(image.MakeDisabledImage(kMagenta, image.GetBitmap()));
        CHECK(Shown(image.GetBitmap()) == Describe({0xFFFFFF, 0x3C3C3C, 0x888888, 0x555555, magenta, 0xA2A2A2,
                                                    0xA1A1A1, 0xBCBCBC, 0xD5D5D5, 0x4C4C4C, 0x616161, 0x666666}));
    }
    // The result replaced the original bitmap, which was deleted.
    CHECK(GetObjectType(original) == 0);
}

TEST_CASE("a chain that does nothing or fails leaves the bitmap as it was")
{
    const std::vector<DWORD> input = {0x0A141E, 0xC83232, magenta, 0x000000};
    HBITMAP original = MakeBitmap(input, 2);
    FilterBitmap image;
    image.Attach(original);
    SimpleArray<ImageFilter*> chain;
    LightnessFilter lighten(TRUE, kMagenta, 0.5f);
    SUBCASE("empty chain") { CHECK(image.ApplyFilters(chain, original)); }
    SUBCASE("a filter fails after one that worked")
    {
        FailingFilter failing;
        chain.Add(&lighten);
        chain.Add(&failing);
        CHECK_FALSE(image.ApplyFilters(chain, original));
    }
    SUBCASE("no source, as a failed load gives")
    {
        CHECK_FALSE(image.ApplyFilters(chain, NULL));  // even an empty chain
        chain.Add(&lighten);
        CHECK_FALSE(image.ApplyFilters(chain, NULL));
        CHECK_FALSE(image.MakeNormalImage(kMagenta, NULL));
        CHECK_FALSE(image.MakeDisabledImage(kMagenta, NULL));
    }
    CHECK(image.GetBitmap() == original);
    CHECK(Shown(original) == Describe(input));
}

TEST_CASE("FillPixels fills exactly width x height pixels")
{
    const SIZE sizes[] = {{1, 1}, {3, 5}, {7, 1}, {1, 7}, {5, 3}};
    // COLORREF in, blue green red reserved out; white fills the reserved byte too.
    const std::pair<COLORREF, DWORD> cases[] = {
        {0x123456, 0x00563412}, {0xFFFFFF, 0xFFFFFFFF}, {0xFFFFFFFF, 0xFFFFFFFF}, {0, 0}};
    for (const SIZE& size : sizes) {
        for (const auto& c : cases) {
            CAPTURE(size.cx);
            CAPTURE(size.cy);
            CAPTURE(c.first);
            const int count = size.cx * size.cy;
            std::vector<DWORD> buffer(count + 3, 0xA5A5A5A5);
            REQUIRE(FillPixels(reinterpret_cast<Pixel*>(buffer.data()), size.cx, size.cy, c.first));
            CHECK(std::vector<DWORD>(buffer.begin(), buffer.begin() + count) == std::vector<DWORD>(count, c.second));
            CHECK(std::vector<DWORD>(buffer.begin() + count, buffer.end()) == std::vector<DWORD>(3, 0xA5A5A5A5));
        }
    }
    Pixel untouched = {};
    CHECK_FALSE(FillPixels(nullptr, 2, 2, 0x123456));
    CHECK_FALSE(FillPixels(&untouched, -1, 1, 0x123456));
    CHECK(FillPixels(&untouched, 0, 5, 0x123456));
    CHECK(untouched.red == 0);
}

TEST_CASE("ScalePixels averages the area each pixel covers, weighted by how much of each source pixel lies in it")
{
    struct Case { int sourceWidth, sourceHeight; std::vector<DWORD> source; int width, height; std::vector<DWORD> expected; };
    const Case cases[] = {
        // Equal sizes copy; the reserved byte becomes 0.
        {3, 1, {0xFF102030, 0x405060, 0x708090}, 3, 1, {0x102030, 0x405060, 0x708090}},
        // Halving: each pair averaged, halves rounded up.
        {4, 1, {0x000000, 0xFFFFFF, 0x0000FF, 0x0000FF}, 2, 1, {0x808080, 0x0000FF}},
        {1, 2, {0x000000, 0xFFFFFF}, 1, 1, {0x808080}},
        // Three into two: the middle pixel gives half of itself to each side.
        {3, 1, {0x000000, 0x606060, 0xC0C0C0}, 2, 1, {0x202020, 0xA0A0A0}},
        // Both directions at once, each channel on its own.
        {2, 2, {0x400000, 0x400000, 0x000040, 0x000080}, 1, 1, {0x200030}},
        // Enlarging blends only where a pixel straddles two.
        {2, 1, {0x000000, 0xC0C0C0}, 3, 1, {0x000000, 0x606060, 0xC0C0C0}},
    };
    for (const Case& c : cases) {
        CAPTURE(Describe(c.source));
        std::vector<DWORD> out(c.width * c.height + 1, 0xA5A5A5A5);
        REQUIRE(ScalePixels(reinterpret_cast<const Pixel*>(c.source.data()), c.sourceWidth, c.sourceHeight,
                            reinterpret_cast<Pixel*>(out.data()), c.width, c.height));
        CHECK(Describe(std::vector<DWORD>(out.begin(), out.end() - 1)) == Describe(c.expected));
        CHECK(out.back() == 0xA5A5A5A5);
        CHECK((out.front() >> 24) == 0);
    }
    Pixel one = {};
    CHECK_FALSE(ScalePixels(nullptr, 1, 1, &one, 1, 1));
    CHECK_FALSE(ScalePixels(&one, 1, 1, nullptr, 1, 1));
    CHECK_FALSE(ScalePixels(&one, 0, 1, &one, 1, 1));
    CHECK_FALSE(ScalePixels(&one, 1, 1, &one, 1, -1));
}
