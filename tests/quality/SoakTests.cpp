#include <doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/DpiApi.h"
#include "quality/ProgramAllocations.h"
#include "res/resource.h"
#include "support/ComApartment.h"
#include "support/RunningDialog.h"
#include "support/ScopedRegistryValue.h"
#include "support/TestProcess.h"
#include "support/UserInput.h"

using testing::RunningDialog;

namespace {

// Even: the bare template's run is split in halves.
constexpr int aboutOpenings = 300;
constexpr int repaints = 300;
constexpr int selectionChanges = 10000;
// Moves to a monitor at 150% and back, of the main dialog and of as many
// About boxes.
constexpr int scaleChanges = 100;

// The program's own allocations must balance exactly (ProgramAllocations).
// The process as a whole is the second line: what Wine keeps for itself
// differs between its versions, so its share is learned in the same run from
// the bare About template and allowed, never more than this per opening
// (Wine 8 keeps about 84 bytes per opening of the About box, Wine 10 about 270).
constexpr long long systemBytesPerOpening = 384;
// Least slack over the system's own share once everything is warm, for a
// heap that grows evenly.
constexpr long long minimumHeapSlack = 2 * 1024;
// Phases that open no dialog may meet a new pool of Wine 10's small blocks
// (31 of 112 bytes, 3.4 KiB).
constexpr long long quietHeapSlack = 8 * 1024;
constexpr int gdiSlack = 16;

// What the process holds at one moment, in measures that work under Wine.
// Compare two taken at quiet moments (no dialog half built, messages pumped)
// to see what the work in between left behind. Each measure was verified
// under Wine by deliberate leaks of fonts, windows, registry keys and heap
// blocks, which it counted exactly.
struct Footprint {
    // Bytes in busy blocks of every heap: the C++ heap, the process heap and
    // the executable heap for window thunks, and what the system libraries
    // allocate there for the program (tooltip records, picture objects,
    // global memory, device contexts). Windows and other GDI objects leave no
    // trace there under Wine 8: they live in the window server and on the
    // unix side of win32u, hence the counts below.
    SIZE_T heapBytes = 0;
    int gdiObjects = 0;
    // Windows of this thread, top-level (hidden or not) and their children.
    int windows = 0;
    // Registry keys, events, sections.
    int kernelHandles = 0;
};

// Static arrays: measuring must not move the heap measure. More probes than
// the objects freed between two measures (a few hundred at most), so every
// probe drains the free list.
HANDLE heaps[256];
HBRUSH gdiProbes[4096];
HANDLE handleProbes[1024];

// GetGuiResources answers 0 under Wine, so the count comes from the GDI
// handle table itself. The table gives out entries from a last-in, first-out
// free list and only then from its unused end, and a handle's low word is its
// entry index. Creating more probe objects than the free list holds therefore
// ends at index (live objects + probes - 1) plus a constant base; the probes
// are deleted again. Each probe leaves all its entries on the free list, so
// the next lands on the same highest index unless more objects are alive than
// at the busiest earlier probe: the result is the largest live count seen at
// any probe, which grows by exactly the number of objects leaked in between.
int LiveGdiObjects()
{
    int highest = -1;
    for (HBRUSH& probe : gdiProbes) {
        probe = CreateSolidBrush(RGB(&probe - gdiProbes, 0, 0));
        if (probe == nullptr)
            return 0x10000; // a table too full for the probe: "very many"
        highest = std::max(highest, static_cast<int>(LOWORD(reinterpret_cast<UINT_PTR>(probe))));
    }
    for (HBRUSH probe : gdiProbes)
        DeleteObject(probe);
    return highest - 4096 + 1;
}

// GetProcessHandleCount answers 0 under Wine. The server's handle table gives
// out the lowest free entry, and a handle is four times (its entry index plus
// one); probe handles fill every hole before they extend the table, so the
// highest of more probes than there are holes tells the live count, with the
// same largest-so-far reading as for GDI objects.
int LiveKernelHandles()
{
    UINT_PTR highest = 0;
    for (HANDLE& probe : handleProbes) {
        probe = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (probe == nullptr)
            return 0x100000;
        highest = std::max(highest, reinterpret_cast<UINT_PTR>(probe));
    }
    for (HANDLE probe : handleProbes)
        CloseHandle(probe);
    return static_cast<int>(highest / 4) - 1024;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM param)
{
    ++*reinterpret_cast<int*>(param);
    EnumChildWindows(window, CountWindow, param);
    return TRUE;
}

Footprint TakeFootprint()
{
    Footprint footprint;
    footprint.gdiObjects = LiveGdiObjects();
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&footprint.windows));
    footprint.kernelHandles = LiveKernelHandles();
    const DWORD count = GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < count && i < 256; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                footprint.heapBytes += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return footprint;
}

