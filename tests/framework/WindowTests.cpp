// The operations of Window with logic of their own, on real windows.
#include <doctest.h>

#include "framework/Window.h"
#include "support/TestWindows.h"

using namespace testing;

namespace {

POINT TopLeft(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

// Centres a popup owned by owner (or by nobody) and returns where it went.
POINT CenterOwned(HWND owner, int width = 200, int height = 100)
{
    HWND popup = CreateHost(0, 0, width, height, owner, WS_POPUP);
    CHECK(Window(popup).CenterWindow());
    const POINT corner = TopLeft(popup);
    DestroyWindow(popup);
    return corner;
}

void CheckAt(POINT corner, LONG x, LONG y)
{
    CHECK(corner.x == x);
    CHECK(corner.y == y);
}

} // namespace

TEST_CASE("a top-level window centres on its visible owner, else on the work area, and stays inside it")
{
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const LONG x = (area.left + area.right) / 2 - 100;
    const LONG y = (area.top + area.bottom) / 2 - 50;

    HWND owner = CreateHost(100, 100, 400, 300);
    CheckAt(CenterOwned(owner), 200, 200);
    DestroyWindow(owner);

    CheckAt(CenterOwned(nullptr), x, y);
    HWND hidden = CreateHost(100, 100, 400, 300, nullptr, WS_POPUP);
    CheckAt(CenterOwned(hidden), x, y);
    DestroyWindow(hidden);
    HWND minimised = CreateHost(100, 100, 400, 300);
    ShowWindow(minimised, SW_SHOWMINNOACTIVE);
    REQUIRE(IsIconic(minimised));
    CheckAt(CenterOwned(minimised), x, y);
    DestroyWindow(minimised);

    // Too large: the top left corner wins.
    CheckAt(CenterOwned(nullptr, area.right - area.left + 100, area.bottom - area.top + 60), area.left, area.top);
    HWND nearEnd = CreateHost(area.right - 100, area.bottom - 80, 300, 200);
    CheckAt(CenterOwned(nearEnd), area.right - 200, area.bottom - 100);
    DestroyWindow(nearEnd);
    HWND nearStart = CreateHost(area.left - 250, area.top - 250, 300, 200);
    CheckAt(CenterOwned(nearStart), area.left, area.top);
    DestroyWindow(nearStart);
}

TEST_CASE("ModifyStyle writes only a style that changes")
{
    HWND host = CreateHost(0, 0, 100, 100);
    Window window(host);
    const DWORD style = window.GetStyle();
    probeLog.Reset();

    CHECK_FALSE(window.ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED));
    CHECK_FALSE(window.ModifyStyle(0, WS_VISIBLE | WS_POPUP, SWP_FRAMECHANGED));
    CHECK(probeLog.styleChanging == 0);
    CHECK(probeLog.frameChanges == 0);

    CHECK(window.ModifyStyle(WS_BORDER, WS_DISABLED, SWP_FRAMECHANGED));
    CHECK(window.GetStyle() == (style | WS_DISABLED));
    CHECK(probeLog.styleChanging == 1);
    CHECK(probeLog.frameChanges == 1);
    DestroyWindow(host);
}
