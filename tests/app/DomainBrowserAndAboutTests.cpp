#include <doctest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "controls/LinkContrast.h"
#include "framework/DpiApi.h"
#include "framework/Reflection.h"
#include "res/AppLinks.h"
#include "res/resource.h"
#include "support/BitmapPixels.h"
#include "support/ExitIcon.h"
#include "support/MessageSpy.h"
#include "support/RecordOf.h"
#include "support/RunningDialog.h"
#include "support/ScreenPixels.h"
#include "support/ShellCalls.h"
#include "support/ShellLog.h"
#include "support/UserInput.h"
#include "support/WindowContents.h"

using testing::RunningDialog;
using testing::WindowText;

namespace {

// The commands that reach the main dialog, as (id, code): what the lists
// notify, seen as they send it.
HWND commandTarget = nullptr;
std::vector<std::pair<int, int>> commands;
LRESULT CALLBACK CommandSpy(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && call->hwnd == commandTarget && call->message == WM_COMMAND)
        commands.emplace_back(LOWORD(call->wParam), HIWORD(call->wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Steps run one per timer tick while the modal About box runs its own loop,
// so that the input they send is handled by that loop as a user's would be.
struct ModalScript {
    static ModalScript* active;
    std::vector<std::function<void(HWND)>> steps;
    size_t next = 0;
    HWND about = nullptr;
    int closeCommand = 0;
    bool busy = false;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalScript* script = active;
        // A step that waits pumps messages, and with them further ticks. The
        // box may be active before it is shown.
        if (script == nullptr || script->busy || WindowText(GetActiveWindow()) != "About"
            || !IsWindowVisible(GetActiveWindow()))
            return;
        script->about = GetActiveWindow();
        if (script->next < script->steps.size()) {
            script->busy = true;
            script->steps[script->next++](script->about);
            script->busy = false;
        }
    }
    // The dialog manager sends the command that ends the box (Enter, Escape).
    static LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code >= 0 && active != nullptr && call->message == WM_COMMAND && call->hwnd == active->about
            && active->closeCommand == 0)
            active->closeCommand = LOWORD(call->wParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // Waits as the box's own loop would, its dialog manager seeing each
    // message first: what a step sends with the keyboard is handled there.
    bool WaitUntil(const std::function<bool()>& condition) const
    {
        return testing::WaitUntil(condition, 5000, [this](MSG& msg) { return IsDialogMessageA(about, &msg) != FALSE; });
    }

    // Opens the About box, with a click on its button unless open says
    // otherwise, and runs the steps inside it; returns when the box has
    // closed, true when every step ran.
    bool Run(RunningDialog& running, const std::function<void()>& open = nullptr)
    {
        active = this;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
        const UINT_PTR timer = SetTimer(nullptr, 0, 200, Tick);
        if (open)
            open();
        else
            running.ClickButton(ID_APP_ABOUT);
        running.WaitUntil([&] { return about != nullptr && !IsWindow(about); }, 30000);
        KillTimer(nullptr, timer);
        UnhookWindowsHookEx(hook);
        active = nullptr;
        return next == steps.size();
    }
};
ModalScript* ModalScript::active = nullptr;

// Whether any pixel of the control, as on screen once pending paints are done, has the colour.
bool ShowsColour(HWND control, COLORREF colour)
{
    UpdateWindow(control);
    return testing::ScreenPixels(control).Count(colour) > 0;
}

const COLORREF unvisited = RGB(0, 0, 255);
const COLORREF visited = RGB(128, 0, 128);

// Black high contrast in this process alone while the scope lasts, as a change of scheme sets it.
struct BlackScheme {
    const int elements[6] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HOTLIGHT, COLOR_GRAYTEXT};
    const COLORREF colours[6] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(0, 0, 0),
                                 RGB(255, 255, 0), RGB(0, 255, 255),   RGB(0, 255, 0)};
    COLORREF saved[6] = {};
    BlackScheme() { std::transform(elements, elements + 6, saved, GetSysColor); SetSysColors(6, elements, colours); }
    ~BlackScheme() { SetSysColors(6, elements, saved); }
};

