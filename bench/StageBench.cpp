// What each stage of the main dialog's start-up costs, in the order the
// dialog takes them while it handles WM_INITDIALOG, and its first paint: the
// program's own controls and calls on template 129, in this process, at the
// display scale of the prefix it runs in. Each stage is timed twice:
//   cold  the first call in a fresh process, as start-up pays it: a child
//         process of this program runs the stages once and reports them;
//   warm  the median of repetitions in one process, each on a new dialog.
// The libraries the program loads for them stay loaded between repetitions:
// what cold costs beyond warm is mostly loading and first-use set-up.
//
// zvx-bench-stages [--cold N] [--warm N]      (default 15 and 30)
// zvx-bench-stages --child                    one cold run, one line of figures
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/DomainBrowserDialog.h"
#include "app/ListBoxList.h"
#include "bench/Sample.h"
#include "bench/Stopwatch.h"
#include "catalogue/DomainTable.h"
#include "catalogue/SelectionMirror.h"
#include "controls/IconButton.h"
#include "controls/PictureBanner.h"
#include "framework/AppModule.h"
#include "framework/DialogDpi.h"
#include "framework/DpiApi.h"
#include "framework/Reflection.h"
#include "res/ButtonPictures.h"
#include "res/resource.h"

namespace {

enum Stage { comStage, layoutStage, iconStage, listStage, decodeStage, renderStage, buttonStage, paintStage, stageCount };

const char* const stageNames[stageCount] = {
    "COM (CoInitialize)",
    "layout for the DPI (dialog units, centring)",
    "window icons for the DPI",
    "lists: 518 items, first selection, mirrored",
    "banner: resource and decoding",
    "banner: drawing and resizing",
    "button pictures: three buttons' icons and variants",
    "first paint: shown and painted",
};

// The host the stages act on: template 129 with a dialog procedure that only
// reflects the buttons' drawing requests to them, as the program's dialog does.
INT_PTR CALLBACK HostProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && wParam != 0) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        SetWindowLongA(dialog, DWL_MSGRESULT, SendMessageA(item->hwndItem, OCM_DRAWITEM, wParam, lParam));
        return TRUE;
    }
    return FALSE;
}

// Dispatches what is queued, paints included; returns when the queue is empty.
void Flush()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

struct Timings {
    double ms[stageCount] = {};
};

// One pass through the stages on a new dialog; false when it cannot be made.
// plain: only what a plain dialog of the template does too (centring, the
// lists, the first paint), as the start-up baseline does them.
bool RunStages(Timings& timings, bool plain)
{
    Stopwatch clock;
    if (!plain)
        CoInitialize(nullptr);
    timings.ms[comStage] = clock.ElapsedMs();

    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_DOMAIN_BROWSER), nullptr,
                                     HostProc, 0);
    if (dialog == nullptr)
        return false;
    {
        DialogDpi scaling;
        PictureBanner banner;
        IconButton buttons[3];
        OwnedIcon icons[2];  // released once the dialog that shows them is gone

        clock.Restart();
        if (!plain)
            scaling.Attach(dialog, DIALOG_BASE_WIDTH_AT_100);
        Window(dialog).CenterWindow();  // the baseline centres its dialog too
        timings.ms[layoutStage] = clock.ElapsedMs();

        clock.Restart();
        for (int i = 0; i < 2 && !plain; ++i) {
            icons[i].Attach(DomainBrowserDialog::LoadWindowIcon(i == 0, scaling.GetDpi()));
            SendMessageA(dialog, WM_SETICON, i == 0 ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icons[i].Get()));
        }
        timings.ms[iconStage] = clock.ElapsedMs();

        clock.Restart();
        HWND codes = GetDlgItem(dialog, IDC_CODE_LIST);
        HWND descriptions = GetDlgItem(dialog, IDC_DESCRIPTION_LIST);
        // The program fills with redrawing off; the baseline does not.
        if (!plain) {
            SendMessageA(codes, WM_SETREDRAW, FALSE, 0);
            SendMessageA(descriptions, WM_SETREDRAW, FALSE, 0);
        }
        for (int i = 0; i < domainTableSize; ++i) {
            SendMessageA(codes, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(domainTable[i].code));
            SendMessageA(descriptions, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(domainTable[i].description));
        }
        if (!plain) {
            SendMessageA(descriptions, WM_SETREDRAW, TRUE, 0);
            SendMessageA(codes, WM_SETREDRAW, TRUE, 0);
        }
        SendMessageA(codes, LB_SETCURSEL, 0, 0);
        struct {
            void SetCurrentUrl(const char*) {}
            void SetVisitEnabled(bool) {}
        } host;
        ListBoxList codeList(codes), descriptionList(descriptions);
        SyncSelection(codeList, descriptionList, false, domainTable, domainTableSize, host);
        timings.ms[listStage] = clock.ElapsedMs();

        if (!plain) {
            clock.Restart();
            banner.SubclassWindow(GetDlgItem(dialog, IDC_MAIN_BANNER));
            banner.LoadScaled(MAKEINTRESOURCEA(IDR_BANNER_MAIN), MAKEINTRESOURCEA(IDR_BANNER_MAIN_2X), RT_JPEG,
                              scaling.GetScaleNumerator(), scaling.GetScaleDenominator());
            timings.ms[decodeStage] = clock.ElapsedMs();
            clock.Restart();
            banner.RenderPicture();
            timings.ms[renderStage] = clock.ElapsedMs();

            clock.Restart();
            const int ids[3] = {ID_APP_ABOUT, IDCANCEL, IDC_VISIT};
            const UINT (*bitmaps[3])[IconButton::iconSizeCount] = {&ButtonPictures::about, &ButtonPictures::exit,
                                                                   &ButtonPictures::visit};
            for (int i = 0; i < 3; ++i) {
                buttons[i].SubclassWindow(GetDlgItem(dialog, ids[i]));
                buttons[i].LoadImages(*bitmaps[i], ButtonPictures::maskColour, scaling.GetDpi());
            }
            timings.ms[buttonStage] = clock.ElapsedMs();
        }

        clock.Restart();
        ShowWindow(dialog, SW_SHOW);
        RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Flush();
        GdiFlush();
        timings.ms[paintStage] = clock.ElapsedMs();

        DestroyWindow(dialog);
        Flush();
    }
    if (!plain)
        CoUninitialize();
    return true;
}

