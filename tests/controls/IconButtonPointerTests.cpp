// Hover driven by the real pointer: entering the button sets hover and
// repaints it, and the leave notification the button asks for clears it.
#include <doctest.h>

#include <windows.h>
#include <commctrl.h>

#include "controls/IconButton.h"
#include "res/resource.h"
#include "tests/controls/TestParent.h"

TEST_CASE("the pointer entering and leaving the button sets and clears hover")
{
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&init);
    // Declared first, so destroyed last: the window goes before the object it calls.
    IconButton button;
    TestParent parent(600, 40, 300, 100);
    HWND window = parent.AddChild("BUTTON", "Exit", BS_PUSHBUTTON, 10, 10, 160, 26, 2);
    REQUIRE(button.SubclassWindow(window));
    button.LoadImages(IDB_EXIT, RGB(255, 0, 255));
    REQUIRE(button.IsThemed());

    RECT onScreen;
    GetWindowRect(window, &onScreen);
    SetCursorPos(onScreen.left - 100, onScreen.bottom + 100);
    PumpMessages(100);
    REQUIRE_FALSE(button.IsHover());

    TestParent::drawRequests = 0;
    SetCursorPos(onScreen.left + 30, onScreen.top + 10);
    CHECK(PumpUntil([&] { return button.IsHover() != FALSE; }));
    CHECK(TestParent::drawRequests > 0);

    TestParent::drawRequests = 0;
    SetCursorPos(onScreen.left - 100, onScreen.bottom + 100);
    CHECK(PumpUntil([&] { return button.IsHover() == FALSE; }));
    CHECK(TestParent::drawRequests > 0);
}
