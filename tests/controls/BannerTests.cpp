// The picture banner on a static control of a real window, loading the
// program's JPEG resources and a small JPEG of known colours.
#include <doctest.h>

#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "controls/PictureBanner.h"
#include "res/resource.h"
#include "tests/controls/QuadrantJpeg.h"
#include "tests/controls/TestParent.h"

namespace {

struct ComApartment {
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
};
const ComApartment apartment;

constexpr COLORREF marker = RGB(10, 200, 30);

// A static control at (12, 20) of a window, with a banner attached.
struct BannerFixture {
    explicit BannerFixture(int width = 100, int height = 30)
    {
        control = parent.AddChild("STATIC", "", 0, 12, 20, width, height, 1003);
        REQUIRE(banner.SubclassWindow(control));
    }

    // The control's rectangle in its parent's client area.
    RECT Placement() const
    {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, parent.hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    BOOL LoadBytes(const void* data, size_t size)
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(block), data, size);
        GlobalUnlock(block);
        const BOOL loaded = banner.LoadFromGlobal(block, static_cast<LONG>(size));
        GlobalFree(block);
        return loaded;
    }

    BOOL LoadQuadrants() { return LoadBytes(quadrantJpeg, sizeof(quadrantJpeg)); }

    // What the user sees of the control.
    COLORREF Shown(int x, int y) const
    {
        HDC dc = GetDC(control);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(control, dc);
        return colour;
    }

    // Paints over the control without going through its window procedure.
    void Cover(COLORREF colour)
    {
        RECT client;
        GetClientRect(control, &client);
        HDC dc = GetDC(control);
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        ReleaseDC(control, dc);
        REQUIRE(Shown(2, 2) == colour);
    }

    void Repaint(const RECT* area = nullptr)
    {
        InvalidateRect(control, area, FALSE);
        UpdateWindow(control);
    }

    void CheckEmpty() const
    {
        CHECK_FALSE(banner.HasPicture());
        CHECK_FALSE(banner.IsSurfaceReady());
        CHECK(banner.GetPictureSize().cx == 0);
        CHECK(banner.GetPictureSize().cy == 0);
    }

    // Declared first, so destroyed last: the window goes before the object it calls.
    PictureBanner banner;
    TestParent parent{10, 480, 520, 200};
    HWND control = nullptr;
};

bool Near(COLORREF shown, COLORREF expected)
{
    return std::abs(GetRValue(shown) - GetRValue(expected)) <= 24
        && std::abs(GetGValue(shown) - GetGValue(expected)) <= 24
        && std::abs(GetBValue(shown) - GetBValue(expected)) <= 24;
}

const char garbage[] = "This is no picture at all, only some text that no decoder accepts.";

} // namespace

TEST_CASE("the banner takes the picture's size and keeps its top left corner")
{
    struct Case {
        UINT resource;
        int templateWidth, templateHeight;
        LONG width, height;
    };
    for (const Case& c : {Case{IDR_BANNER_MAIN, 100, 30, 370, 60}, Case{IDR_BANNER_ABOUT, 500, 100, 398, 53}}) {
        CAPTURE(c.resource);
        BannerFixture fixture(c.templateWidth, c.templateHeight);
        REQUIRE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(c.resource), RT_JPEG));
        const RECT placed = fixture.Placement();
        CHECK(placed.left == 12);
        CHECK(placed.top == 20);
        CHECK(placed.right - placed.left == c.width);
        CHECK(placed.bottom - placed.top == c.height);
        CHECK(fixture.banner.GetPictureSize().cx == c.width);
        CHECK(fixture.banner.GetPictureSize().cy == c.height);
        CHECK(fixture.banner.IsSurfaceReady());
        CHECK(fixture.banner.RenderPicture());
    }
}