// A banner's width over its dialog's client width, and its width over its
// height, as they are at 100%, where the scale case holds them to the pixel.
struct BannerShape { int id; double share, aspect; };
const BannerShape mainBanner = {IDC_MAIN_BANNER, 370.0 / 369, 370.0 / 60};
const BannerShape aboutBanner = {IDC_ABOUT_BANNER, 398.0 / 389, 398.0 / 53};

// The icon size each display scale asks for: 100%, 125%, 150%, 200%.
int IconSizeFor(UINT dpi)
{
    const std::pair<UINT, int> sizes[] = {{96, 16}, {120, 20}, {144, 24}, {192, 32}};
    for (const auto& size : sizes)
        if (size.first == dpi)
            return size.second;
    FAIL("no icon size known for ", dpi, " DPI");
    return 0;
}

// The window's big and small icons (WM_GETICON) are the true-colour images,
// partly transparent at the globe's rim (the 16-colour ones come with no alpha
// at all), at the sizes the system gives for dpi.
void CheckWindowIcons(HWND window, UINT dpi)
{
    using ForDpi = int(WINAPI*)(int, UINT);
    const ForDpi metric = reinterpret_cast<ForDpi>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetSystemMetricsForDpi")));
    REQUIRE((metric != nullptr));
    const struct { WPARAM kind; int width, height; } icons[] = {{ICON_BIG, SM_CXICON, SM_CYICON},
                                                                {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
    for (const auto& icon : icons) {
        CAPTURE(icon.kind);
        ICONINFO info = {};
        REQUIRE(GetIconInfo(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, icon.kind, 0)), &info));
        const testing::BitmapPixels colour = testing::BitmapPixels::Read(info.hbmColor);
        CHECK_FALSE(colour.Bits().empty());
        CHECK(colour.Width() == metric(icon.width, dpi));
        CHECK(colour.Height() == metric(icon.height, dpi));
        const std::vector<DWORD>& bits = colour.Bits();
        CHECK(std::count_if(bits.begin(), bits.end(), [](DWORD p) { return p >> 24 > 0 && p >> 24 < 255; }) > 0);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

int Brightness(COLORREF colour)
{
    return GetRValue(colour) + GetGValue(colour) + GetBValue(colour);
}

// The banner keeps its share of the dialog and its aspect, and on the screen
// its picture reaches the control's bottom edge: the light rule of the
// picture's last row, under the dark blue of its body.
void CheckBanner(HWND dialog, const BannerShape& expected, double tolerance)
{
    HWND banner = GetDlgItem(dialog, expected.id);
    RECT client, shown;
    GetClientRect(dialog, &client);
    GetClientRect(banner, &shown);
    REQUIRE(shown.bottom > 4);
    MESSAGE("banner ", expected.id, ": ", shown.right, " x ", shown.bottom, " in a client ", client.right,
            " wide: share ", double(shown.right) / client.right, ", aspect ", double(shown.right) / shown.bottom);
    CHECK(double(shown.right) / client.right == doctest::Approx(expected.share).epsilon(tolerance));
    CHECK(double(shown.right) / shown.bottom == doctest::Approx(expected.aspect).epsilon(tolerance));
    UpdateWindow(banner);
    const testing::ScreenPixels pixels(banner);
    const int visible = std::min(shown.right, client.right);
    int lighter = 0;
    for (int x = 0; x < visible; ++x)
        lighter += Brightness(pixels.At(x, shown.bottom - 1)) > Brightness(pixels.At(x, shown.bottom - 4)) + 60;
    CHECK(lighter > visible * 9 / 10);
    const COLORREF body = pixels.At(visible - 2, shown.bottom / 2);
    CHECK(GetBValue(body) > GetRValue(body) + 40);
}

// The Exit icon is iconSize pixels large, its red disc 14/16 of that, and
// the key colour around the disc shows the button's face: no magenta, and
// none of the black that masking leaves in the key's place.
void CheckExitIcon(HWND button, int iconSize)
{
    UpdateWindow(button);
    const testing::ScreenPixels pixels(button);
    RECT disc = pixels.Bounds(testing::IsExitRed);
    MESSAGE("Exit icon's disc: ", disc.right - disc.left, " x ", disc.bottom - disc.top, " pixels");
    CHECK(std::abs((disc.right - disc.left) - 14.0 * iconSize / 16) <= 1.5);
    InflateRect(&disc, 1, 1);
    CHECK(pixels.Count([](COLORREF c) {
        return (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) > 200) || Brightness(c) < 120;
    }, disc) == 0);
}

// The caption right of the icon stays inside the face, on one line.
void CheckCaptionFits(HWND button, int iconSize)
{
    CAPTURE(WindowText(button));
    UpdateWindow(button);
    const testing::ScreenPixels pixels(button);
    RECT client;
    GetClientRect(button, &client);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Right of where the icon ends (22/16 of its size), inside the frame and the focus rectangle.
    const RECT area = {MulDiv(24, iconSize, 16), 5, client.right - 5, client.bottom - 5};
    const RECT ink = pixels.Bounds([face](COLORREF c) { return c != face; }, area);
    REQUIRE(ink.right > ink.left);
    CHECK(ink.left > area.left);
    CHECK(ink.right < area.right);
    TEXTMETRICA metrics = {};
    HDC dc = GetDC(button);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)));
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(button, dc);
    CHECK(ink.bottom - ink.top <= metrics.tmHeight + 1);
}

} // namespace

