// The picture banner on a static control of a real window, with the program's JPEG resources.
#include <doctest.h>

#include <windows.h>
#include <objbase.h>
#include <olectl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "controls/PictureBanner.h"
#include "res/resource.h"
#include "support/BitmapPixels.h"
#include "support/ComApartment.h"
#include "support/ScreenPixels.h"
#include "support/TestParent.h"

using testing::BitmapPixels;

namespace {

const testing::ComApartment apartment;

constexpr COLORREF marker = RGB(10, 200, 30);
const char garbage[] = "This is no picture at all, only some text that no decoder accepts.";

// A static control at (12, 20) of a window, with a banner attached.
struct BannerFixture {
    explicit BannerFixture(int width = 100, int height = 30)
    {
        control = parent.AddChild("STATIC", "", 0, 12, 20, width, height, 1003);
        REQUIRE(banner.SubclassWindow(control));
    }

    SIZE Size() const
    {
        RECT rect;
        GetWindowRect(control, &rect);
        return {rect.right - rect.left, rect.bottom - rect.top};
    }

    BOOL LoadGarbage()
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(garbage));
        std::memcpy(GlobalLock(block), garbage, sizeof(garbage));
        GlobalUnlock(block);
        const BOOL loaded = banner.LoadFromGlobal(block, sizeof(garbage));
        GlobalFree(block);
        return loaded;
    }

    COLORREF Shown(int x, int y) const
    {
        HDC dc = GetDC(control);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(control, dc);
        return colour;
    }

    // Paints over the control without going through its window procedure.
    void Cover()
    {
        RECT client;
        GetClientRect(control, &client);
        HDC dc = GetDC(control);
        HBRUSH brush = CreateSolidBrush(marker);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        ReleaseDC(control, dc);
        REQUIRE(Shown(2, 2) == marker);
    }

    // Declared first, so destroyed last: the window goes before the object it calls.
    PictureBanner banner;
    testing::TestParent parent{10, 480, 800, 200};  // room for a banner at twice its size
    HWND control = nullptr;
};

// The JPEG resource as the system's picture service decodes it, without the banner.
BitmapPixels Decoded(UINT resource)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(resource), RT_JPEG);
    REQUIRE(found != nullptr);
    const DWORD size = SizeofResource(nullptr, found);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), LockResource(LoadResource(nullptr, found)), size);
    GlobalUnlock(block);
    IStream* stream = nullptr;
    REQUIRE(CreateStreamOnHGlobal(block, TRUE, &stream) == S_OK);
    IPicture* picture = nullptr;
    REQUIRE(OleLoadPicture(stream, size, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)) == S_OK);
    stream->Release();
    OLE_HANDLE handle = 0;
    REQUIRE(picture->get_Handle(&handle) == S_OK);
    const BitmapPixels pixels = BitmapPixels::Read(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
    REQUIRE_FALSE(pixels.Bits().empty());
    picture->Release();
    return pixels;
}

// What the control shows on the screen.
BitmapPixels Shown(HWND control)
{
    return testing::ScreenPixels(control).Pixels();
}

} // namespace

TEST_CASE("the banner takes the picture's size and keeps its top left corner")
{
    struct Case { UINT resource; int templateWidth, templateHeight; LONG width, height; };
    for (const Case& c : {Case{IDR_BANNER_MAIN, 100, 30, 370, 60}, Case{IDR_BANNER_ABOUT, 500, 100, 398, 53}}) {
        CAPTURE(c.resource);
        BannerFixture fixture(c.templateWidth, c.templateHeight);
        REQUIRE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(c.resource), RT_JPEG));
        RECT placed;
        GetWindowRect(fixture.control, &placed);
        MapWindowPoints(nullptr, fixture.parent.hWnd, reinterpret_cast<POINT*>(&placed), 2);
        CHECK(placed.left == 12);
        CHECK(placed.top == 20);
        CHECK(fixture.Size().cx == c.width);
        CHECK(fixture.Size().cy == c.height);
        CHECK(fixture.banner.RenderPicture());

        // Upright: the top and bottom rows on the screen are those of the picture.
        UpdateWindow(fixture.control);
        const BitmapPixels decoded = Decoded(c.resource);
        const BitmapPixels shown = Shown(fixture.control);
        REQUIRE(decoded.Height() == c.height);
        REQUIRE(shown.Height() == c.height);
        REQUIRE(decoded.Row(0) != decoded.Row(c.height - 1));
        CHECK(shown.Row(0) == decoded.Row(0));
        CHECK(shown.Row(c.height - 1) == decoded.Row(c.height - 1));
    }
}

