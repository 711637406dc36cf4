#include <doctest.h>

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

#include "controls/FillPixels.h"
#include "controls/FilterBitmap.h"
#include "controls/HlsColour.h"
#include "controls/LightnessFilter.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// A 24-bit top-down DIB section holding the given colours, row after row.
HBITMAP MakeBitmap(const std::vector<COLORREF>& colours, int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    REQUIRE(bitmap != NULL);
    const int stride = (width * 3 + 3) & ~3;
    for (int y = 0; y < height; ++y) {
        BYTE* row = static_cast<BYTE*>(bits) + y * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = colours[y * width + x];
            row[x * 3] = GetBValue(colour);
            row[x * 3 + 1] = GetGValue(colour);
            row[x * 3 + 2] = GetRValue(colour);
        }
    }
    GdiFlush();
    return bitmap;
}

// What the bitmap shows, top row first.
std::vector<COLORREF> ReadColours(HBITMAP bitmap)
{
    BITMAP size = {};
    REQUIRE(GetObjectA(bitmap, sizeof(size), &size) == static_cast<int>(sizeof(size)));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(size.bmWidth * size.bmHeight);
    HDC screen = GetDC(NULL);
    const int lines = GetDIBits(screen, bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    REQUIRE(lines == size.bmHeight);
    std::vector<COLORREF> colours;
    for (const RGBQUAD& p : pixels)
        colours.push_back(RGB(p.rgbRed, p.rgbGreen, p.rgbBlue));
    return colours;
}

// "(r,g,b)" per pixel, so that a failed comparison shows the pixels.
std::string Describe(const std::vector<COLORREF>& colours)
{
    std::string text;
    char buffer[32];
    for (COLORREF c : colours) {
        snprintf(buffer, sizeof(buffer), "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
        text += buffer;
    }
    return text;
}

class FailingFilter : public ImageFilter {
public:
    FailingFilter() : ImageFilter(FALSE, 0) {}
    BOOL Apply(const Pixel*, int, int, Pixel*, int, int) const override { return FALSE; }
};

// Doubles the width, repeating the source; when partial it writes only the
// source's own columns and leaves the rest to the background.
class WidenFilter : public ImageFilter {
public:
    explicit WidenFilter(bool partial) : ImageFilter(FALSE, 0), partial(partial) {}
    SIZE& GetOutputSize(SIZE& size, int width, int height) const override
    {
        size.cx = width * 2;
        size.cy = height;
        return size;
    }
    BOOL Apply(const Pixel* source, int sourceWidth, int, Pixel* destination, int width, int height) const override
    {
        const int written = partial ? sourceWidth : width;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < written; ++x)
                destination[y * width + x] = source[y * sourceWidth + x % sourceWidth];
        return TRUE;
    }

private:
    bool partial;
};

} // namespace

TEST_CASE("normal and disabled images of reference colours")
{
    // The two pixels after magenta differ from it in one component only.
    const std::vector<COLORREF> input = {
        RGB(255, 255, 255), RGB(0, 0, 0),     RGB(255, 0, 0),
        RGB(0, 0, 255),     kMagenta,         RGB(255, 1, 255),
        RGB(255, 0, 254),   RGB(128, 128, 128), RGB(0, 255, 0)};
    HBITMAP original = MakeBitmap(input, 3, 3);
    FilterBitmap image;
    image.Attach(original);

    SUBCASE("normal")
    {
        CHECK(image.MakeNormalImage(kMagenta));
        CHECK(Describe(ReadColours(image.GetBitmap())) == Describe({
            RGB(255, 255, 255), RGB(20, 20, 20),    RGB(255, 40, 40),
            RGB(40, 40, 255),   kMagenta,           RGB(255, 41, 255),
            RGB(255, 40, 254),  RGB(148, 148, 148), RGB(40, 255, 40)}));
    }
    SUBCASE("disabled")
    {
        CHECK(image.MakeDisabledImage(kMagenta));
        CHECK(Describe(ReadColours(image.GetBitmap())) == Describe({
            RGB(255, 255, 255), RGB(60, 60, 60),    RGB(136, 136, 136),
            RGB(85, 85, 85),    kMagenta,           RGB(162, 162, 162),
            RGB(161, 161, 161), RGB(188, 188, 188), RGB(213, 213, 213)}));
    }
    // The result replaced the original bitmap, which was deleted.
    CHECK(image.GetBitmap() != original);
    CHECK(GetObjectType(original) == 0);
}