TEST_CASE("the lists, the visit button and the shell follow real mouse and keyboard input")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    HWND visit = running.Item(IDC_VISIT);
    CHECK(running.ItemCount(IDC_CODE_LIST) == 259);
    CHECK(running.ItemCount(IDC_DESCRIPTION_LIST) == 259);
    CHECK(running.SelectedText(IDC_CODE_LIST) == "ac");
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Ascension Island");
    CHECK(IsWindowEnabled(visit));
    CHECK(GetFocus() == running.Item(IDCANCEL));

    // Availability flips both ways, and the button is redrawn only then; codes
    // and descriptions that begin others find their own row.
    UpdateWindow(visit);  // paints left over from opening are not the point
    // What reaches the button after the program's own subclassing.
    int buttonTexts = 0, buttonPaints = 0;
    const testing::MessageSpy buttonSpy(visit, [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        buttonTexts += message == WM_SETTEXT;
        buttonPaints += message == WM_PAINT;
        return false;
    });
    const struct { bool byCode; const char* code; const char* description; } choices[] = {
        {true, "de", "Germany"},      {true, "bj", "Benin"},        {true, "bv", "Bouvet Island"},
        {true, "bo", "Bolivia"},      {true, "ne", "Niger"},        {false, "ng", "Nigeria"},
        {false, "ne", "Niger"},       {true, "co", "Colombia"},     {true, "com", "Commercial"},
        {false, "gn", "Guinea"},      {false, "dm", "Dominica"},
    };
    bool wasAvailable = true;
    for (const auto& choice : choices) {
        CAPTURE(choice.code);
        const int texts = buttonTexts, paints = buttonPaints;
        CHECK(running.ClickItem(choice.byCode ? IDC_CODE_LIST : IDC_DESCRIPTION_LIST,
                                choice.byCode ? choice.code : choice.description));
        UpdateWindow(visit);  // a repaint the choice asked for, if any
        CHECK(running.SelectedText(IDC_CODE_LIST) == choice.code);
        CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == choice.description);
        const bool available = RecordOf(choice.code).registrarUrl[0] != '\0';
        CHECK(IsWindowEnabled(visit) == available);
        CHECK(WindowText(visit) == (available ? "Visit site of domain registrar"
                                        : "Information about domain registrar is unavailable"));
        CHECK(buttonTexts - texts == (available != wasAvailable));
        CHECK((buttonPaints > paints) == (available != wasAvailable));
        wasAvailable = available;
    }

    // Both United Kingdom rows end on uk; gb selects the first of them.
    const int first = testing::FindItem(running.Item(IDC_DESCRIPTION_LIST), "United Kingdom");
    REQUIRE(first >= 0);
    CHECK(running.ClickItem(IDC_DESCRIPTION_LIST, first + 1));
    CHECK(running.SelectedText(IDC_CODE_LIST) == "uk");
    CHECK(running.ClickItem(IDC_DESCRIPTION_LIST, first));
    CHECK(running.SelectedText(IDC_CODE_LIST) == "uk");
    CHECK(running.ClickItem(IDC_CODE_LIST, "gb"));
    CHECK(SendMessageA(running.Item(IDC_DESCRIPTION_LIST), LB_GETCURSEL, 0, 0) == first);

    CHECK(running.ClickItem(IDC_CODE_LIST, "ac"));
    testing::PressKey(VK_DOWN);
    CHECK(running.WaitUntil([&] { return running.SelectedText(IDC_CODE_LIST) == "ad"; }));
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Andorra");
    testing::TypeText("n");
    CHECK(running.WaitUntil([&] { return running.SelectedText(IDC_CODE_LIST) == "na"; }));
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Namibia");

    // Visit hands a web address and a mail address to the shell: clicked, and
    // by Enter with the focus from that click, and from Tab.
    for (const char* code : {"de", "mg"}) {
        CAPTURE(code);
        CHECK(running.ClickItem(IDC_CODE_LIST, code));
        testing::ShellLog log;
        CHECK(running.ClickButton(IDC_VISIT));
        CHECK(log.WaitFor(RecordOf(code).registrarUrl));
        testing::PressKey(VK_RETURN);
        CHECK(running.WaitUntil([&] { return log.Entries().size() == 2; }, 8000));
        CHECK(running.ClickItem(IDC_CODE_LIST, code));
        testing::PressKey(VK_TAB);
        testing::PressKey(VK_TAB);
        CHECK(running.WaitUntil([&] { return GetFocus() == visit; }));
        testing::PressKey(VK_RETURN);
        CHECK(running.WaitUntil([&] { return log.Entries().size() == 3; }, 8000));
        CHECK(log.Entries() == std::vector<std::string>(3, RecordOf(code).registrarUrl));
    }
}

