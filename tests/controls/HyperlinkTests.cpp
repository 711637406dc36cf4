// The hyperlink label: colour text, tagged text, the browser's colour values
// in the prefix's registry, what a label on a real window paints (read back
// from the screen), and links opening addresses through the shell
// (tests/support/shell-log).
#include <doctest.h>

#include <windows.h>
#include <commctrl.h>
#include <sddl.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/GdiScope.h"
#include "controls/HyperlinkLabel.h"
#include "framework/DialogDpi.h"
#include "controls/LinkColors.h"
#include "controls/LinkContrast.h"
#include "controls/TaggedText.h"
#include "support/MessageSpy.h"
#include "support/ScreenPixels.h"
#include "support/ShellLog.h"
#include "support/TestParent.h"
#include "support/UserInput.h"

using testing::TestParent;

namespace {

// Places text so that its terminator is the last readable byte before a page
// that faults on access: any read past the terminator ends the test run.
class GuardedText {
public:
    explicit GuardedText(const std::string& text)
    {
        SYSTEM_INFO system;
        ::GetSystemInfo(&system);
        const SIZE_T page = system.dwPageSize;
        const SIZE_T pages = (text.size() + 1 + page - 1) / page + 1;
        base = static_cast<char*>(::VirtualAlloc(nullptr, pages * page, MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        ::VirtualProtect(base + (pages - 1) * page, page, PAGE_NOACCESS, &old);
        start = base + (pages - 1) * page - (text.size() + 1);
        std::memcpy(start, text.c_str(), text.size() + 1);
    }
    ~GuardedText() { ::VirtualFree(base, 0, MEM_RELEASE); }
    const char* c_str() const { return start; }

private:
    char* base;
    char* start;
};

std::string Part(const char* text, int count)
{
    return text == nullptr ? std::string("(none)") : std::string(text, count);
}

const char* const settingsKey = "Software\\Microsoft\\Internet Explorer\\Settings";
const COLORREF defaultLink = RGB(0, 0, 255);
const COLORREF defaultVisited = RGB(128, 0, 128);

// The key's colour values, removed before and after.
struct ColourValues {
    ColourValues()
    {
        ::RegCreateKeyExA(HKEY_CURRENT_USER, settingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        Clear();
    }
    ~ColourValues()
    {
        Clear();
        ::RegCloseKey(key);
    }
    void Clear()
    {
        for (const char* name : {"Anchor Color", "Anchor Color Visited"})
            ::RegDeleteValueA(key, name);
    }
    void Write(const char* name, DWORD type, const void* data, DWORD bytes)
    {
        REQUIRE(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS);
    }
    void String(const char* name, const std::string& text) { Write(name, REG_SZ, text.c_str(), text.size() + 1); }

    HKEY key = nullptr;
};

COLORREF ReadLink()
{
    COLORREF link = defaultLink;
    COLORREF visited = defaultVisited;
    ReadLinkColors(link, visited);
    return link;
}

const HCURSOR hand = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
const HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));

// The parent's answer to WM_CTLCOLORSTATIC leaves this text colour in the DC:
// the colour of the text that is not the link, on the fixture's parentBrush
// (the button face's while NULL).
const COLORREF plainColour = RGB(0, 96, 0);
const HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));