// Runs this program with --child (or --plain-child) count times and
// collects each run's figures.
bool RunColdChildren(int count, bool plain, Sample (&cold)[stageCount])
{
    char path[MAX_PATH];
    if (GetModuleFileNameA(nullptr, path, MAX_PATH) == 0)
        return false;
    for (int run = 0; run < count; ++run) {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE readEnd = nullptr, writeEnd = nullptr;
        if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
            return false;
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        char commandLine[MAX_PATH + 16];
        snprintf(commandLine, sizeof commandLine, "\"%s\" %s", path, plain ? "--plain-child" : "--child");
        PROCESS_INFORMATION process = {};
        const BOOL started = CreateProcessA(path, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                            &process);
        CloseHandle(writeEnd);
        char output[512] = {};
        DWORD total = 0, read = 0;
        while (started && total < sizeof output - 1
               && ReadFile(readEnd, output + total, sizeof output - 1 - total, &read, nullptr) && read > 0)
            total += read;
        CloseHandle(readEnd);
        if (!started)
            return false;
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        const char* at = output;
        for (int stage = 0; stage < stageCount; ++stage) {
            char* end = nullptr;
            const double value = strtod(at, &end);
            if (end == at)
                return false;
            cold[stage].Add(value);
            at = end;
        }
        Sleep(250);  // the child's clean-up in the Wine and X servers is not the next one's
    }
    return true;
}

double Sum(const Sample (&samples)[stageCount])
{
    double sum = 0.0;
    for (const Sample& sample : samples)
        sum += sample.Median();
    return sum;
}

} // namespace

int main(int argc, char** argv)
{
    int coldRuns = 15, warmRuns = 30;
    bool child = false, plain = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--child") == 0)
            child = true;
        else if (strcmp(argv[i], "--plain-child") == 0)
            child = plain = true;
        else if (strcmp(argv[i], "--cold") == 0 && i + 1 < argc)
            coldRuns = atoi(argv[++i]);
        else if (strcmp(argv[i], "--warm") == 0 && i + 1 < argc)
            warmRuns = atoi(argv[++i]);
    }
    // As the program starts: the common controls, the module record.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    appModule.Init(GetModuleHandleA(nullptr));

    if (child) {
        Timings timings;
        if (!RunStages(timings, plain))
            return 1;
        for (double ms : timings.ms)
            printf("%.3f ", ms);
        printf("\n");
        return 0;
    }
    if (coldRuns < 1 || coldRuns > Sample::capacity || warmRuns < 1 || warmRuns > Sample::capacity) {
        fprintf(stderr, "usage: zvx-bench-stages [--cold N] [--warm N]\n");
        return 2;
    }

    // Interleaved, so that drift in the machine's load weighs on both alike.
    Sample cold[stageCount], plainCold[stageCount], warm[stageCount], plainWarm[stageCount];
    for (int run = 0; run < coldRuns; ++run)
        if (!RunColdChildren(1, false, cold) || !RunColdChildren(1, true, plainCold)) {
            fprintf(stderr, "stages: a cold run failed\n");
            return 1;
        }
    Timings first;
    RunStages(first, false);  // this process's own first pass: neither cold (its libraries are loaded) nor warm
    for (int run = 0; run < warmRuns; ++run) {
        Timings timings, plainTimings;
        if (!RunStages(timings, false) || !RunStages(plainTimings, true)) {
            fprintf(stderr, "stages: a warm run failed\n");
            return 1;
        }
        for (int stage = 0; stage < stageCount; ++stage) {
            warm[stage].Add(timings.ms[stage]);
            plainWarm[stage].Add(plainTimings.ms[stage]);
        }
    }

    printf("stages at %u DPI: %d cold runs (the first call in a fresh process), %d warm repetitions; the plain "
           "dialog only centres, fills the lists and paints, as the start-up baseline does\n",
           DpiApi::GetDpiForWindow(nullptr), coldRuns, warmRuns);
    for (int stage = 0; stage < stageCount; ++stage) {
        double low = 0.0, high = 0.0;
        cold[stage].MedianInterval(low, high);
        printf("stage %-52s cold %7.2f ms [%.2f, %.2f], warm %7.2f ms", stageNames[stage], cold[stage].Median(), low,
               high, warm[stage].Median());
        if (stage == layoutStage || stage == listStage || stage == paintStage)
            printf("; plain dialog cold %.2f, warm %.2f", plainCold[stage].Median(), plainWarm[stage].Median());
        printf("\n");
    }
    printf("stages beyond the plain dialog, sum of the medians: cold %.2f ms, warm %.2f ms\n",
           Sum(cold) - Sum(plainCold), Sum(warm) - Sum(plainWarm));
    return 0;
}