long long HeapGrowth(const Footprint& before, const Footprint& after)
{
    return static_cast<long long>(after.heapBytes) - static_cast<long long>(before.heapBytes);
}

// What one measure holds: the program's own count and the process's.
struct Measure {
    bool settled = false;
    ProgramAllocations::Snapshot program = {};
    Footprint process;
};

// Taken once the thread has handled all that was queued for it and what that
// led to (what the last dialog's end posted, the repaint of what it covered).
Measure Settled(RunningDialog& running)
{
    Measure measure;
    measure.settled = running.Settle();
    measure.program = ProgramAllocations::Take();
    measure.process = TakeFootprint();
    return measure;
}

std::string Growth(const Footprint& before, const Footprint& after)
{
    char text[160];
    snprintf(text, sizeof text, "heap %lu -> %lu bytes, GDI objects %+d, windows %d -> %d, kernel handles %+d",
             static_cast<unsigned long>(before.heapBytes), static_cast<unsigned long>(after.heapBytes),
             after.gdiObjects - before.gdiObjects, before.windows, after.windows,
             after.kernelHandles - before.kernelHandles);
    return text;
}

// The user inside the About box's modal loop: a thread timer without a
// window is dispatched by whatever loop runs, here DialogBoxParam's.
struct AboutVisit {
    int closeBy = 0;
    bool rescale = false;  // moved to 150% and back before it closes
    UINT_PTR timer = 0;
    HWND about = nullptr;
    bool bannerSized = false;
};
AboutVisit visit;

// What a move to a monitor at 150% and back to 100% asks of a dialog: the
// suggested window rectangles as the system computes them, half as large
// again and then the one it had.
void ChangeScaleThereAndBack(HWND dialog)
{
    RECT start;
    GetWindowRect(dialog, &start);
    const RECT larger = {start.left, start.top, start.left + (start.right - start.left) * 3 / 2,
                         start.top + (start.bottom - start.top) * 3 / 2};
    SendMessageA(dialog, WM_DPICHANGED_MESSAGE, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&larger));
    SendMessageA(dialog, WM_DPICHANGED_MESSAGE, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&start));
}

// This thread's own: the prefix's other processes may show About boxes too.
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
    if (about == nullptr)
        return;
    KillTimer(nullptr, visit.timer);
    visit.about = about;
    RECT banner = {};
    GetClientRect(GetDlgItem(about, IDC_ABOUT_BANNER), &banner);
    visit.bannerSized = banner.right == 398 && banner.bottom == 53;
    if (visit.rescale)
        ChangeScaleThereAndBack(about);
    // Escape, Enter and the close box: the dialog manager's two ways to
    // IDCANCEL and its one to IDOK.
    if (visit.closeBy == 2) {
        PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
        return;
    }
    testing::PostKey(about, visit.closeBy == 0 ? VK_ESCAPE : VK_RETURN);
}

INT_PTR CALLBACK PlainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, LOWORD(wParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

struct AboutTally {
    int closed = 0;
    int bannerSized = 0;
};

// Opens the About box as its button does (or, plain, the same template with
// a procedure that does nothing) and lets the timer close it, each time
// another way.
void OpenAboutRepeatedly(RunningDialog& running, int openings, AboutTally& tally, bool plain = false,
                         bool rescale = false)
{
    for (int i = 0; i < openings; ++i) {
        visit = AboutVisit();
        visit.closeBy = i % 3;
        visit.rescale = rescale;
        visit.timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseAbout);
        if (plain)
            DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), running.Window(),
                            PlainDialogProc, 0);
        else
            SendMessageA(running.Window(), WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, BN_CLICKED),
                         reinterpret_cast<LPARAM>(running.Item(ID_APP_ABOUT)));
        KillTimer(nullptr, visit.timer);
        if (visit.about != nullptr) {
            tally.closed += !IsWindow(visit.about) && IsWindowEnabled(running.Window());
            tally.bannerSized += visit.bannerSized;
        }
        running.Pump(0);
    }
}