// A label on a static control of a window, attached while the static shows.
struct LinkFixture {
    explicit LinkFixture(DWORD linkStyle = 0, const char* text = "Click to visit our web site",
                         DWORD staticStyle = SS_CENTER | WS_TABSTOP)
        : label(linkStyle)
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&init);
        window = parent.AddChild("STATIC", text, staticStyle, 0, 20, 400, 16, 100);
        ::UpdateWindow(window);
        REQUIRE(label.SubclassWindow(window));
        const RECT& link = label.GetLinkRect();
        onLink = {(link.left + link.right) / 2, (link.top + link.bottom) / 2};
        beside = {link.left / 2, onLink.y};
    }

    HCURSOR CursorAt(POINT point)
    {
        POINT screen = point;
        ::ClientToScreen(window, &screen);
        ::SetCursorPos(screen.x, screen.y);
        ::SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
        ::SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    }

    void Click(POINT down, POINT up)
    {
        ::SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
        ::SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    }

    // Declared first, so destroyed last: the window goes before the object it calls.
    HyperlinkLabel label;
    TestParent parent{40, 40, 420, 80};
    HBRUSH parentBrush = nullptr;
    const testing::MessageSpy plainText{parent.hWnd, [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_CTLCOLORSTATIC)
            return false;
        ::SetTextColor(reinterpret_cast<HDC>(wParam), plainColour);
        result = reinterpret_cast<LRESULT>(parentBrush != nullptr ? parentBrush : ::GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }};
    HWND window = nullptr;
    POINT onLink = {};
    POINT beside = {};
};

// The paint tests' browser colours. On Wine's default button face (245,245,245) the link's reads (5.9:1), the
// visited one (3.0:1) and the hot-tracking colour (224,224,224) do not; on black the visited one reads (6.5:1).
const COLORREF registryLink = RGB(192, 0, 0);
const COLORREF registryVisited = RGB(0, 160, 160);

struct PaintColours : ColourValues {
    PaintColours()
    {
        String("Anchor Color", "192,0,0");
        String("Anchor Color Visited", "0,160,160");
    }
};

const char* const taggedText = "Visit our <a>web site</a> today";
const std::string visitedAddress = "http://zonarium.test/visited-" + std::to_string(::GetCurrentProcessId());

void Visit(LinkFixture& fixture)
{
    fixture.label.SetLinkTarget(visitedAddress.c_str());
    REQUIRE(fixture.label.Activate());
}

// Where the link must be, from the text's extent in the label's font, measured
// here: one line at the top of the static, centred, or after the words before
// it when tagged (taggedText, on the left).
RECT MeasuredLink(HWND window, const char* text, bool tagged)
{
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    const std::string before = tagged ? "Visit our " : "";
    const std::string link = tagged ? "web site" : text;
    SIZE beforeSize = {};
    SIZE linkSize = {};
    const HDC dc = ::CreateCompatibleDC(nullptr);
    {
        const SelectedObject selected(dc, font);
        ::GetTextExtentPoint32A(dc, before.c_str(), static_cast<int>(before.size()), &beforeSize);
        ::GetTextExtentPoint32A(dc, link.c_str(), static_cast<int>(link.size()), &linkSize);
    }
    ::DeleteDC(dc);
    RECT client;
    ::GetClientRect(window, &client);
    const LONG left = tagged ? beforeSize.cx : (client.right - linkSize.cx) / 2;
    return {left, 0, left + linkSize.cx, linkSize.cy};
}

bool Inside(const RECT& inner, const RECT& outer)
{
    RECT both;
    ::UnionRect(&both, &inner, &outer);
    return ::EqualRect(&both, &outer) != FALSE;
}

} // namespace

