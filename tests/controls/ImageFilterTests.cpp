#include <doctest.h>

#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

#include "controls/FillPixels.h"
#include "controls/FilterBitmap.h"
#include "controls/LightnessFilter.h"
#include "controls/ScalePixels.h"
#include "support/BitmapPixels.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
constexpr DWORD magenta = 0xFF00FF; // as a 32-bit DIB holds it: 0xRRGGBB

// A top-down DIB section of 0xRRGGBB pixels, row after row.
HBITMAP MakeBitmap(const std::vector<DWORD>& pixels, int width)
{
    void* bits = nullptr;
    HBITMAP bitmap = testing::CreateTopDownDib(width, static_cast<int>(pixels.size()) / width, &bits);
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
    const testing::BitmapPixels pixels = testing::BitmapPixels::Read(bitmap);
    REQUIRE_FALSE(pixels.Bits().empty());
    return Describe(pixels.Bits());
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

TEST_CASE("each pixel's variant depends on its colour alone, whatever the pixels before it")
{
    // Runs of one colour, and neighbours that differ in one channel by one.
    const std::vector<DWORD> palette = {0x0F2D69, 0x0F2D68, 0x0E2D69, 0x0F2C69, 0xFF0000, magenta, 0x808080};
    std::vector<DWORD> pixels;
    for (size_t i = 0; i < 48; ++i)
        pixels.push_back(palette[(i * i / 3) % palette.size()]);
    for (const bool disabled : {false, true}) {
        CAPTURE(disabled);
        const auto variant = [&](const std::vector<DWORD>& source, int width) {
            FilterBitmap image;
            image.Attach(MakeBitmap(source, width));
            CHECK((disabled ? image.MakeDisabledImage(kMagenta, image.GetBitmap())
                            : image.MakeNormalImage(kMagenta, image.GetBitmap())));
            return Shown(image.GetBitmap());
        };
        std::string alone;
        for (DWORD pixel : pixels)
            alone += variant({pixel}, 1);
        CHECK(variant(pixels, 8) == alone);
    }
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

namespace {

// The area filter as its definition reads, one sample at a time in 64 bits:
// what ScalePixels must give to the bit.
void ReferenceLine(const Pixel* source, int step, int count, Pixel* destination, int destinationStep, int newCount)
{
    for (int j = 0; j < newCount; ++j) {
        const long long start = static_cast<long long>(j) * count, end = start + count;
        unsigned long long sums[3] = {};
        for (long long i = start / newCount; i < count && i * newCount < end; ++i) {
            const long long weight = std::min((i + 1) * newCount, end) - std::max(i * newCount, start);
            const Pixel& pixel = source[i * step];
            sums[0] += weight * pixel.blue;
            sums[1] += weight * pixel.green;
            sums[2] += weight * pixel.red;
        }
        Pixel& out = destination[static_cast<long long>(j) * destinationStep];
        out = {static_cast<BYTE>((sums[0] + count / 2) / count), static_cast<BYTE>((sums[1] + count / 2) / count),
               static_cast<BYTE>((sums[2] + count / 2) / count), 0};
    }
}

} // namespace

TEST_CASE("ScalePixels gives the area filter's exact result for the banners' sizes and others")
{
    // The banners from their double-size pictures at 125%, 150% and 200%,
    // sizes that do not divide, and lines of one pixel and of many.
    const struct { int sourceWidth, sourceHeight, width, height; } sizes[] = {
        {740, 120, 462, 75}, {740, 120, 555, 90}, {796, 106, 597, 80}, {740, 120, 740, 120},
        {37, 11, 5, 3},      {5, 3, 37, 11},      {101, 7, 100, 8},    {1, 2, 3, 1},
        {4100, 2, 3, 1},  // a line long enough to be divided the slow way
    };
    unsigned int state = 12345;
    for (const auto& size : sizes) {
        CAPTURE(size.width);
        std::vector<Pixel> source(size.sourceWidth * size.sourceHeight);
        for (Pixel& pixel : source) {
            state = state * 1103515245u + 12345u;
            pixel = {BYTE(state >> 8), BYTE(state >> 16), BYTE(state >> 24), BYTE(state)};
        }
        std::vector<Pixel> rows(size.width * size.sourceHeight), expected(size.width * size.height),
            shown(size.width * size.height);
        for (int y = 0; y < size.sourceHeight; ++y)
            ReferenceLine(&source[y * size.sourceWidth], 1, size.sourceWidth, &rows[y * size.width], 1, size.width);
        for (int x = 0; x < size.width; ++x)
            ReferenceLine(&rows[x], size.width, size.sourceHeight, &expected[x], size.width, size.height);
        REQUIRE(ScalePixels(source.data(), size.sourceWidth, size.sourceHeight, shown.data(), size.width, size.height));
        CHECK(memcmp(shown.data(), expected.data(), shown.size() * sizeof(Pixel)) == 0);
    }
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
    CHECK_FALSE(ScalePixels(&one, 16843010, 1, &one, 1, 1));  // a longer line's sums would wrap
    CHECK_FALSE(ScalePixels(&one, 1, 1, nullptr, 1, 1));
    CHECK_FALSE(ScalePixels(&one, 0, 1, &one, 1, 1));
    CHECK_FALSE(ScalePixels(&one, 1, 1, &one, 1, -1));
}