TEST_CASE("the button bitmaps keep their transparent pixels in both variants")
{
    const char* sourceDir = getenv("ZVX_SOURCE_DIR");
    if (sourceDir == nullptr) {
        MESSAGE("ZVX_SOURCE_DIR not set; button bitmaps skipped");
        return;
    }
    for (const char* name : {"exit.bmp", "about.bmp", "visit.bmp"}) {
        CAPTURE(name);
        // Wine maps drive Z: to the host's root directory.
        const std::string path = std::string("Z:") + sourceDir + "/res/images/" + name;
        HBITMAP loaded = static_cast<HBITMAP>(LoadImageA(NULL, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (loaded == NULL) {
            MESSAGE("not found: " << path);
            continue;
        }
        const std::vector<COLORREF> original = ReadColours(loaded);
        FilterBitmap normal;
        FilterBitmap disabled;
        normal.Attach(static_cast<HBITMAP>(CopyImage(loaded, IMAGE_BITMAP, 0, 0, 0)));
        disabled.Attach(loaded);
        REQUIRE(normal.MakeNormalImage(kMagenta));
        REQUIRE(disabled.MakeDisabledImage(kMagenta));
        const std::vector<COLORREF> lighter = ReadColours(normal.GetBitmap());
        const std::vector<COLORREF> greyer = ReadColours(disabled.GetBitmap());
        REQUIRE(lighter.size() == original.size());
        REQUIRE(greyer.size() == original.size());

        int masked = 0;
        for (size_t i = 0; i < original.size(); ++i) {
            CAPTURE(i);
            if (original[i] == kMagenta) {
                ++masked;
                CHECK(lighter[i] == kMagenta);
                CHECK(greyer[i] == kMagenta);
            } else {
                CHECK(GetRValue(greyer[i]) == GetGValue(greyer[i]));
                CHECK(GetGValue(greyer[i]) == GetBValue(greyer[i]));
            }
        }
        CHECK(masked > 0);
    }
}

TEST_CASE("a chain that does nothing or fails leaves the bitmap as it was")
{
    const std::vector<COLORREF> input = {RGB(10, 20, 30), RGB(200, 50, 50), kMagenta, RGB(0, 0, 0)};
    HBITMAP original = MakeBitmap(input, 2, 2);
    FilterBitmap image;
    image.Attach(original);
    SimpleArray<ImageFilter*> chain;

    SUBCASE("empty chain") { CHECK(image.ApplyFilters(chain)); }
    SUBCASE("a filter fails after one that worked")
    {
        LightnessFilter lighten(TRUE, kMagenta, 0.5f);
        FailingFilter failing;
        chain.Add(&lighten);
        chain.Add(&failing);
        CHECK_FALSE(image.ApplyFilters(chain));
    }
    CHECK(image.GetBitmap() == original);
    CHECK(Describe(ReadColours(original)) == Describe(input));
}

TEST_CASE("an empty FilterBitmap fails without touching anything")
{
    FilterBitmap image;
    BITMAPINFOHEADER header = {};
    header.biWidth = 77;
    CHECK(image.GetInfoHeader(header) == 0);
    CHECK(header.biWidth == 77);
    CHECK(image.GetPixels() == nullptr);
    CHECK_FALSE(image.MakeNormalImage(kMagenta));
    CHECK(image.GetBitmap() == NULL);
}

TEST_CASE("a chain that enlarges the image yields the last size, background where nothing was written")
{
    const COLORREF red = RGB(255, 0, 0);
    FilterBitmap image;
    image.Attach(MakeBitmap(std::vector<COLORREF>(3 * 4, red), 3, 4));
    WidenFilter widen(false);
    WidenFilter widenPartly(true);
    SimpleArray<ImageFilter*> chain;
    chain.Add(&widen);
    chain.Add(&widenPartly);

    REQUIRE(image.ApplyFilters(chain));
    std::vector<COLORREF> expected;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 12; ++x)
            expected.push_back(x < 6 ? red : image.GetBackgroundColour());
    CHECK(Describe(ReadColours(image.GetBitmap())) == Describe(expected));
}

TEST_CASE("FillPixels fills exactly width x height pixels")
{
    const SIZE sizes[] = {{1, 1}, {3, 5}, {7, 1}, {1, 7}, {5, 3}, {4, 4}};
    struct Case { COLORREF colour; BYTE blue, green, red, reserved; };
    const Case cases[] = {{0x123456, 0x12, 0x34, 0x56, 0},
                          {0xFFFFFF, 0xFF, 0xFF, 0xFF, 0xFF},
                          {0xFFFFFFFF, 0xFF, 0xFF, 0xFF, 0xFF},
                          {0, 0, 0, 0, 0}};
    for (const SIZE& size : sizes) {
        for (const Case& c : cases) {
            CAPTURE(size.cx);
            CAPTURE(size.cy);
            CAPTURE(c.colour);
            const int count = size.cx * size.cy;
            std::vector<Pixel> buffer(count + 3);
            memset(static_cast<void*>(buffer.data()), 0xA5, buffer.size() * sizeof(Pixel));
            REQUIRE(FillPixels(buffer.data(), size.cx, size.cy, c.colour));
            int wrong = 0;
            for (int i = 0; i < count; ++i) {
                const Pixel& p = buffer[i];
                wrong += p.blue != c.blue || p.green != c.green || p.red != c.red || p.reserved != c.reserved;
            }
            CHECK(wrong == 0);
            for (size_t i = count; i < buffer.size(); ++i)
                CHECK(memcmp(&buffer[i], "\xA5\xA5\xA5\xA5", 4) == 0);
        }
    }
    Pixel untouched;
    CHECK_FALSE(FillPixels(nullptr, 2, 2, 0x123456));
    CHECK_FALSE(FillPixels(&untouched, -1, 1, 0x123456));
    CHECK(FillPixels(&untouched, 0, 5, 0x123456));
    CHECK(untouched.red == 0);
}

TEST_CASE("LightnessFilter lowers, clamps and passes mask pixels whole")
{
    LightnessFilter darken(TRUE, kMagenta, -0.5f);
    Pixel source[4];
    source[0].red = source[0].green = source[0].blue = 10;
    // black already at the bound; magenta with a reserved byte that must survive
    source[2].red = 255; source[2].blue = 255; source[2].reserved = 0x7F;
    source[3].red = 200; source[3].green = 50; source[3].blue = 50;
    Pixel destination[4];
    for (Pixel& p : destination)
        p.reserved = 0xEE;
    REQUIRE(darken.Apply(source, 2, 2, destination, 2, 2));
    CHECK((destination[0].red == 0 && destination[0].green == 0 && destination[0].blue == 0));
    CHECK((destination[1].red == 0 && destination[1].green == 0 && destination[1].blue == 0));
    CHECK(memcmp(&destination[2], &source[2], sizeof(Pixel)) == 0);
    CHECK(destination[3].reserved == 0xEE);
    CHECK_FALSE(darken.Apply(source, 2, 2, destination, 4, 1));
}

TEST_CASE("HLS conversion")
{
    SUBCASE("RGB to HLS and back loses at most one step per component, greys nothing")
    {
        int worse = 0;
        for (int r = 0; r < 256; ++r)
            for (int g = 0; g < 256; g += 3)
                for (int b = 0; b < 256; b += 5) {
                    HlsColour colour(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b));
                    colour.ToHls();
                    colour.SetLightness(colour.GetLightness());
                    colour.ToRgb();
                    const int dr = r - colour.GetRed(), dg = g - colour.GetGreen(), db = b - colour.GetBlue();
                    worse += dr < 0 || dr > 1 || dg < 0 || dg > 1 || db < 0 || db > 1;
                }
        CHECK(worse == 0);
        for (int v = 0; v < 256; ++v) {
            HlsColour grey(static_cast<BYTE>(v), static_cast<BYTE>(v), static_cast<BYTE>(v));
            grey.ToHls();
            grey.SetLightness(grey.GetLightness());
            grey.ToRgb();
            CHECK(grey.GetSaturation() == 0.0f);
            CHECK((grey.GetRed() == v && grey.GetGreen() == v && grey.GetBlue() == v));
        }
    }
    SUBCASE("a red with green equal to blue has hue 360")
    {
        HlsColour colour(200, 50, 50);
        colour.ToHls();
        CHECK(colour.GetHue() == 360.0f);
        HlsColour back = HlsColour::FromHls(360.0f, colour.GetLightness(), colour.GetSaturation());
        back.ToRgb();
        CHECK(back.GetRed() == 200);
        CHECK(back.GetGreen() == back.GetBlue());
    }
    SUBCASE("HueToValue wraps the hue once")
    {
        CHECK(HlsColour::HueToValue(0.0f, 1.0f, 390.0f) == HlsColour::HueToValue(0.0f, 1.0f, 30.0f));
        CHECK(HlsColour::HueToValue(0.0f, 1.0f, -200.0f) == 255);
        CHECK(HlsColour::HueToValue(0.0f, 1.0f, -30.0f) == 0);
    }
}