TEST_CASE("colour text gives red, green and blue cut to 8 bits, and reads no further than its terminator")
{
    const std::string huge(5000, '9');
    struct Case { std::string text; COLORREF colour; };
    const Case cases[] = {
        {"0,128,255", RGB(0, 128, 255)}, {"300,0,0", RGB(44, 0, 0)},   {"-2,0,0", RGB(254, 0, 0)},
        {"0,0,-1", RGB(0, 0, 255)},      {" 1, +2 ,3x", RGB(1, 2, 3)}, {",,7", RGB(0, 0, 7)},
        {"1,2,3,4", RGB(1, 2, 3)},       {"1,2, ", RGB(1, 2, 0)},      {"a,b,c", RGB(0, 0, 0)},
        {"+,-,+", RGB(0, 0, 0)},         {"\x81\x82,\xFF,\x80", RGB(0, 0, 0)},
        {"", CLR_INVALID},               {"0,128", CLR_INVALID},       {"0,128,", CLR_INVALID},
        {"-1,0,0", CLR_INVALID},         {"0,-1,0", CLR_INVALID},      {",", CLR_INVALID},
        {"-", CLR_INVALID},              {"+,-,", CLR_INVALID},        {std::string(100000, '9'), CLR_INVALID},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        GuardedText guarded(c.text);
        CHECK(ParseColorText(guarded.c_str()) == c.colour);
    }
    // Numbers far beyond int neither overflow into -1 nor run past the text.
    for (const std::string& text : {huge + "," + huge + "," + huge, "-" + huge + ",0,0", "1,2,-" + huge,
                                    std::string(100000, ',')}) {
        GuardedText guarded(text);
        CHECK(ParseColorText(guarded.c_str()) != CLR_INVALID);
    }
    CHECK(ParseColorText(nullptr) == CLR_INVALID);
}

TEST_CASE("contrast is the lighter colour's relative luminance plus 0.05 over the darker's, either way round")
{
    const struct { COLORREF first, second; double ratio; } cases[] = {
        {RGB(255, 255, 255), RGB(0, 0, 0), 21}, {RGB(0, 0, 0), RGB(255, 255, 255), 21}, {RGB(0, 0, 255), RGB(0, 0, 0), 2.444},
        {RGB(119, 119, 119), RGB(255, 255, 255), 4.478}, {RGB(10, 10, 10), RGB(0, 0, 0), 1.061}};
    for (const auto& c : cases)
        CHECK(ContrastRatio(c.first, c.second) == doctest::Approx(c.ratio).epsilon(0.001));
}

TEST_CASE("tagged text splits into the words before, the link and the words after")
{
    struct Case { const char* text; const char* before; const char* link; const char* after; };
    const Case cases[] = {
        {"Visit our <a>web site</a> today", "Visit our ", "web site", " today"},
        {"<A>here</A>", "(none)", "here", "(none)"},
        {"plain text</a> and <b>", "(none)", "(none)", "(none)"},
        {"go <a>there", "go ", "", "(none)"},
        {"<a>one</a> <a>two</a>", "(none)", "one", " <a>two</a>"},
        // Tags cut off by the end of the text: no link (before and link unchecked).
        {"x<A", nullptr, nullptr, "(none)"},
        {"<a>b</", nullptr, nullptr, "(none)"},
        {"<a>b</a", nullptr, nullptr, "(none)"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.text);
        GuardedText text(c.text);
        const TaggedParts parts = SplitTaggedText(text.c_str());
        if (c.before != nullptr)
            CHECK(Part(parts.before, parts.beforeCount) == c.before);
        if (c.link != nullptr)
            CHECK(Part(parts.link, parts.linkCount) == c.link);
        else
            CHECK(parts.linkCount == 0);
        CHECK(Part(parts.after, parts.afterCount) == c.after);
    }
}

TEST_CASE("link colours come from the browser settings; values of the wrong kind leave the defaults")
{
    ColourValues values;
    values.String("Anchor Color", "0,128,255");
    values.String("Anchor Color Visited", "300,0,0");
    COLORREF link = defaultLink;
    COLORREF visited = defaultVisited;
    ReadLinkColors(link, visited);
    CHECK(link == RGB(0, 128, 255));
    CHECK(visited == RGB(44, 0, 0));

    const DWORD number = RGB(0, 128, 255);
    const char text[] = "0,128,255";
    // The byte after the counted ones must not be NUL, or the registry counts it in.
    const char unterminated[] = "0,128,255!";
    const std::string tooLong = "0,128,255" + std::string(5000, ' ');
    SUBCASE("DWORD") { values.Write("Anchor Color", REG_DWORD, &number, sizeof number); }
    SUBCASE("binary") { values.Write("Anchor Color", REG_BINARY, text, sizeof text); }
    SUBCASE("no terminator") { values.Write("Anchor Color", REG_SZ, unterminated, sizeof unterminated - 2); }
    SUBCASE("twelve characters") { values.String("Anchor Color", " 0,128,255  "); }
    SUBCASE("far too long") { values.String("Anchor Color", tooLong); }
    CHECK(ReadLink() == defaultLink);
}