TEST_CASE("the lists' notification codes sent by another control go back to that control")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    const testing::ShellCalls calls;
    REQUIRE(calls.Recording());
    // A domain with a registrar, so that a double-click taken for the lists' would visit it.
    REQUIRE(running.ClickItem(IDC_CODE_LIST, "de"));
    HWND banner = running.Item(IDC_MAIN_BANNER);
    // What the dialog reflects back to the banner.
    std::vector<WPARAM> bannerReflected;
    const testing::MessageSpy bannerSpy(banner, [&](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == OCM_COMMAND)
            bannerReflected.push_back(wParam);
        return false;
    });
    for (const WORD code : {LBN_SELCHANGE, LBN_DBLCLK}) {
        CAPTURE(code);
        bannerReflected.clear();
        const WPARAM command = MAKEWPARAM(IDC_MAIN_BANNER, code);
        SendMessageA(running.Window(), WM_COMMAND, command, reinterpret_cast<LPARAM>(banner));
        CHECK(bannerReflected == std::vector<WPARAM>{command});
        // The lists and the shell were left alone.
        CHECK(running.SelectedText(IDC_CODE_LIST) == "de");
        CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Germany");
        CHECK(calls.Files().empty());
    }
}

TEST_CASE("the About box: placement, a link opening mail, the keyboard, fresh links on each opening, black high contrast")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    testing::ShellLog log;
    const std::string mailTarget = std::string("mailto:") + AppLinks::supportMailbox + "@" + AppLinks::makerDomain;
    // Enter on the About button, which has the focus from Tab or a click.
    const auto enter = [] { testing::PressKey(VK_RETURN); };

    // Opened by Enter, with the focus tabbed from Exit to the About button.
    testing::PressKey(VK_TAB);
    CHECK(running.WaitUntil([&] { return GetFocus() == running.Item(ID_APP_ABOUT); }));
    ModalScript first;
    first.steps.push_back([&](HWND about) {
        RECT main, box;
        GetWindowRect(running.Window(), &main);
        GetWindowRect(about, &box);
        CHECK(box.left == (main.left + main.right) / 2 - (box.right - box.left) / 2);
        CHECK(box.top == (main.top + main.bottom) / 2 - (box.bottom - box.top) / 2);
        HWND link = GetDlgItem(about, IDC_ABOUT_MAIL_LINK);
        CHECK(ShowsColour(link, unvisited));
        RECT client;
        GetClientRect(link, &client);  // the link text is centred in its static
        testing::ClickClient(link, client);
    });
    first.steps.push_back([&](HWND about) {
        CHECK(log.WaitFor(mailTarget));
        CHECK(ShowsColour(GetDlgItem(about, IDC_ABOUT_MAIL_LINK), visited));
        testing::PressKey(VK_RETURN);
    });
    CHECK(first.Run(running, enter));
    CHECK(first.closeCommand == IDOK);

    // Opened by a click, then by Enter on the button that click focused. The
    // box opens with no link focused; Tab and Shift+Tab go from link to link,
    // and Space opens the focused one.
    ModalScript clicked;
    clicked.steps.push_back([&](HWND) { testing::PressKey(VK_ESCAPE); });
    clicked.Run(running);
    CHECK(clicked.closeCommand == IDCANCEL);
    ModalScript tabbing;
    tabbing.steps.push_back([&](HWND about) {
        HWND web = GetDlgItem(about, IDC_ABOUT_WEB_LINK), mail = GetDlgItem(about, IDC_ABOUT_MAIL_LINK);
        CHECK(GetFocus() == GetDlgItem(about, IDC_ABOUT_BANNER));
        const struct { WORD modifier; HWND focus; } stops[] = {{0, web}, {0, mail}, {0, web}, {VK_SHIFT, mail}};
        for (const auto& stop : stops) {
            if (stop.modifier != 0)
                testing::PressChord(stop.modifier, VK_TAB);
            else
                testing::PressKey(VK_TAB);
            CHECK(tabbing.WaitUntil([&] { return GetFocus() == stop.focus; }));
        }
        const testing::ShellLog opened;
        testing::PressKey(VK_SPACE);
        CHECK(opened.WaitFor(mailTarget));
        testing::PressKey(VK_ESCAPE);
    });
    CHECK(tabbing.Run(running, enter));
    CHECK(tabbing.closeCommand == IDCANCEL);

    // Most of the main dialog off the bottom right corner: the box stays on screen.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(running.Window(), nullptr, work.right - 60, work.bottom - 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ModalScript second;
    second.steps.push_back([&](HWND about) {
        CHECK_FALSE(ShowsColour(GetDlgItem(about, IDC_ABOUT_MAIL_LINK), visited));
        RECT box;
        GetWindowRect(about, &box);
        CHECK(box.right == work.right);
        CHECK(box.bottom == work.bottom);
        const BlackScheme black;  // changed while the box is open
        const COLORREF hotTracking = RGB(0, 255, 255);
        for (const int id : {IDC_ABOUT_WEB_LINK, IDC_ABOUT_MAIL_LINK}) {
            CHECK(ShowsColour(GetDlgItem(about, id), hotTracking));
            const COLORREF background = testing::ScreenPixels(GetDlgItem(about, id)).At(0, 0);
            MESSAGE("link 0,255,255 on ", int(GetRValue(background)), ",", int(GetGValue(background)), ",",
                    int(GetBValue(background)), ": ", ContrastRatio(hotTracking, background), ":1");
            CHECK(ContrastRatio(hotTracking, background) >= 4.5);
        }
        testing::PressKey(VK_ESCAPE);
    });
    second.Run(running, [] { testing::PressChord(VK_MENU, 'A'); });  // the About button is off the screen now
    CHECK(second.closeCommand == IDCANCEL);
}

