#include <doctest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "HyperlinkTestSupport.h"
#include "controls/HyperlinkLabel.h"

namespace {

const COLORREF linkBlue = RGB(0, 0, 255);
const COLORREF visitedPurple = RGB(128, 0, 128);

struct Fixture {
    Fixture()
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&init);
        hand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
        arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    }
    HCURSOR hand;
    HCURSOR arrow;
};

// The cursor the user sees with the pointer at a client point, after the
// pointer moved there and the window was asked for its cursor.
HCURSOR CursorAt(HWND window, int x, int y)
{
    const POINT screen = ToScreen(window, x, y);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageA(window, WM_MOUSEMOVE, 0, ClientPoint(x, y));
    ::SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
}

void Click(HWND window, POINT down, POINT up)
{
    ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(down.x, down.y));
    ::SendMessageA(window, WM_LBUTTONUP, 0, ClientPoint(up.x, up.y));
}

POINT Centre(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::string ToolText(HWND tip, HWND owner)
{
    char text[256] = {};
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = 1;
    tool.lpszText = text;
    ::SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

RECT ToolRect(HWND tip, HWND owner)
{
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = owner;
    tool.uId = 1;
    ::SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
    return tool.rect;
}

void Repaint(HWND window)
{
    ::InvalidateRect(window, nullptr, TRUE);
    ::UpdateWindow(window);
}

LOGFONTA FontOf(HFONT font)
{
    LOGFONTA info = {};
    ::GetObjectA(font, sizeof info, &info);
    return info;
}

} // namespace

TEST_CASE_FIXTURE(Fixture, "only the text of a centred wide static is the link")
{
    ClearShellLog();
    HyperlinkLabel label;
    TestDialog dialog({{100, SS_CENTER, 0, 20, 259, 8, "Click to visit our web site"}});
    HWND window = dialog.Item(100);
    REQUIRE(label.SubclassWindow(window));
    const std::string address = UniqueAddress("http://zonarium.test/centre-");
    label.SetLinkText(address.c_str());
    label.SetLinkTarget(address.c_str());

    RECT client;
    ::GetClientRect(window, &client);
    const RECT link = label.GetLinkRect();
    CHECK(link.left > 40);
    CHECK(std::abs(link.left - (client.right - link.right)) <= 1);
    const POINT onLink = Centre(link);
    const POINT leftOfLink = {link.left / 2, onLink.y};
    const POINT rightOfLink = {(link.right + client.right) / 2, onLink.y};

    CHECK(CursorAt(window, onLink.x, onLink.y) == hand);
    CHECK(CursorAt(window, leftOfLink.x, leftOfLink.y) == arrow);
    CHECK(CursorAt(window, rightOfLink.x, rightOfLink.y) == arrow);

    Repaint(window);
    const ClientPixels before(window);
    CHECK(before.Count(linkBlue, link) > 0);
    CHECK(before.Count(linkBlue) == before.Count(linkBlue, link));

    SUBCASE("pressed on the link and released beside it, or the other way round: nothing opens")
    {
        ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(onLink.x, onLink.y));
        CHECK(::GetCapture() == window);
        CHECK(::GetFocus() == window);
        ::SendMessageA(window, WM_LBUTTONUP, 0, ClientPoint(rightOfLink.x, rightOfLink.y));
        CHECK(::GetCapture() == nullptr);
        Click(window, onLink, {-5, -5});
        Click(window, leftOfLink, onLink);
        Click(window, rightOfLink, rightOfLink);
        CHECK(::GetCapture() == nullptr);
        CHECK_FALSE(label.IsVisited());
        Pump(1500);
        CHECK(ReadShellLog().empty());
    }
    SUBCASE("a click opens the target and the link turns to the visited colour")
    {
        Click(window, onLink, onLink);
        CHECK(label.IsVisited());
        CHECK(WaitForShellLog(address));
        ::UpdateWindow(window);
        const ClientPixels after(window);
        CHECK(after.Count(visitedPurple, link) > 0);
        CHECK(after.Count(linkBlue) == 0);
    }
}