TEST_CASE("a user who may only read the browser settings still gets their colours")
{
    ColourValues values;
    values.String("Anchor Color", "10,20,30");
    const HKEY key = values.key;
    alignas(8) BYTE original[1024];
    DWORD size = sizeof original;
    REQUIRE(::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, original, &size) == ERROR_SUCCESS);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    REQUIRE(::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                   nullptr));
    REQUIRE(::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS);
    ::LocalFree(readOnly);

    HKEY probe;
    const LONG writable = ::RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, KEY_READ | KEY_WRITE, &probe);
    const COLORREF link = ReadLink();
    ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, original);
    CHECK(writable == ERROR_ACCESS_DENIED);
    CHECK(link == RGB(10, 20, 30));
}

TEST_CASE("only the text of a wide static is the link, and only a click on it opens the target")
{
    const std::string address = "http://zonarium.test/centre-" + std::to_string(::GetCurrentProcessId());
    LinkFixture fixture(0, address.c_str());
    fixture.label.SetLinkTarget(address.c_str());
    CHECK(fixture.label.GetLinkRect().left > 40);
    CHECK(fixture.CursorAt(fixture.onLink) == hand);
    CHECK(fixture.CursorAt(fixture.beside) == arrow);

    testing::ShellLog log;
    fixture.Click(fixture.onLink, fixture.beside);
    fixture.Click(fixture.beside, fixture.onLink);
    CHECK(::GetCapture() == nullptr);
    CHECK_FALSE(fixture.label.IsVisited());

    // The click on the link is the fence: an open started by a click beside
    // it would have started earlier, so it is in the log by the time this one is.
    fixture.Click(fixture.onLink, fixture.onLink);
    CHECK(fixture.label.IsVisited());
    REQUIRE(log.WaitFor(address));
    CHECK(log.Count(address) == 1);
}

TEST_CASE("carriage return and space open a focused link")
{
    LinkFixture fixture;
    const std::string target = "mailto:support-" + std::to_string(::GetCurrentProcessId()) + "@zonarium.test";
    fixture.label.SetLinkTarget(target.c_str());
    testing::ShellLog log;
    ::SetFocus(fixture.window);
    ::SendMessageA(fixture.window, WM_CHAR, 'x', 0);
    CHECK_FALSE(fixture.label.IsVisited());
    ::SendMessageA(fixture.window, WM_CHAR, '\r', 0);
    CHECK(fixture.label.IsVisited());
    ::SendMessageA(fixture.window, WM_CHAR, ' ', 0);
    CHECK(testing::WaitUntil([&] { return log.Count(target) == 2; }, 8000));
}

TEST_CASE("notify and command styles tell the parent and mark nothing visited")
{
    for (DWORD style : {LINK_NOTIFY, LINK_COMMAND}) {
        CAPTURE(style);
        LinkFixture fixture(style, "Tell me");
        CHECK(fixture.CursorAt(fixture.onLink) == hand);
        fixture.Click(fixture.onLink, fixture.onLink);
        if (style == LINK_NOTIFY) {
            REQUIRE(TestParent::notifications.size() == 1);
            CHECK(TestParent::notifications[0].idFrom == 100);
            CHECK(TestParent::notifications[0].code == static_cast<UINT>(NM_CLICK));
            CHECK(TestParent::commands.empty());
        } else {
            REQUIRE(TestParent::commands.size() == 1);
            CHECK(TestParent::commands[0] == MAKEWPARAM(100, BN_CLICKED));
        }
        CHECK_FALSE(fixture.label.IsVisited());
    }
}

