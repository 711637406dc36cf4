// The hyperlink label: colour text, tagged text, the browser's colour values
// in the prefix's registry, and a label on a real window opening addresses
// through the shell (tests/support/shell-log).
#include <doctest.h>

#include <windows.h>
#include <commctrl.h>
#include <sddl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "controls/HyperlinkLabel.h"
#include "controls/LinkColors.h"
#include "controls/TaggedText.h"
#include "support/ShellLog.h"
#include "support/UserInput.h"
#include "tests/controls/TestParent.h"

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

// A label on a static control of a window.
struct LinkFixture {
    explicit LinkFixture(DWORD linkStyle = 0, const char* text = "Click to visit our web site")
        : label(linkStyle)
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&init);
        window = parent.AddChild("STATIC", text, SS_CENTER | WS_TABSTOP, 0, 20, 400, 16, 100);
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
    HWND window = nullptr;
    POINT onLink = {};
    POINT beside = {};
};

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
    testing::PumpFor(1500);
    for (const std::string& entry : log.Entries())
        CHECK(entry != address);

    fixture.Click(fixture.onLink, fixture.onLink);
    CHECK(fixture.label.IsVisited());
    CHECK(log.WaitFor(address));
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
    CHECK(testing::WaitUntil([&] {
        const std::vector<std::string> entries = log.Entries();
        return std::count(entries.begin(), entries.end(), target) == 2;
    }, 8000));
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
