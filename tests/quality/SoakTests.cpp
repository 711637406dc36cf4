#include <doctest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <vector>

#include "app/RunningDialog.h"
#include "quality/ProcessFootprint.h"
#include "quality/ProgramRun.h"
#include "quality/UnmanagedRun.h"
#include "res/resource.h"

using testing::PostKey;
using testing::ProcessFootprint;
using testing::RunningDialog;
using testing::UnmanagedRun;

namespace {

constexpr int aboutOpenings = 300;
constexpr int selectionChanges = 10000;
// Openings of the bare About template that tell what the system itself keeps
// per opening.
constexpr int plainOpenings = 30;
// Slack over the system's own share once everything is warm. A leak of one
// heap block per About opening (12 bytes at least) costs 3.6 KiB over 300
// openings, one GDI object per opening 300 objects.
constexpr SIZE_T heapSlack = 2 * 1024;
constexpr int gdiSlack = 16;

enum class CloseBy { Escape, Enter, CloseBox };

// The user inside the About box's modal loop: a thread timer without a
// window is dispatched by whatever loop runs, here DialogBoxParam's.
struct AboutVisit {
    CloseBy closeBy = CloseBy::Escape;
    HWND owner = nullptr;
    UINT_PTR timer = 0;
    DWORD started = 0;
    HWND about = nullptr;
    bool bannerSized = false;
    bool forced = false;
    bool countGdi = false;
    int gdiWhileShown = 0;
};
AboutVisit visit;

BOOL CALLBACK FindAbout(HWND window, LPARAM param)
{
    char title[32] = {};
    GetWindowTextA(window, title, sizeof title);
    if (!IsWindowVisible(window) || lstrcmpA(title, "About") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

void CALLBACK CloseAbout(HWND, UINT, UINT_PTR, DWORD)
{
    HWND about = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindAbout, reinterpret_cast<LPARAM>(&about));
    if (about == nullptr) {
        // Not shown after seconds: end whatever box the main dialog waits
        // for, so that the test reports instead of hanging.
        HWND popup = GetLastActivePopup(visit.owner);
        if (GetTickCount() - visit.started > 5000 && popup != visit.owner) {
            visit.forced = true;
            KillTimer(nullptr, visit.timer);
            PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
        }
        return;
    }
    KillTimer(nullptr, visit.timer);
    visit.about = about;
    RECT banner = {};
    GetClientRect(GetDlgItem(about, IDC_ABOUT_BANNER), &banner);
    visit.bannerSized = banner.right == 398 && banner.bottom == 53;
    if (visit.countGdi)
        visit.gdiWhileShown = ProcessFootprint::LiveGdiObjects();
    // The dialog manager turns Escape and the close box into IDCANCEL, Enter into IDOK.
    switch (visit.closeBy) {
    case CloseBy::Escape:
        PostKey(about, VK_ESCAPE);
        break;
    case CloseBy::Enter:
        PostKey(about, VK_RETURN);
        break;
    case CloseBy::CloseBox:
        PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
}

INT_PTR CALLBACK PlainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

struct AboutTally {
    int shown = 0;
    int closed = 0;
    int bannerSized = 0;
};

// Opens the About box as its button does (or, plain, the same template with
// a procedure that does nothing) and lets the timer close it; returns when
// the modal loop has ended.
void OpenAndCloseAbout(RunningDialog& running, CloseBy closeBy, bool plain, AboutTally& tally, bool countGdi = false)
{
    visit = AboutVisit();
    visit.closeBy = closeBy;
    visit.countGdi = countGdi;
    visit.owner = running.Window();
    visit.started = GetTickCount();
    visit.timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseAbout);
    if (plain) {
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), running.Window(), PlainDialogProc, 0);
    } else {
        HWND button = running.Item(ID_APP_ABOUT);
        SendMessageA(running.Window(), WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
    KillTimer(nullptr, visit.timer);
    if (visit.about != nullptr && !visit.forced) {
        ++tally.shown;
        if (!IsWindow(visit.about) && IsWindowEnabled(running.Window()))
            ++tally.closed;
        if (visit.bannerSized)
            ++tally.bannerSized;
    }
}

void OpenAboutRepeatedly(RunningDialog& running, int openings, AboutTally& tally, bool plain = false)
{
    const CloseBy ways[] = {CloseBy::Escape, CloseBy::Enter, CloseBy::CloseBox};
    for (int i = 0; i < openings; ++i) {
        OpenAndCloseAbout(running, ways[i % 3], plain, tally);
        running.Pump(0);
    }
}

// What a choice in one list led to: the other list's selection and the visit button.
struct Outcome {
    int otherIndex = LB_ERR;
    bool visitEnabled = false;
    bool operator==(const Outcome& other) const
    {
        return otherIndex == other.otherIndex && visitEnabled == other.visitEnabled;
    }
};

int ListOf(int side)
{
    return side == 0 ? IDC_CODE_LIST : IDC_DESCRIPTION_LIST;
}

// Selects an item the way the list box itself reports a user's choice.
Outcome Choose(RunningDialog& running, int side, int index)
{
    HWND list = running.Item(ListOf(side));
    SendMessageA(list, LB_SETCURSEL, index, 0);
    SendMessageA(running.Window(), WM_COMMAND, MAKEWPARAM(ListOf(side), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    Outcome outcome;
    outcome.otherIndex = static_cast<int>(SendMessageA(running.Item(ListOf(1 - side)), LB_GETCURSEL, 0, 0));
    outcome.visitEnabled = IsWindowEnabled(running.Item(IDC_VISIT)) != FALSE;
    return outcome;
}

// The system's list box repaints and scrolls synchronously on every
// LB_SETCURSEL, about 7 ms a time under Wine and Xvfb, which would make ten
// thousand changes take minutes. The lists are the system's and the program
// draws nothing in them, so they are hidden for the long run; the visit
// button, which the program draws, stays visible and repaints at every flip.
void ShowLists(RunningDialog& running, int show)
{
    ShowWindow(running.Item(IDC_CODE_LIST), show);
    ShowWindow(running.Item(IDC_DESCRIPTION_LIST), show);
}

HWND HiddenWindow()
{
    return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

} // namespace

TEST_CASE("the footprint measures see each kind of leak they are used for")
{
    // What the soak below relies on, shown on this system: each kind of leak
    // moves its own measure. The thread's first window brings the input
    // method's window along, so it comes before the first measure.
    HWND first = HiddenWindow();
    const ProcessFootprint before = ProcessFootprint::Take();

    std::vector<HFONT> fonts;
    for (int i = 0; i < 100; ++i) {
        LOGFONTA font = {};
        font.lfHeight = 13;
        lstrcpyA(font.lfFaceName, "Tahoma");
        fonts.push_back(CreateFontIndirectA(&font));
    }
    std::vector<HWND> windows;
    for (int i = 0; i < 20; ++i)
        windows.push_back(HiddenWindow());
    std::vector<HKEY> keys;
    for (int i = 0; i < 20; ++i) {
        HKEY key = nullptr;
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key);
        keys.push_back(key);
    }
    std::vector<void*> blocks;
    for (int i = 0; i < 300; ++i)
        blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 16));

    const ProcessFootprint leaked = ProcessFootprint::Take();
    MESSAGE("deliberate leaks of 100 fonts, 20 windows, 20 keys, 300 blocks of 16 bytes: ",
            before.GrowthTo(leaked));
    CHECK(leaked.gdiObjects - before.gdiObjects == 100);
    CHECK(leaked.windows - before.windows == 20);
    CHECK(leaked.kernelHandles - before.kernelHandles == 20);
    CHECK(leaked.heapBytes - before.heapBytes >= 300 * 16);

    for (void* block : blocks)
        HeapFree(GetProcessHeap(), 0, block);
    for (HKEY key : keys)
        RegCloseKey(key);
    for (HWND window : windows)
        DestroyWindow(window);
    for (HFONT font : fonts)
        DeleteObject(font);
    CHECK(ProcessFootprint::Take().windows == before.windows);
    DestroyWindow(first);
}

TEST_CASE("300 About openings and 10,000 selection changes leave nothing behind")
{
    if (!UnmanagedRun::InChild()) {
        CHECK(UnmanagedRun::RunTestCase("300 About openings*", 150000) == 0);
        return;
    }
    // As WinMain prepares the thread: the banners decode through OLE.
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    {
        RunningDialog running;
        REQUIRE(running.Window() != nullptr);

        // Warm-up: the first openings load the picture decoder, fonts and
        // tooltip classes; one pass over both lists remembers what each
        // choice leads to.
        AboutTally warm;
        OpenAboutRepeatedly(running, 6, warm);
        OpenAboutRepeatedly(running, 3, warm, true);
        REQUIRE(warm.closed == 9);
        // The box's own GDI objects (banner surface, link fonts, dialog font)
        // are private to it; the count sees them while it is shown. Counted
        // before the soak's first measure, which then starts from that peak.
        const int gdiWithoutBox = ProcessFootprint::LiveGdiObjects();
        OpenAndCloseAbout(running, CloseBy::Escape, false, warm, true);
        MESSAGE("GDI objects without the About box ", gdiWithoutBox, ", while it is shown ", visit.gdiWhileShown);
        CHECK(visit.gdiWhileShown >= gdiWithoutBox + 4);
        ShowLists(running, SW_HIDE);
        std::vector<Outcome> expected[2];
        for (int side = 0; side < 2; ++side) {
            for (int index = 0; index < running.ItemCount(ListOf(side)); ++index)
                expected[side].push_back(Choose(running, side, index));
        }
        ShowLists(running, SW_SHOW);
        REQUIRE(expected[0].size() == 259);
        REQUIRE(expected[1].size() == 259);
        running.Pump(50);

        // Wine keeps a few bytes per opening of any dialog with these statics
        // (seven 12-byte records naming the dialog font, one per static, kept
        // after the font is gone); the bare template measures that share.
        const ProcessFootprint beforePlain = ProcessFootprint::Take();
        AboutTally plain;
        OpenAboutRepeatedly(running, plainOpenings, plain, true);
        running.Pump(50);
        const ProcessFootprint afterPlain = ProcessFootprint::Take();
        REQUIRE(plain.closed == plainOpenings);
        const SIZE_T systemShare = afterPlain.heapBytes > beforePlain.heapBytes
            ? (afterPlain.heapBytes - beforePlain.heapBytes) * aboutOpenings / plainOpenings
            : 0;
        MESSAGE("bare About template ", plainOpenings, " times: ", beforePlain.GrowthTo(afterPlain));
        // A share far above those 84 bytes per opening would hide a leak of the program's.
        CHECK(systemShare <= aboutOpenings * 128);

        // Nothing between two measures may report through the test framework:
        // its first output allocates the stream buffers.
        const ProcessFootprint start = ProcessFootprint::Take();
        const DWORD aboutStart = GetTickCount();
        AboutTally tally;
        OpenAboutRepeatedly(running, aboutOpenings, tally);
        running.Pump(50);
        const DWORD aboutTime = GetTickCount() - aboutStart;
        const ProcessFootprint afterAbout = ProcessFootprint::Take();

        // Alternating lists with a stride that reaches every item of each, so
        // the visit button flips between available and unavailable.
        const DWORD selectionStart = GetTickCount();
        ShowLists(running, SW_HIDE);
        int drifted = 0;
        int flips = 0;
        bool enabled = IsWindowEnabled(running.Item(IDC_VISIT)) != FALSE;
        for (int step = 0; step < selectionChanges; ++step) {
            const int side = step % 2;
            const int index = (step / 2 * 11 + side * 5) % 259;
            const Outcome outcome = Choose(running, side, index);
            if (!(outcome == expected[side][index]))
                ++drifted;
            if (outcome.visitEnabled != enabled)
                ++flips;
            enabled = outcome.visitEnabled;
            if (step % 100 == 99)
                running.Pump(0);
        }
        ShowLists(running, SW_SHOW);
        // Visible again, the lists still answer as on the first pass.
        for (int step = 0; step < 40; ++step) {
            const int side = step % 2;
            const int index = (step * 53) % 259;
            if (!(Choose(running, side, index) == expected[side][index]))
                ++drifted;
        }
        running.Pump(50);
        const DWORD selectionTime = GetTickCount() - selectionStart;
        const ProcessFootprint afterSelection = ProcessFootprint::Take();

        MESSAGE("About box ", aboutOpenings, " times in ", aboutTime, " ms: ", start.GrowthTo(afterAbout),
                "; allowed heap growth ", systemShare, " + ", heapSlack);
        CHECK(tally.shown == aboutOpenings);
        CHECK(tally.closed == aboutOpenings);
        CHECK(tally.bannerSized == aboutOpenings);
        CHECK(afterAbout.heapBytes <= start.heapBytes + systemShare + heapSlack);
        CHECK(afterAbout.gdiObjects <= start.gdiObjects + gdiSlack);
        CHECK(afterAbout.windows == start.windows);
        CHECK(afterAbout.kernelHandles <= start.kernelHandles);

        MESSAGE("selection ", selectionChanges, " times (", flips, " visit button flips) in ", selectionTime,
                " ms: ", afterAbout.GrowthTo(afterSelection));
        CHECK(drifted == 0);
        CHECK(flips > 1000);
        CHECK(afterSelection.heapBytes <= afterAbout.heapBytes + heapSlack);
        CHECK(afterSelection.gdiObjects <= afterAbout.gdiObjects + gdiSlack);
        CHECK(afterSelection.windows == afterAbout.windows);
        CHECK(afterSelection.kernelHandles <= afterAbout.kernelHandles);

        // Still the same program: the About box opens and closes.
        AboutTally last;
        OpenAboutRepeatedly(running, 1, last);
        CHECK(last.closed == 1);
    }
    CoUninitialize();
}