TEST_CASE("one tooltip tool follows the latest target")
{
    LinkFixture fixture(0, "Click to send us e-mail");
    fixture.label.SetLinkText("support@zonarium.test");
    fixture.label.SetLinkTarget("mailto:support@zonarium.test");
    HWND tip = fixture.label.GetTipWindow();
    CHECK(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) == 1);
    char text[256] = {};
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = fixture.window;
    tool.uId = 1;
    tool.lpszText = text;
    ::SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    CHECK(std::string(text) == "mailto:support@zonarium.test");
}

TEST_CASE("each state paints the link in its colour and font, and only the link reacts to the pointer")
{
    PaintColours colours;
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    using Action = void (*)(LinkFixture&);
    const Action disable = [](LinkFixture& f) { ::EnableWindow(f.window, FALSE); };
    const Action hover = [](LinkFixture& f) { f.CursorAt(f.onLink); };
    struct Row {
        const char* state;
        DWORD style;
        const char* text;
        Action act;
        COLORREF colour;  // the link's, and no other state's colour anywhere
        bool underlined;
        bool plainBeside;  // the text before and after the link in the DC's colour
    };
    const Row rows[] = {
        {"unvisited", 0, nullptr, nullptr, registryLink, true, false},
        {"visited", 0, nullptr, Visit, ::GetSysColor(COLOR_WINDOWTEXT), true, false},
        {"visited, on black", 0, nullptr, [](LinkFixture& f) { f.parentBrush = black; Visit(f); }, registryVisited, true, false},
        {"disabled", 0, nullptr, disable, grey, true, false},
        {"plain", LINK_PLAIN, nullptr, nullptr, registryLink, false, false},
        {"underline on hover, pointer away", LINK_HOVERUNDERLINE, nullptr, nullptr, registryLink, false, false},
        {"underline on hover, pointer over", LINK_HOVERUNDERLINE, nullptr, hover, registryLink, true, false},
        {"underline on hover, pointer gone", LINK_HOVERUNDERLINE, nullptr,
         [](LinkFixture& f) {
             f.CursorAt(f.onLink);
             f.CursorAt(f.beside);
         },
         registryLink, false, false},
        {"tagged", LINK_TAGGED, taggedText, nullptr, registryLink, true, true},
        {"tagged, disabled", LINK_TAGGED, taggedText, disable, grey, true, true},
    };
    for (const Row& row : rows) {
        const std::string state = row.state;
        CAPTURE(state);
        const char* const text = row.text != nullptr ? row.text : "Click to visit our web site";
        LinkFixture fixture(row.style, text, row.text != nullptr ? SS_LEFT : SS_CENTER);
        if (row.act != nullptr)
            row.act(fixture);
        ::UpdateWindow(fixture.window);  // what the message loop paints next
        const testing::ScreenPixels pixels(fixture.window);
        const RECT link = MeasuredLink(fixture.window, text, row.text != nullptr);
        CHECK(::EqualRect(&fixture.label.GetLinkRect(), &link));
        RECT client;
        ::GetClientRect(fixture.window, &client);

        CHECK(pixels.Count(row.colour) > 0);
        CHECK(Inside(pixels.Bounds(row.colour), link));
        for (COLORREF other : {registryLink, registryVisited, grey, defaultLink, defaultVisited})
            if (other != row.colour)
                CHECK(pixels.Count(other) == 0);
        // An underline is a row of the link's colour across most of its width.
        const int underline = (link.right - link.left) * 3 / 4;
        CHECK(pixels.RowsWith(row.colour, link, underline).empty() != row.underlined);
        const RECT before = {client.left, client.top, link.left, client.bottom};
        const RECT after = {link.right, client.top, client.right, client.bottom};
        CHECK((pixels.Count(plainColour, before) > 0) == row.plainBeside);
        CHECK((pixels.Count(plainColour, after) > 0) == row.plainBeside);
        CHECK(pixels.Count(plainColour, link) == 0);

        CHECK(fixture.CursorAt(fixture.onLink) == hand);
        CHECK(fixture.CursorAt(fixture.beside) == arrow);
        CHECK(fixture.CursorAt({link.right + 4, fixture.onLink.y}) == arrow);
    }
}

