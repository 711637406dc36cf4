// The picture banner on a static control of a real window, with the program's JPEG resources.
#include <doctest.h>

#include <windows.h>
#include <objbase.h>

#include <cstring>

#include "controls/PictureBanner.h"
#include "res/resource.h"
#include "tests/controls/TestParent.h"

namespace {

struct ComApartment {
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
};
const ComApartment apartment;

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
    TestParent parent{10, 480, 520, 200};
    HWND control = nullptr;
};

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