TEST_CASE("a real double-click in either list visits the domain's registrar, and nothing without one")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    testing::ShellLog log;
    const testing::ShellCalls calls;
    REQUIRE(calls.Recording());
    commandTarget = running.Window();
    HHOOK spy = SetWindowsHookExA(WH_CALLWNDPROC, CommandSpy, nullptr, GetCurrentThreadId());
    REQUIRE(spy != nullptr);
    // The item is scrolled into view, not selected: the double-click's first
    // click makes the choice, as a user's would. True when the list notified
    // the dialog of a double-click: two single clicks would not.
    const auto doubleClick = [&](int listId, const char* text) {
        HWND list = running.Item(listId);
        const RECT item = testing::ScrollToItem(list, testing::FindItem(list, text));
        commands.clear();
        testing::DoubleClickClient(list, item);
        const std::pair<int, int> notified(listId, LBN_DBLCLK);
        return running.WaitUntil(
            [&] { return std::find(commands.begin(), commands.end(), notified) != commands.end(); });
    };
    CHECK(doubleClick(IDC_DESCRIPTION_LIST, "Germany"));
    CHECK(log.WaitFor(RecordOf("de").registrarUrl));
    CHECK(running.SelectedText(IDC_CODE_LIST) == "de");
    CHECK(doubleClick(IDC_CODE_LIST, "bj"));
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Benin");
    // What bj opened, if anything, would be logged before the next address.
    CHECK(doubleClick(IDC_CODE_LIST, "nu"));
    CHECK(log.WaitFor(RecordOf("nu").registrarUrl));
    UnhookWindowsHookEx(spy);
    commandTarget = nullptr;
    CHECK(log.Entries() == std::vector<std::string>{RecordOf("de").registrarUrl, RecordOf("nu").registrarUrl});
    // Not even an empty address went to the shell for bj.
    CHECK(calls.Files() == std::vector<std::string>{RecordOf("de").registrarUrl, RecordOf("nu").registrarUrl});
}