TEST_CASE("attached to a static already showing, the label paints at once in the user's colours")
{
    PaintColours colours;
    // What attaching painted at once, before the loop paints anything: never the default colour.
    LinkFixture fixture;
    const testing::ScreenPixels attached(fixture.window);
    CHECK(attached.Count(registryLink) > 0);
    CHECK(attached.Count(defaultLink) == 0);
}

TEST_CASE("text given before attaching takes the place of what the static showed")
{
    PaintColours colours;
    HyperlinkLabel early;  // declared first: its window, the fixture's child, goes before it
    LinkFixture fixture;
    const HWND shown = fixture.parent.AddChild("STATIC", "What the static showed", SS_LEFT, 0, 44, 400, 16, 101);
    ::UpdateWindow(shown);
    REQUIRE(testing::ScreenPixels(shown).Count(plainColour) > 0);
    early.SetLinkText("Link");
    REQUIRE(early.SubclassWindow(shown));
    ::UpdateWindow(shown);
    const testing::ScreenPixels now(shown);
    CHECK(now.Count(plainColour) == 0);
    CHECK(now.Count(registryLink) > 0);
}

TEST_CASE("a new font repaints at once where the normal font is drawn; the link keeps its font and place")
{
    PaintColours colours;
    const HFONT small = ::CreateFontA(-9, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0,
                                      "MS Sans Serif");
    REQUIRE(small != nullptr);
    {
        LinkFixture fixture(LINK_TAGGED, taggedText, SS_LEFT);
        ::UpdateWindow(fixture.window);
        const RECT link = fixture.label.GetLinkRect();
        const testing::ScreenPixels old(fixture.window);
        ::SendMessageA(fixture.window, WM_SETFONT, reinterpret_cast<WPARAM>(small), TRUE);
        const testing::ScreenPixels now(fixture.window);  // no paint asked for: it came at once

        const RECT oldPlain = old.Bounds(plainColour), newPlain = now.Bounds(plainColour);
        CHECK(newPlain.bottom - newPlain.top > 0);
        CHECK(newPlain.bottom - newPlain.top < oldPlain.bottom - oldPlain.top);
        const RECT oldLink = old.Bounds(registryLink), newLink = now.Bounds(registryLink);
        CHECK(::EqualRect(&oldLink, &newLink));
        CHECK(now.Count(registryLink) == old.Count(registryLink));
        CHECK(::EqualRect(&fixture.label.GetLinkRect(), &link));
        CHECK(reinterpret_cast<HFONT>(::SendMessageA(fixture.window, WM_GETFONT, 0, 0)) == small);

        // Told of a new DPI, as its dialog's layout tells every control: the
        // link too is in the new font, measured and drawn where that font puts it.
        const DialogScale scale = {1, 1};
        ::SendMessageA(fixture.window, WM_DIALOG_RESCALED, DpiApi::dpiAt100, reinterpret_cast<LPARAM>(&scale));
        ::UpdateWindow(fixture.window);
        const RECT followed = MeasuredLink(fixture.window, taggedText, true);
        CHECK(::EqualRect(&fixture.label.GetLinkRect(), &followed));
        const RECT drawn = testing::ScreenPixels(fixture.window).Bounds(registryLink);
        CHECK(drawn.bottom - drawn.top < oldLink.bottom - oldLink.top);
        CHECK(Inside(drawn, followed));
    }
    ::DeleteObject(small);
}