TEST_CASE_FIXTURE(Fixture, "one tooltip tool follows the latest target and text")
{
    HyperlinkLabel label;
    TestDialog dialog({{100, SS_CENTER, 0, 20, 259, 8, "Click to send us e-mail"}});
    HWND window = dialog.Item(100);
    REQUIRE(label.SubclassWindow(window));
    HWND tip = label.GetTipWindow();
    REQUIRE(::IsWindow(tip));
    CHECK(ToolText(tip, window) == "Click to send us e-mail");

    label.SetLinkText("support@zonarium.test");
    label.SetLinkTarget("mailto:support@zonarium.test");
    CHECK(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) == 1);
    CHECK(ToolText(tip, window) == "mailto:support@zonarium.test");
    RECT toolRect = ToolRect(tip, window);
    CHECK(::EqualRect(&toolRect, &label.GetLinkRect()));

    label.SetLinkText("a much longer text than the address was");
    CHECK(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) == 1);
    toolRect = ToolRect(tip, window);
    CHECK(::EqualRect(&toolRect, &label.GetLinkRect()));
}

TEST_CASE_FIXTURE(Fixture, "carriage return and space open a focused link; mail addresses go to the shell too")
{
    ClearShellLog();
    HyperlinkLabel label;
    TestDialog dialog({{100, SS_CENTER, 0, 20, 259, 8, "Click to send us e-mail"}});
    HWND window = dialog.Item(100);
    REQUIRE(label.SubclassWindow(window));
    const std::string target = UniqueAddress("mailto:support-") + "@zonarium.test";
    label.SetLinkText(target.c_str() + 7);
    label.SetLinkTarget(target.c_str());
    CHECK(::SendMessageA(window, WM_GETDLGCODE, 0, 0) == DLGC_WANTCHARS);

    ::SetFocus(window);
    ::SendMessageA(window, WM_CHAR, 'x', 0);
    CHECK_FALSE(label.IsVisited());
    ::SendMessageA(window, WM_CHAR, '\r', 0);
    CHECK(label.IsVisited());
    ::SendMessageA(window, WM_CHAR, ' ', 0);
    REQUIRE(WaitForShellLog(target));
    Pump(500);
    int opened = 0;
    for (const std::string& line : ReadShellLog())
        opened += line == target;
    CHECK(opened == 2);
}

TEST_CASE_FIXTURE(Fixture, "notify and command styles tell the parent and mark nothing visited")
{
    ClearShellLog();
    HyperlinkLabel notify(LINK_NOTIFY);
    HyperlinkLabel command(LINK_COMMAND);
    HyperlinkLabel halfNotify(0x08);
    TestDialog dialog({{100, SS_LEFT, 4, 4, 200, 8, "Notify me"},
                       {101, SS_LEFT, 4, 16, 200, 8, "Command me"},
                       {102, SS_LEFT, 4, 28, 200, 8, "Only the 0x08 bit"}});
    REQUIRE(notify.SubclassWindow(dialog.Item(100)));
    REQUIRE(command.SubclassWindow(dialog.Item(101)));
    REQUIRE(halfNotify.SubclassWindow(dialog.Item(102)));
    const std::string address = UniqueAddress("http://zonarium.test/half-notify-");
    halfNotify.SetLinkTarget(address.c_str());

    // A command link has no target, yet its text reacts.
    const POINT onCommand = Centre(command.GetLinkRect());
    CHECK(CursorAt(command, onCommand.x, onCommand.y) == hand);

    Click(notify, Centre(notify.GetLinkRect()), Centre(notify.GetLinkRect()));
    REQUIRE(parentLog.notifications.size() == 1);
    CHECK(parentLog.notifications[0].hwndFrom == notify.hWnd);
    CHECK(parentLog.notifications[0].idFrom == 100);
    CHECK(parentLog.notifications[0].code == static_cast<UINT>(NM_CLICK));
    CHECK(parentLog.commands.empty());

    Click(command, onCommand, onCommand);
    REQUIRE(parentLog.commands.size() == 1);
    CHECK(parentLog.commands[0].first == MAKEWPARAM(101, BN_CLICKED));
    CHECK(parentLog.commands[0].second == reinterpret_cast<LPARAM>(command.hWnd));
    CHECK_FALSE(notify.IsVisited());
    CHECK_FALSE(command.IsVisited());

    // Notification needs both bits: 0x08 alone opens the target.
    Click(halfNotify, Centre(halfNotify.GetLinkRect()), Centre(halfNotify.GetLinkRect()));
    CHECK(parentLog.notifications.size() == 1);
    CHECK(WaitForShellLog(address));
}