// Run in the prefix of each display scale (app_scale125 and on) as well as at 100%.
TEST_CASE("at the display scaling of the desktop: banners, icons, captions and links in proportion")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    const UINT dpi = DpiApi::GetDpiForWindow(running.Window());
    MESSAGE("the dialog's DPI: ", dpi);
    CheckWindowIcons(running.Window(), dpi);
    const int iconSize = IconSizeFor(dpi);
    const double tolerance = dpi == 96 ? 0.001 : 0.03;
    CheckBanner(running.Window(), mainBanner, tolerance);
    // The focus goes to a list, so that no focus rectangle crosses the icons.
    CHECK(running.ClickItem(IDC_CODE_LIST, "ac"));
    CheckExitIcon(running.Item(IDCANCEL), iconSize);
    for (const int id : {ID_APP_ABOUT, IDCANCEL, IDC_VISIT})
        CheckCaptionFits(running.Item(id), iconSize);
    CHECK(running.ClickItem(IDC_CODE_LIST, "bj"));
    CheckCaptionFits(running.Item(IDC_VISIT), iconSize);

    ModalScript script;
    script.steps.push_back([&](HWND about) {
        CheckBanner(about, aboutBanner, tolerance);
        // The web link's text, centred on one line in its static, the hand over it.
        HWND link = GetDlgItem(about, IDC_ABOUT_WEB_LINK);
        UpdateWindow(link);
        const RECT text = testing::ScreenPixels(link).Bounds(unvisited);
        RECT client;
        GetClientRect(link, &client);
        REQUIRE(text.right > text.left);
        CHECK(text.left > 0);
        CHECK(text.right < client.right);
        CHECK(std::abs(text.left - (client.right - text.right)) <= 2);
        CHECK(text.bottom <= client.bottom);
        POINT centre = {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
        ClientToScreen(link, &centre);
        SetCursorPos(centre.x, centre.y);
        const HCURSOR hand = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
        CHECK(running.WaitUntil([&] { return GetCursor() == hand; }));
        testing::PressKey(VK_ESCAPE);
    });
    CHECK(script.Run(running));
}

// How tall what each control of a dialog shows is on the screen: the rows
// that hold a pixel other than the dialog's face.
std::vector<std::pair<int, int>> InkHeights(HWND dialog)
{
    std::vector<std::pair<int, int>> heights;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        UpdateWindow(child);
        const RECT ink = testing::ScreenPixels(child).Bounds([face](COLORREF c) { return c != face; });
        heights.emplace_back(GetDlgCtrlID(child), ink.bottom - ink.top);
    }
    return heights;
}