// What a choice in one list led to: the other list's selection and the visit button.
int Choose(RunningDialog& running, int side, int index)
{
    const int lists[] = {IDC_CODE_LIST, IDC_DESCRIPTION_LIST};
    HWND list = running.Item(lists[side]);
    SendMessageA(list, LB_SETCURSEL, index, 0);
    SendMessageA(running.Window(), WM_COMMAND, MAKEWPARAM(lists[side], LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    const int other = static_cast<int>(SendMessageA(running.Item(lists[1 - side]), LB_GETCURSEL, 0, 0));
    return other * 2 + (IsWindowEnabled(running.Item(IDC_VISIT)) != FALSE);
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

// Every control of the main dialog painted anew, at once.
void RepaintRepeatedly(RunningDialog& running, int times)
{
    for (int i = 0; i < times; ++i)
        RedrawWindow(running.Window(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// One stretch of use, measured on its own: its work, what the program must
// have made in it (so that the count is known to be live), and what the
// process may keep for Wine's sake.
struct Phase {
    const char* name;
    std::function<void()> work;
    long long programMadeAtLeast;
    long long processHeapAllowance;
    int gdiAllowance;
};

} // namespace

TEST_CASE("300 About openings, 300 repaints of every control, 10,000 selection changes and 100 moves between scales leave nothing behind")
{
    // The work runs again in a child whose windows Wine leaves unmanaged;
    // the parent reports the child's result.
    if (GetEnvironmentVariableA("ZVX_SOAK_CHILD", nullptr, 0) == 0) {
        const testing::ScopedRegistryValue unmanaged(testing::UnmanagedWindowsKey(testing::ThisProgram()), "Managed",
                                                     REG_SZ, "N", 2);
        // A hang detector, not a time target: about 170 s on a 2-core
        // machine that emulates the program's processor, over 600 s when
        // other builds and tests keep both cores busy.
        CHECK(testing::RunAgainWith("ZVX_SOAK_CHILD", 1200000) == 0);
        return;
    }
    // As WinMain prepares the thread: the banners decode through OLE.
    const testing::ComApartment apartment;
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
        RepaintRepeatedly(running, 3);
        // The first move leaves the dialog with a font of its own for good.
        ChangeScaleThereAndBack(running.Window());
        OpenAboutRepeatedly(running, 3, warm, false, true);
        REQUIRE(warm.closed == 12);
        REQUIRE(running.ItemCount(IDC_CODE_LIST) == 259);
        ShowLists(running, SW_HIDE);
        std::vector<int> expected[2];
        for (int side = 0; side < 2; ++side) {
            for (int index = 0; index < 259; ++index)
                expected[side].push_back(Choose(running, side, index));
        }
        ShowLists(running, SW_SHOW);

        // Wine's own share, learned rather than assumed: Wine 8 keeps seven
        // 12-byte records naming the dialog font per opening, Wine 10 more,
        // and it hands small blocks out of pools of 31, so its heap grows a
        // whole pool at a time. The bare template, opened as often as the
        // About box in two halves, gives that share; the halves' difference
        // shows how unevenly the heap grows. It shares the main dialog's own
        // part of every opening, so it bounds the process's growth only; the
        // program's count is what finds the program's leaks.
        const Measure beforePlain = Settled(running);
        AboutTally plain;
        OpenAboutRepeatedly(running, aboutOpenings / 2, plain, true);
        const Measure halfPlain = Settled(running);
        OpenAboutRepeatedly(running, aboutOpenings / 2, plain, true);
        const Measure afterPlain = Settled(running);
        REQUIRE(plain.closed == aboutOpenings);
        const long long firstHalf = HeapGrowth(beforePlain.process, halfPlain.process);
        const long long secondHalf = HeapGrowth(halfPlain.process, afterPlain.process);
        const long long systemShare = std::max(0LL, firstHalf + secondHalf)
                                      + std::max(minimumHeapSlack, std::llabs(firstHalf - secondHalf));
        const int systemGdiShare = afterPlain.process.gdiObjects - beforePlain.process.gdiObjects;

        AboutTally tally;
        AboutTally rescaledTally;
        int drifted = 0;
        int flips = 0;
        const Phase phases[] = {
            {"About box opened and closed", [&] { OpenAboutRepeatedly(running, aboutOpenings, tally); },
             aboutOpenings, std::min(systemShare, systemBytesPerOpening * aboutOpenings), systemGdiShare + gdiSlack},
            // Each repaint begins a paint of the banner at least.
            {"main dialog repainted", [&] { RepaintRepeatedly(running, repaints); }, repaints, quietHeapSlack,
             gdiSlack},
            // Alternating lists with a stride that reaches every item of each,
            // so the visit button flips between available and unavailable;
            // ending on the domain it began with, whose address the dialog
            // holds again, in a block of the same size.
            {"selection changed",
             [&] {
                 ShowLists(running, SW_HIDE);
                 const int first = static_cast<int>(SendMessageA(running.Item(IDC_CODE_LIST), LB_GETCURSEL, 0, 0));
                 int last = 0;
                 for (int step = 0; step < selectionChanges; ++step) {
                     const int side = step % 2;
                     const int index = (step / 2 * 11 + side * 5) % 259;
                     const int outcome = Choose(running, side, index);
                     drifted += outcome != expected[side][index];
                     flips += (outcome & 1) != (last & 1);
                     last = outcome;
                     if (step % 100 == 99)
                         running.Pump(0);
                 }
                 Choose(running, 0, first);
                 ShowLists(running, SW_SHOW);
             },
             0, quietHeapSlack, gdiSlack},
            // Each move makes the dialog's font, banner and icons anew, and
            // the About box's font, banner and link fonts.
            {"moved to 150% and back",
             [&] {
                 for (int i = 0; i < scaleChanges; ++i) {
                     ChangeScaleThereAndBack(running.Window());
                     running.Pump(0);
                 }
                 OpenAboutRepeatedly(running, scaleChanges, rescaledTally, false, true);
             },
             4 * scaleChanges, std::min(systemShare, systemBytesPerOpening * aboutOpenings) * scaleChanges / aboutOpenings
                 + quietHeapSlack, systemGdiShare * scaleChanges / aboutOpenings + gdiSlack},
        };
        // Nothing between two measures may report through the test framework:
        // its first output allocates the stream buffers.
        constexpr int phaseCount = sizeof phases / sizeof phases[0];
        Measure before[phaseCount];
        Measure after[phaseCount];
        for (int i = 0; i < phaseCount; ++i) {
            before[i] = Settled(running);
            phases[i].work();
            after[i] = Settled(running);
        }

        CHECK(beforePlain.settled);
        CHECK(halfPlain.settled);
        CHECK(afterPlain.settled);
        MESSAGE("bare About template ", aboutOpenings, " times: heap ", firstHalf, " + ", secondHalf,
                " bytes, GDI objects ", systemGdiShare);
        for (int i = 0; i < phaseCount; ++i) {
            const Phase& phase = phases[i];
            const std::string name = phase.name;
            const Footprint& start = before[i].process;
            const Footprint& end = after[i].process;
            CAPTURE(name);
            MESSAGE(name, ": the process's ", Growth(start, end), "; allowed heap growth ",
                    phase.processHeapAllowance);
            CHECK_MESSAGE(before[i].settled, "the queue never stayed empty before the phase");
            CHECK_MESSAGE(after[i].settled, "the queue never stayed empty after the phase");
            CHECK(ProgramAllocations::Growth(before[i].program, after[i].program) == "");
            CHECK(ProgramAllocations::Made(before[i].program, after[i].program) >= phase.programMadeAtLeast);
            CHECK(HeapGrowth(start, end) <= phase.processHeapAllowance);
            CHECK(end.gdiObjects <= start.gdiObjects + phase.gdiAllowance);
            CHECK(end.windows == start.windows);
            CHECK(end.kernelHandles <= start.kernelHandles);
        }
        CHECK(tally.closed == aboutOpenings);
        CHECK(tally.bannerSized == aboutOpenings);
        CHECK(rescaledTally.closed == scaleChanges);
        CHECK(rescaledTally.bannerSized == scaleChanges);
        CHECK(drifted == 0);
        CHECK(flips > 1000);
    }
}
