// The operations of Window with logic of their own, on real windows.
#include <doctest.h>

#include <string>

#include "TestWindows.h"
#include "framework/AppModule.h"
#include "framework/Window.h"

namespace {

RECT WorkArea()
{
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

POINT TopLeft(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    POINT corner = {rect.left, rect.top};
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        ScreenToClient(GetParent(window), &corner);
    return corner;
}

// Centres a 200 x 100 popup owned by owner (or by nobody) and returns where it went.
POINT CenterOwned(HWND owner, int width = 200, int height = 100)
{
    HWND popup = CreateHost(0, 0, width, height, owner, WS_POPUP);
    Window window(popup);
    CHECK(window.CenterWindow());
    const POINT corner = TopLeft(popup);
    DestroyWindow(popup);
    return corner;
}

void CheckAt(POINT corner, int x, int y)
{
    CHECK(corner.x == x);
    CHECK(corner.y == y);
}

} // namespace

TEST_CASE("a top-level window centres on its visible owner")
{
    HWND owner = CreateHost(100, 100, 400, 300);
    CheckAt(CenterOwned(owner), 200, 200);

    HWND other = CreateHost(300, 200, 100, 100);
    HWND popup = CreateHost(0, 0, 50, 40, owner, WS_POPUP);
    Window window(popup);
    CHECK(window.CenterWindow(other));
    CheckAt(TopLeft(popup), 325, 230);

    DestroyWindow(other);
    DestroyWindow(owner);
}

TEST_CASE("a top-level window centres on the work area without a usable owner")
{
    const RECT area = WorkArea();
    const int x = (area.left + area.right) / 2 - 100;
    const int y = (area.top + area.bottom) / 2 - 50;

    CheckAt(CenterOwned(nullptr), x, y);

    HWND hidden = CreateHost(100, 100, 400, 300, nullptr, WS_POPUP);
    CheckAt(CenterOwned(hidden), x, y);
    DestroyWindow(hidden);

    HWND minimised = CreateHost(100, 100, 400, 300);
    ShowWindow(minimised, SW_SHOWMINNOACTIVE);
    REQUIRE(IsIconic(minimised));
    CheckAt(CenterOwned(minimised), x, y);
    DestroyWindow(minimised);
}

TEST_CASE("a top-level window is kept inside the work area")
{
    const RECT area = WorkArea();
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;

    // Too large: the top left corner wins.
    CheckAt(CenterOwned(nullptr, areaWidth + 100, areaHeight + 60), area.left, area.top);

    HWND nearEnd = CreateHost(area.right - 100, area.bottom - 80, 300, 200);
    CheckAt(CenterOwned(nearEnd), area.right - 200, area.bottom - 100);
    DestroyWindow(nearEnd);

    HWND nearStart = CreateHost(area.left - 250, area.top - 250, 300, 200);
    CheckAt(CenterOwned(nearStart), area.left, area.top);
    DestroyWindow(nearStart);
}

TEST_CASE("a child window centres in its parent's client area")
{
    HWND parent = CreateHost(50, 50, 300, 200);
    HWND child = CreateChild("STATIC", parent, 0, 0, 50, 20, 1);
    Window window(child);

    CHECK(window.CenterWindow());
    CheckAt(TopLeft(child), 125, 90);

    // On a sibling: its client rectangle (here narrowed by a scroll bar) in
    // the parent's coordinates.
    HWND sibling = CreateChild("STATIC", parent, 200, 100, 100, 60, 2, WS_CHILD | WS_VISIBLE | WS_VSCROLL);
    RECT client;
    GetClientRect(sibling, &client);
    REQUIRE(client.right < 100);
    CHECK(window.CenterWindow(sibling));
    CheckAt(TopLeft(child), (200 + 200 + client.right) / 2 - 25, 120);
    SetWindowPos(sibling, nullptr, 280, 10, 100, 60, SWP_NOZORDER | SWP_NOACTIVATE);
    CHECK(window.CenterWindow(sibling));
    CheckAt(TopLeft(child), 250, 30);

    HWND wide = CreateChild("STATIC", parent, 0, 0, 400, 50, 3);
    CHECK(Window(wide).CenterWindow());
    CheckAt(TopLeft(wide), 0, 75);

    DestroyWindow(parent);
}

TEST_CASE("ModifyStyle writes only a style that changes")
{
    HWND host = CreateHost(0, 0, 100, 100);
    Window window(host);
    const DWORD style = window.GetStyle();
    hostLog.Reset();

    CHECK_FALSE(window.ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED));
    CHECK_FALSE(window.ModifyStyle(0, WS_VISIBLE | WS_POPUP, SWP_FRAMECHANGED));
    CHECK_FALSE(window.ModifyStyle(WS_DISABLED, WS_VISIBLE));
    CHECK(hostLog.styleChanging == 0);
    CHECK(hostLog.positionChanging == 0);
    CHECK(window.GetStyle() == style);

    CHECK(window.ModifyStyle(0, WS_BORDER));
    CHECK(window.GetStyle() == (style | WS_BORDER));
    CHECK(hostLog.styleChanging == 1);
    CHECK(hostLog.positionChanging == 0);

    CHECK(window.ModifyStyle(WS_BORDER, WS_DISABLED, SWP_FRAMECHANGED));
    CHECK(window.GetStyle() == (style | WS_DISABLED));
    CHECK(hostLog.styleChanging == 2);
    CHECK(hostLog.frameChanges == 1);

    DestroyWindow(host);
}

TEST_CASE("Create places the window by its rectangle and keeps the handle")
{
    HWND parent = CreateHost(0, 0, 300, 200);
    Window window;
    const RECT rect = {10, 20, 110, 50};
    HWND made = window.Create("STATIC", parent, &rect, "made", WS_CHILD | WS_VISIBLE, 0, reinterpret_cast<HMENU>(7));
    REQUIRE(made != nullptr);
    CHECK(window.hWnd == made);
    CheckAt(TopLeft(made), 10, 20);
    RECT bounds;
    GetWindowRect(made, &bounds);
    CHECK(bounds.right - bounds.left == 100);
    CHECK(bounds.bottom - bounds.top == 30);
    CHECK(window.GetDlgCtrlID() == 7);
    char text[16] = "";
    window.GetWindowTextA(text, sizeof text);
    CHECK(std::string(text) == "made");
    CHECK(reinterpret_cast<HINSTANCE>(GetWindowLongA(made, GWL_HINSTANCE)) == appModule.GetInstance());

    // Without a rectangle the system chooses; the window stays hidden.
    Window chosen;
    REQUIRE(chosen.Create("STATIC", nullptr, nullptr, "chosen", WS_OVERLAPPEDWINDOW) != nullptr);
    chosen.GetWindowRect(&bounds);
    CHECK(bounds.right > bounds.left);
    CHECK(bounds.bottom > bounds.top);
    chosen.DestroyWindow();
    DestroyWindow(parent);
}