TEST_CASE("a banner that cannot load keeps its template size and shows nothing")
{
    BannerFixture fixture(100, 30);
    SUBCASE("missing resource") { CHECK_FALSE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(999), RT_JPEG)); }
    SUBCASE("a resource that is no picture")
    {
        CHECK_FALSE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)));
    }
    SUBCASE("undecodable bytes") { CHECK_FALSE(fixture.LoadBytes(garbage, sizeof(garbage))); }

    fixture.CheckEmpty();
    const RECT placed = fixture.Placement();
    CHECK(placed.right - placed.left == 100);
    CHECK(placed.bottom - placed.top == 30);
    CHECK_FALSE(fixture.banner.RenderPicture());

    fixture.Cover(marker);
    fixture.Repaint();
    CHECK(fixture.Shown(5, 5) == marker);
}

TEST_CASE("a later load replaces the picture, and a failed one leaves the banner empty")
{
    BannerFixture fixture;
    REQUIRE(fixture.LoadQuadrants());
    CHECK(fixture.banner.GetPictureSize().cx == 48);
    CHECK(fixture.banner.GetPictureSize().cy == 24);

    REQUIRE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(IDR_BANNER_MAIN), RT_JPEG));
    CHECK(fixture.banner.GetPictureSize().cx == 370);
    CHECK(fixture.banner.GetPictureSize().cy == 60);

    // A resource that is not there changes nothing.
    CHECK_FALSE(fixture.banner.LoadFromResource(MAKEINTRESOURCEA(999), RT_JPEG));
    CHECK(fixture.banner.HasPicture());
    CHECK(fixture.banner.GetPictureSize().cx == 370);

    // Data that does not decode has already cleared the banner.
    CHECK_FALSE(fixture.LoadBytes(garbage, sizeof(garbage)));
    fixture.CheckEmpty();
    CHECK_FALSE(fixture.banner.RenderPicture());
    const RECT placed = fixture.Placement();
    CHECK(placed.right - placed.left == 370);
    CHECK(placed.bottom - placed.top == 60);
}

TEST_CASE("rendering invalidates only when there is a picture to draw")
{
    BannerFixture fixture;
    RECT update;
    ValidateRect(fixture.control, nullptr);
    CHECK_FALSE(fixture.banner.RenderPicture());
    CHECK_FALSE(GetUpdateRect(fixture.control, &update, FALSE));

    REQUIRE(fixture.LoadQuadrants());
    ValidateRect(fixture.control, nullptr);
    CHECK(fixture.banner.RenderPicture());
    CHECK(GetUpdateRect(fixture.control, &update, FALSE));
}

TEST_CASE("painting shows the picture")
{
    BannerFixture fixture;
    REQUIRE(fixture.LoadQuadrants());

    SUBCASE("drawn: the picture upright, from the control's top left corner")
    {
        REQUIRE(fixture.banner.RenderPicture());
        UpdateWindow(fixture.control);
        CHECK(Near(fixture.Shown(6, 3), RGB(255, 0, 0)));
        CHECK(Near(fixture.Shown(42, 3), RGB(0, 0, 255)));
        CHECK(Near(fixture.Shown(6, 20), RGB(0, 255, 0)));
        CHECK(Near(fixture.Shown(42, 20), RGB(255, 255, 255)));

        // A small update region gets its part of the whole picture, nothing else.
        fixture.Cover(marker);
        const RECT corner = {36, 14, 46, 22};
        fixture.Repaint(&corner);
        CHECK(Near(fixture.Shown(40, 18), RGB(255, 255, 255)));
        CHECK(fixture.Shown(6, 3) == marker);
    }

    SUBCASE("never drawn: the surface shows the menu colour")
    {
        fixture.Repaint();
        CHECK(fixture.Shown(6, 3) == GetSysColor(COLOR_MENU));
        CHECK(fixture.Shown(42, 20) == GetSysColor(COLOR_MENU));
    }

    SUBCASE("a paint message without update region draws nothing")
    {
        REQUIRE(fixture.banner.RenderPicture());
        UpdateWindow(fixture.control);
        fixture.Cover(marker);
        RECT update;
        REQUIRE_FALSE(GetUpdateRect(fixture.control, &update, FALSE));
        CHECK(SendMessageA(fixture.control, WM_PAINT, 0, 0) == 0);
        CHECK(fixture.Shown(6, 3) == marker);
    }
}