TEST_CASE("a banner that cannot load keeps its template size and shows nothing")
{
    BannerFixture fixture(100, 30);
    SUBCASE("missing resource") { CHECK_FALSE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(999), RT_JPEG)); }
    SUBCASE("undecodable bytes") { CHECK_FALSE(fixture.LoadGarbage()); }
    CHECK_FALSE(fixture.banner.HasPicture());
    CHECK(fixture.Size().cx == 100);
    CHECK(fixture.Size().cy == 30);
    CHECK_FALSE(fixture.banner.RenderPicture());
    fixture.Cover();
    InvalidateRect(fixture.control, nullptr, FALSE);
    UpdateWindow(fixture.control);
    CHECK(fixture.Shown(5, 5) == marker);
}

TEST_CASE("a later load replaces the picture; a paint without update region draws nothing")
{
    BannerFixture fixture;
    REQUIRE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(IDR_BANNER_ABOUT), RT_JPEG));
    REQUIRE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(IDR_BANNER_MAIN), RT_JPEG));
    CHECK(fixture.banner.GetPictureSize().cx == 370);
    CHECK(fixture.banner.GetPictureSize().cy == 60);
    CHECK(fixture.Size().cx == 370);

    REQUIRE(fixture.banner.RenderPicture());
    UpdateWindow(fixture.control);
    fixture.Cover();
    RECT update;
    REQUIRE_FALSE(GetUpdateRect(fixture.control, &update, FALSE));
    CHECK(SendMessageA(fixture.control, WM_PAINT, 0, 0) == 0);
    CHECK(fixture.Shown(6, 3) == marker);

    // Data that does not decode empties the banner.
    CHECK_FALSE(fixture.LoadGarbage());
    CHECK_FALSE(fixture.banner.HasPicture());
    CHECK_FALSE(fixture.banner.IsSurfaceReady());
    CHECK_FALSE(fixture.banner.RenderPicture());
}

TEST_CASE("a scaled banner draws from the smallest source at least its size")
{
    struct Case { const char* what; UINT doubled; int numerator, denominator; LONG width, height; UINT exactSource; };
    const Case cases[] = {
        {"at its own size: the picture's very pixels", IDR_BANNER_MAIN_2X, 1, 1, 370, 60, IDR_BANNER_MAIN},
        {"at twice the size: the double's very pixels", IDR_BANNER_MAIN_2X, 2, 1, 740, 120, IDR_BANNER_MAIN_2X},
        {"at 150%: the double, shrunk", IDR_BANNER_MAIN_2X, 3, 2, 555, 90, 0},
        {"without a double: the picture, enlarged", 999, 3, 2, 555, 90, 0},
    };
    for (const Case& c : cases) {
        CAPTURE(c.what);
        BannerFixture fixture;
        REQUIRE(fixture.banner.LoadScaled(MAKEINTRESOURCEA(IDR_BANNER_MAIN), MAKEINTRESOURCEA(c.doubled), RT_JPEG,
                                          c.numerator, c.denominator));
        CHECK(fixture.Size().cx == c.width);
        CHECK(fixture.Size().cy == c.height);
        REQUIRE(fixture.banner.RenderPicture());
        UpdateWindow(fixture.control);
        const BitmapPixels shown = Shown(fixture.control);
        REQUIRE(shown.Width() == c.width);
        if (c.exactSource != 0) {
            const BitmapPixels decoded = Decoded(c.exactSource);
            CHECK(shown.Colours() == decoded.Colours());
            continue;
        }
        // Against the double sampled at the middle of each pixel's area: a
        // resized picture stays close everywhere; one cut off or shifted does not.
        const BitmapPixels doubled = Decoded(IDR_BANNER_MAIN_2X);
        long long difference = 0;
        for (int y = 0; y < shown.Height(); ++y)
            for (int x = 0; x < shown.Width(); ++x) {
                const COLORREF a = shown.At(x, y);
                const COLORREF b = doubled.At((2 * x + 1) * doubled.Width() / (2 * shown.Width()),
                                              (2 * y + 1) * doubled.Height() / (2 * shown.Height()));
                for (int shift : {0, 8, 16})
                    difference += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
            }
        CHECK(difference / (3LL * shown.Width() * shown.Height()) < 12);
    }
}