TEST_CASE_FIXTURE(Fixture, "picture, frame and rectangle statics paint themselves; all of them is the link")
{
    ClearShellLog();
    HyperlinkLabel picture;
    HyperlinkLabel frame;
    HyperlinkLabel right;
    HyperlinkLabel etched;
    TestDialog dialog({{100, SS_BITMAP | SS_REALSIZECONTROL, 4, 4, 60, 20, ""},
                       {101, SS_BLACKFRAME, 80, 4, 60, 20, ""},
                       {102, SS_RIGHT, 4, 30, 200, 8, "Right"},
                       {103, SS_ETCHEDHORZ, 4, 42, 200, 2, ""}});
    REQUIRE(picture.SubclassWindow(dialog.Item(100)));
    REQUIRE(frame.SubclassWindow(dialog.Item(101)));
    REQUIRE(right.SubclassWindow(dialog.Item(102)));
    REQUIRE(etched.SubclassWindow(dialog.Item(103)));
    CHECK_FALSE(picture.PaintsText());
    CHECK_FALSE(frame.PaintsText());
    CHECK(right.PaintsText());
    CHECK(etched.PaintsText());
    CHECK(picture.GetLinkFont() == nullptr);
    CHECK(::SendMessageA(picture, WM_GETFONT, 0, 0) == 0);
    CHECK((::GetWindowLongA(picture, GWL_STYLE) & SS_NOTIFY) != 0);

    RECT client;
    ::GetClientRect(right, &client);
    CHECK(right.GetLinkRect().right == client.right);

    const std::string address = UniqueAddress("http://zonarium.test/picture-");
    picture.SetLinkTarget(address.c_str());
    ::GetClientRect(picture, &client);
    CHECK(::EqualRect(&picture.GetLinkRect(), &client));
    Click(picture, {1, 1}, {client.right - 1, client.bottom - 1});
    CHECK(picture.IsVisited());
    CHECK(WaitForShellLog(address));
}

TEST_CASE_FIXTURE(Fixture, "a disabled link is grey and text set from outside is not painted")
{
    HyperlinkLabel plain;
    HyperlinkLabel tagged(LINK_TAGGED);
    TestDialog dialog({{100, SS_LEFT, 4, 4, 200, 8, "http://zonarium.test/disabled"},
                       {101, SS_LEFT, 4, 16, 200, 8, "Before <a>link</a> after"}});
    REQUIRE(plain.SubclassWindow(dialog.Item(100)));
    REQUIRE(tagged.SubclassWindow(dialog.Item(101)));
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);

    Repaint(plain);
    const ClientPixels enabled(plain);
    ::SetWindowTextA(plain, "Something else entirely");
    ::UpdateWindow(plain);
    char windowText[64];
    ::GetWindowTextA(plain, windowText, sizeof windowText);
    CHECK(std::string(windowText) == "Something else entirely");
    CHECK(ClientPixels(plain) == enabled);

    ::EnableWindow(plain, FALSE);
    ::EnableWindow(tagged, FALSE);
    const ClientPixels disabled(plain);
    CHECK(disabled.Count(grey) > 0);
    CHECK(disabled.Count(linkBlue) == 0);

    const ClientPixels taggedPixels(tagged);
    const RECT link = tagged.GetLinkRect();
    const RECT beforeLink = {0, 0, link.left, link.bottom};
    CHECK(taggedPixels.Count(grey, link) > 0);
    CHECK(taggedPixels.Count(text, beforeLink) > 0);
    CHECK(taggedPixels.Count(grey, beforeLink) == 0);
}