// Every control follows the dialog to the larger scale: what it shows grows
// with the dialog's font (whose height grows by half from 96 to 144 DPI).
void CheckAllGrew(const std::vector<std::pair<int, int>>& before, const std::vector<std::pair<int, int>>& after)
{
    REQUIRE(before.size() == after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        CAPTURE(before[i].first);
        CHECK(after[i].second >= before[i].second * 5 / 4);
    }
}

TEST_CASE("a move to a monitor of another scale lays the dialogs out anew, and back again exactly")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    HWND window = running.Window();
    const UINT dpi = DpiApi::GetDpiForWindow(window);
    REQUIRE(dpi == 96);
    CHECK(running.ClickItem(IDC_CODE_LIST, "ac"));
    RECT start, startList;
    GetWindowRect(window, &start);
    GetWindowRect(running.Item(IDC_DESCRIPTION_LIST), &startList);
    const HFONT startFont = reinterpret_cast<HFONT>(SendMessageA(running.Item(IDC_CODE_LIST), WM_GETFONT, 0, 0));

    // As the system suggests it: the window grown by the ratio of the scales.
    const auto moveTo = [&](UINT newDpi, RECT suggested) {
        SendMessageA(window, WM_DPICHANGED_MESSAGE, MAKEWPARAM(newDpi, newDpi), reinterpret_cast<LPARAM>(&suggested));
        RECT now;
        GetWindowRect(window, &now);
        CHECK(EqualRect(&now, &suggested));
    };
    const RECT larger = {start.left, start.top, start.left + (start.right - start.left) * 3 / 2,
                         start.top + (start.bottom - start.top) * 3 / 2};
    const auto startInk = InkHeights(window);
    moveTo(144, larger);
    CheckAllGrew(startInk, InkHeights(window));
    CheckBanner(window, mainBanner, 0.03);
    CheckExitIcon(running.Item(IDCANCEL), 24);
    CheckCaptionFits(running.Item(IDCANCEL), 24);
    CheckWindowIcons(window, 144);
    const HFONT largerFont = reinterpret_cast<HFONT>(SendMessageA(running.Item(IDC_CODE_LIST), WM_GETFONT, 0, 0));
    CHECK(largerFont != startFont);
    RECT list;
    GetWindowRect(running.Item(IDC_DESCRIPTION_LIST), &list);
    CHECK((list.right - list.left) * 2 == doctest::Approx((startList.right - startList.left) * 3).epsilon(0.02));
    moveTo(96, start);
    CheckBanner(window, mainBanner, 0.001);
    CheckExitIcon(running.Item(IDCANCEL), 16);
    CheckWindowIcons(window, 96);
    GetWindowRect(running.Item(IDC_DESCRIPTION_LIST), &list);
    CHECK(EqualRect(&list, &startList));

    // The About box, moved while it is open: its links measured again in the larger font.
    ModalScript script;
    script.steps.push_back([&](HWND about) {
        HWND link = GetDlgItem(about, IDC_ABOUT_MAIL_LINK);
        const auto aboutInk = InkHeights(about);
        const RECT before = testing::ScreenPixels(link).Bounds(unvisited);
        RECT box;
        GetWindowRect(about, &box);
        RECT suggested = {box.left, box.top, box.left + (box.right - box.left) * 3 / 2,
                          box.top + (box.bottom - box.top) * 3 / 2};
        SendMessageA(about, WM_DPICHANGED_MESSAGE, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
        CheckAllGrew(aboutInk, InkHeights(about));
        CheckBanner(about, aboutBanner, 0.03);
        UpdateWindow(link);
        const RECT after = testing::ScreenPixels(link).Bounds(unvisited);
        RECT client;
        GetClientRect(link, &client);
        CHECK((after.right - after.left) * 2 == doctest::Approx((before.right - before.left) * 3).epsilon(0.1));
        CHECK(std::abs(after.left - (client.right - after.right)) <= 2);
        testing::PressKey(VK_ESCAPE);
    });
    CHECK(script.Run(running));
}
