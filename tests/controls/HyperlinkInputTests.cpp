#include <doctest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "HyperlinkTestSupport.h"
#include "controls/HyperlinkLabel.h"

// Real pointer and keyboard input through the X server (xdotool), as a user
// gives it to the About box's links.

namespace {

std::string At(HWND window, POINT client)
{
    const POINT screen = ToScreen(window, client.x, client.y);
    return std::to_string(screen.x) + " " + std::to_string(screen.y);
}

// Counts the button-up and key-up messages the thread takes from its queue, to
// know when the X server's events have all been handled.
int buttonUps = 0;
int keyUps = 0;

LRESULT CALLBACK CountInput(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        buttonUps += msg->message == WM_LBUTTONUP;
        keyUps += msg->message == WM_KEYUP;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

int Count(const std::string& address)
{
    int count = 0;
    for (const std::string& line : ReadShellLog())
        count += line == address;
    return count;
}

} // namespace

TEST_CASE("a user points at, clicks and types on a centred link")
{
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    const HCURSOR hand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
    const HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    ClearShellLog();
    HHOOK hook = ::SetWindowsHookExA(WH_GETMESSAGE, CountInput, nullptr, ::GetCurrentThreadId());

    HyperlinkLabel webLink;
    TestDialog dialog({{1008, SS_CENTER, 0, 20, 259, 8, "Click to visit our web site"}});
    HWND window = dialog.Item(1008);
    REQUIRE(webLink.SubclassWindow(window));
    const std::string address = UniqueAddress("http://zonarium.test/input-");
    webLink.SetLinkText(address.c_str());
    webLink.SetLinkTarget(address.c_str());

    const RECT link = webLink.GetLinkRect();
    const POINT onLink = {(link.left + link.right) / 2, (link.top + link.bottom) / 2};
    const POINT beside = {link.left / 2, onLink.y};

    REQUIRE(RunXdotool("mousemove " + At(window, beside)));
    CHECK(PumpUntil([&] { return ::GetCursor() == arrow; }));
    REQUIRE(RunXdotool("mousemove " + At(window, onLink)));
    CHECK(PumpUntil([&] { return ::GetCursor() == hand; }));

    // The tooltip shows the target after the pointer rests on the link.
    CHECK(PumpUntil([&] { return ::IsWindowVisible(webLink.GetTipWindow()) != FALSE; }));
    SaveScreenshot("/tmp/zvx-hyperlink-hover.png");

    // Pressed on the link and released beside it, and the other way round.
    REQUIRE(RunXdotool("mousemove " + At(window, onLink) + " mousedown 1 mousemove " + At(window, beside)
                       + " mouseup 1"));
    CHECK(PumpUntil([] { return buttonUps == 1; }));
    CHECK(::GetCapture() == nullptr);
    REQUIRE(RunXdotool("mousemove " + At(window, beside) + " mousedown 1 mousemove " + At(window, onLink)
                       + " mouseup 1"));
    CHECK(PumpUntil([] { return buttonUps == 2; }));
    CHECK_FALSE(webLink.IsVisited());

    REQUIRE(RunXdotool("mousemove " + At(window, onLink) + " click 1"));
    CHECK(PumpUntil([&] { return webLink.IsVisited(); }));
    CHECK(::GetFocus() == window);
    REQUIRE(WaitForShellLog(address));
    Pump(200);
    SaveScreenshot("/tmp/zvx-hyperlink-visited.png");

    // Space opens the focused link again; Enter belongs to the dialog (IDOK).
    parentLog.Clear();
    REQUIRE(RunXdotool("key space"));
    CHECK(PumpUntil([&] { return Count(address) == 2; }, 5000));
    REQUIRE(RunXdotool("key Return"));
    REQUIRE(PumpUntil([] { return keyUps == 2; }));
    REQUIRE(parentLog.commands.size() == 1);
    CHECK(LOWORD(parentLog.commands[0].first) == IDOK);
    Pump(1000);
    CHECK(Count(address) == 2);
    ::UnhookWindowsHookEx(hook);
}