TEST_CASE_FIXTURE(Fixture, "tagged text: only the tagged words are the link")
{
    HyperlinkLabel tagged(LINK_TAGGED);
    HyperlinkLabel untagged(LINK_TAGGED);
    TestDialog dialog({{100, SS_CENTER, 4, 4, 240, 8, "Visit our <a>web site</a> today"},
                       {101, SS_LEFT, 4, 16, 240, 8, "No tags here"}});
    REQUIRE(tagged.SubclassWindow(dialog.Item(100)));
    REQUIRE(untagged.SubclassWindow(dialog.Item(101)));

    const RECT link = tagged.GetLinkRect();
    CHECK(link.left > 20);
    CHECK(link.top == 0);
    CHECK(CursorAt(tagged, link.left / 2, 3) == arrow);
    CHECK(CursorAt(tagged, (link.left + link.right) / 2, 3) == hand);
    CHECK(CursorAt(tagged, link.right + 10, 3) == arrow);

    Repaint(tagged);
    const ClientPixels pixels(tagged);
    CHECK(pixels.Count(linkBlue, link) > 0);
    CHECK(pixels.Count(linkBlue) == pixels.Count(linkBlue, link));
    CHECK(pixels.Count(::GetSysColor(COLOR_WINDOWTEXT)) > 0);

    // Without an opening tag nothing is drawn and nothing reacts.
    Repaint(untagged);
    const ClientPixels empty(untagged);
    CHECK(empty.Count(empty.At(0, 0)) == empty.width * empty.height);
    CHECK(::IsRectEmpty(&untagged.GetLinkRect()));
}

TEST_CASE_FIXTURE(Fixture, "the link font follows the style bits; bold and notify need both of their bits")
{
    const DWORD styles[] = {0, LINK_TAGGEDBOLD, 0x20, LINK_PLAIN};
    HyperlinkLabel labels[] = {HyperlinkLabel(styles[0]), HyperlinkLabel(styles[1]), HyperlinkLabel(styles[2]),
                               HyperlinkLabel(styles[3])};
    TestDialog dialog({{100, SS_LEFT, 4, 4, 200, 8, "a"},
                       {101, SS_LEFT, 4, 14, 200, 8, "<a>b</a>"},
                       {102, SS_LEFT, 4, 24, 200, 8, "c"},
                       {103, SS_LEFT, 4, 34, 200, 8, "d"}});
    for (int i = 0; i < 4; ++i)
        REQUIRE(labels[i].SubclassWindow(dialog.Item(100 + i)));
    const LOGFONTA normal = FontOf(reinterpret_cast<HFONT>(::SendMessageA(dialog.hWnd, WM_GETFONT, 0, 0)));
    const LOGFONTA underlined = FontOf(labels[0].GetLinkFont());
    const LOGFONTA bold = FontOf(labels[1].GetLinkFont());
    const LOGFONTA halfBold = FontOf(labels[2].GetLinkFont());
    const LOGFONTA plain = FontOf(labels[3].GetLinkFont());

    CHECK((underlined.lfUnderline && underlined.lfWeight == normal.lfWeight));
    CHECK((bold.lfWeight == FW_BOLD && !bold.lfUnderline));
    CHECK((halfBold.lfUnderline && halfBold.lfWeight == normal.lfWeight));
    CHECK((!plain.lfUnderline && plain.lfHeight == normal.lfHeight));
    CHECK(std::string(plain.lfFaceName) == normal.lfFaceName);
}