TEST_CASE("a picture static keeps drawing itself, and all of it is the link")
{
    const COLORREF pictureColour = RGB(0, 160, 224);
    const HDC screen = ::GetDC(nullptr);
    const HBITMAP picture = ::CreateCompatibleBitmap(screen, 24, 24);
    {
        const HDC memory = ::CreateCompatibleDC(screen);
        const HGDIOBJ previous = ::SelectObject(memory, picture);
        const RECT all = {0, 0, 24, 24};
        const HBRUSH brush = ::CreateSolidBrush(pictureColour);
        ::FillRect(memory, &all, brush);
        ::DeleteObject(brush);
        ::SelectObject(memory, previous);
        ::DeleteDC(memory);
    }
    ::ReleaseDC(nullptr, screen);
    {
        LinkFixture fixture(0, "", SS_BITMAP);
        ::SendMessageA(fixture.window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
        fixture.label.SetLinkTarget(visitedAddress.c_str());
        ::RedrawWindow(fixture.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT client;
        ::GetClientRect(fixture.window, &client);
        const testing::ScreenPixels pixels(fixture.window);
        CHECK(client.right * client.bottom > 0);
        CHECK(pixels.Count(pictureColour) == client.right * client.bottom);
        CHECK(fixture.CursorAt({client.left, client.top}) == hand);
        CHECK(fixture.CursorAt({client.right - 1, client.bottom - 1}) == hand);
    }
    ::DeleteObject(picture);
}

TEST_CASE("the tooltip shows over the link, and never with the no-tooltip style, which still makes its tool")
{
    HyperlinkLabel tipped;  // before the fixture, so that its window goes first
    LinkFixture fixture(LINK_NOTIP);
    REQUIRE(tipped.SubclassWindow(fixture.parent.AddChild("STATIC", "Tipped", SS_CENTER, 0, 0, 400, 16, 101)));
    fixture.label.SetLinkTarget(visitedAddress.c_str());
    tipped.SetLinkTarget(visitedAddress.c_str());
    const HWND tip = fixture.label.GetTipWindow();
    REQUIRE(::IsWindow(tip));
    CHECK(::SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0) == 1);
    // A tooltip shows only over the active window unless told otherwise, and
    // the test's window is never activated (Wine keeps activation without a
    // window manager only for a while).
    for (HWND each : {tip, tipped.GetTipWindow()})
        ::SetWindowLongA(each, GWL_STYLE, ::GetWindowLongA(each, GWL_STYLE) | TTS_ALWAYSTIP);

    // The fence: a tooltip of the test's own over the same link, told of the
    // same pointer move, that shows well after the label's would.
    const HWND fence = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, fixture.parent.hWnd, nullptr,
                                         ::GetModuleHandleA(nullptr), nullptr);
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = fixture.window;
    tool.uId = 2;
    tool.rect = fixture.label.GetLinkRect();
    tool.lpszText = const_cast<char*>("fence");
    ::SendMessageA(fence, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    const LRESULT initial = ::SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0);
    ::SendMessageA(fence, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(3 * initial, 0));
    fixture.CursorAt(fixture.onLink);
    MSG move = {fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(fixture.onLink.x, fixture.onLink.y), 0, {0, 0}};
    ::SendMessageA(fence, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    bool shown = false;
    CHECK(testing::WaitUntil([&] {
        shown = shown || ::IsWindowVisible(tip);
        return ::IsWindowVisible(fence) != FALSE;
    }, 10000));
    CHECK_FALSE(shown);

    // The pointer over a link without the style, above (tips show below the
    // pointer, over what would be found there), brings its tip up.
    const RECT& link = tipped.GetLinkRect();
    const POINT over = {(link.left + link.right) / 2, (link.top + link.bottom) / 2};
    POINT screen = over;
    ::ClientToScreen(tipped.hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::SendMessageA(tipped.hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(over.x, over.y));
    CHECK(testing::WaitUntil([&] { return ::IsWindowVisible(tipped.GetTipWindow()) != FALSE; }, 10000));
}