TEST_CASE_FIXTURE(Fixture, "a new normal font repaints at once only when asked to")
{
    HyperlinkLabel label(LINK_TAGGED);
    TestDialog dialog({{100, SS_LEFT, 4, 4, 240, 20, "Before <a>link</a> after"}});
    HWND window = dialog.Item(100);
    REQUIRE(label.SubclassWindow(window));
    const RECT link = label.GetLinkRect();
    HFONT big = ::CreateFontA(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HFONT small = ::CreateFontA(-6, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    Repaint(window);
    const ClientPixels before(window);

    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(big), FALSE);
    CHECK(ClientPixels(window) == before);
    CHECK(::SendMessageA(window, WM_GETFONT, 0, 0) == reinterpret_cast<LRESULT>(big));

    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(small), TRUE);
    CHECK_FALSE(::GetUpdateRect(window, nullptr, FALSE));
    const ClientPixels after(window);
    const RECT beforeLink = {0, 0, link.left, link.bottom};
    CHECK(after.Count(::GetSysColor(COLOR_WINDOWTEXT), beforeLink)
          != before.Count(::GetSysColor(COLOR_WINDOWTEXT), beforeLink));
    CHECK(::EqualRect(&label.GetLinkRect(), &link));

    ::DestroyWindow(dialog.hWnd);
    ::DeleteObject(big);
    ::DeleteObject(small);
}

TEST_CASE_FIXTURE(Fixture, "an underline-on-hover link underlines while the pointer is over it")
{
    HyperlinkLabel label(LINK_HOVERUNDERLINE);
    TestDialog dialog({{100, SS_LEFT, 4, 4, 240, 10, "http://zonarium.test/hover"}});
    HWND window = dialog.Item(100);
    REQUIRE(label.SubclassWindow(window));
    const POINT onLink = Centre(label.GetLinkRect());
    Repaint(window);
    const int plain = ClientPixels(window).Count(linkBlue);

    ::SendMessageA(window, WM_MOUSEMOVE, 0, ClientPoint(onLink.x, onLink.y));
    const int hovered = ClientPixels(window).Count(linkBlue);
    CHECK(hovered > plain);
    ::SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    CHECK(ClientPixels(window).Count(linkBlue) == plain);
}

namespace {

int relayedEvents = 0;
WNDPROC tipProcedure = nullptr;

LRESULT CALLBACK CountingTipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TTM_RELAYEVENT)
        ++relayedEvents;
    return ::CallWindowProcA(tipProcedure, window, message, wParam, lParam);
}

int RelayedMouseMessages(HyperlinkLabel& label)
{
    HWND tip = label.GetTipWindow();
    tipProcedure = reinterpret_cast<WNDPROC>(
        ::SetWindowLongA(tip, GWL_WNDPROC, reinterpret_cast<LONG>(CountingTipProc)));
    relayedEvents = 0;
    const POINT onLink = Centre(label.GetLinkRect());
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MOUSEWHEEL})
        ::SendMessageA(label, message, 0, ClientPoint(onLink.x, onLink.y));
    ::SetWindowLongA(tip, GWL_WNDPROC, reinterpret_cast<LONG>(tipProcedure));
    return relayedEvents;
}

} // namespace

TEST_CASE_FIXTURE(Fixture, "a link without tip relays no mouse message to its tooltip")
{
    HyperlinkLabel noTip(LINK_NOTIP | LINK_COMMAND);
    HyperlinkLabel withTip(LINK_COMMAND);
    TestDialog dialog({{100, SS_LEFT, 4, 4, 200, 8, "no tip"}, {101, SS_LEFT, 4, 16, 200, 8, "tip"}});
    REQUIRE(noTip.SubclassWindow(dialog.Item(100)));
    REQUIRE(withTip.SubclassWindow(dialog.Item(101)));
    CHECK(::IsWindow(noTip.GetTipWindow()));
    CHECK(RelayedMouseMessages(noTip) == 0);
    CHECK(RelayedMouseMessages(withTip) == 5);
}

TEST_CASE_FIXTURE(Fixture, "a label without text or target opens nothing")
{
    HyperlinkLabel label;
    TestDialog dialog({{100, SS_LEFT, 4, 4, 200, 8, ""}});
    REQUIRE(label.SubclassWindow(dialog.Item(100)));
    CHECK_FALSE(label.Activate());
    ::SendMessageA(label, WM_CHAR, ' ', 0);
    CHECK_FALSE(label.IsVisited());
}
