// Start-up time of the program against the plain baseline, both started
// from here: from CreateProcess to the moment the process first waits for
// input with nothing pending (WaitForInputIdle), which the program reaches
// in its loop's first idle pass, after the dialog is shown and painted.
// Each instance is then closed as a user would close it.
//
// zvx-bench-startup [--runs N] [--warmup N] [--pause ms] [program.exe baseline.exe]
// Without paths it takes ..\app\zvx.exe and zvx-baseline.exe next to itself.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench/Sample.h"
#include "bench/Stopwatch.h"
#include "support/TestProcess.h"

namespace {

const DWORD timeoutMs = 30000;
// Between two runs, so that the previous instance's clean-up (in the Wine
// server and the X server) is not charged to the next one.
DWORD pauseMs = 250;

// What one program showed over its measured runs.
struct Tally {
    Tally(const char* label, const char* path) : label(label), path(path) {}

    const char* label;
    const char* path;
    Sample startup;
    Sample close;             // from posting IDCANCEL to the end of the process
    int visibleAtIdle = 0;    // the dialog was visible when WaitForInputIdle returned
    int exitCodeTwo = 0;      // ended with the exit code of IDCANCEL
    int failures = 0;
};

// Both programs show template 129 with this caption.
const char* const dialogTitle = "Veltrano Zonarium 1.01";

// One start and close; measured runs go into the tally.
bool RunOnce(Tally& tally, bool measured)
{
    Sleep(pauseMs);
    Stopwatch clock;
    testing::TestProcess child(tally.path);
    if (!child.Started()) {
        fprintf(stderr, "%s: cannot start %s (error %lu)\n", tally.label, tally.path, GetLastError());
        ++tally.failures;
        return false;
    }
    const bool idle = child.WaitIdle(timeoutMs);
    const double elapsed = clock.ElapsedMs();
    // Looked for at once, before the child can change anything; only a
    // visible dialog is found.
    HWND dialog = child.FindWindowTitled(dialogTitle, 0);
    const bool visible = dialog != nullptr;

    if (dialog == nullptr)
        dialog = child.FindWindowTitled(dialogTitle, timeoutMs);
    clock.Restart();
    int exitCode = -1;
    if (dialog != nullptr) {
        // What Escape and the Exit button do.
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        const DWORD code = child.WaitExit(timeoutMs);
        exitCode = code == STILL_ACTIVE ? -1 : static_cast<int>(code);
    }
    const double closing = clock.ElapsedMs();
    if (!idle || dialog == nullptr || exitCode < 0) {
        fprintf(stderr, "%s: run failed (idle %d, dialog %p, exit code %d)\n", tally.label, idle,
                static_cast<void*>(dialog), exitCode);
        ++tally.failures;
        return false;
    }
    if (measured) {
        tally.startup.Add(elapsed);
        tally.close.Add(closing);
        tally.visibleAtIdle += visible ? 1 : 0;
        tally.exitCodeTwo += exitCode == IDCANCEL ? 1 : 0;
    }
    return true;
}

void PrintChecks(const Tally& tally)
{
    printf("%-34s visible at idle %d/%d, exit code 2 %d/%d\n", tally.label, tally.visibleAtIdle,
           tally.startup.Count(), tally.exitCodeTwo, tally.startup.Count());
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 25;
    int warmups = 3;
    const char* paths[2] = {nullptr, nullptr};
    int pathCount = 0;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = atoi(argv[++i]);
        else if (strcmp(argv[i], "--warmup") == 0 && i + 1 < argc)
            warmups = atoi(argv[++i]);
        else if (strcmp(argv[i], "--pause") == 0 && i + 1 < argc)
            pauseMs = static_cast<DWORD>(atoi(argv[++i]));
        else if (pathCount < 2)
            paths[pathCount++] = argv[i];
    }
    if (runs < 1 || runs > Sample::capacity || warmups < 0 || pathCount == 1) {
        fprintf(stderr, "usage: zvx-bench-startup [--runs N] [--warmup N] [--pause ms] [program.exe baseline.exe]\n");
        return 2;
    }

    char directory[MAX_PATH];
    char defaultProgram[MAX_PATH + 32];
    char defaultBaseline[MAX_PATH + 32];
    if (pathCount == 0) {
        const DWORD length = GetModuleFileNameA(nullptr, directory, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return 2;
        char* slash = strrchr(directory, '\\');
        if (slash != nullptr)
            *slash = '\0';
        snprintf(defaultProgram, sizeof defaultProgram, "%s\\..\\app\\zvx.exe", directory);
        snprintf(defaultBaseline, sizeof defaultBaseline, "%s\\zvx-baseline.exe", directory);
        paths[0] = defaultProgram;
        paths[1] = defaultBaseline;
    }

    Tally program("start-up zvx.exe", paths[0]);
    Tally baseline("start-up baseline", paths[1]);

    printf("start-up: %d warm-up and %d measured runs of each, alternating\n", warmups, runs);
    for (int i = 0; i < warmups; ++i) {
        RunOnce(program, false);
        RunOnce(baseline, false);
    }
    for (int i = 0; i < runs; ++i) {
        RunOnce(program, true);
        RunOnce(baseline, true);
    }

    program.startup.Print(program.label);
    baseline.startup.Print(baseline.label);
    program.close.Print("close zvx.exe");
    baseline.close.Print("close baseline");
    PrintChecks(program);
    PrintChecks(baseline);
    // The medians are the figure; the lower quartiles are less disturbed by
    // whatever else the machine does, and the ratio within each pair of
    // neighbouring runs follows slow changes of that load.
    if (baseline.startup.Median() > 0.0 && baseline.startup.Quantile(0.25) > 0.0) {
        Sample pairs;
        for (int i = 0; i < program.startup.Count() && i < baseline.startup.Count(); ++i)
            pairs.Add(program.startup.Value(i) / baseline.startup.Value(i));
        printf("start-up ratio zvx/baseline: medians %.3f, lower quartiles %.3f, median of run pairs %.3f\n",
               program.startup.Median() / baseline.startup.Median(),
               program.startup.Quantile(0.25) / baseline.startup.Quantile(0.25), pairs.Median());
    }

    const int failures = program.failures + baseline.failures;
    if (failures > 0 || program.startup.Count() == 0 || baseline.startup.Count() == 0) {
        fprintf(stderr, "start-up: %d run(s) failed\n", failures);
        return 1;
    }
    return 0;
}
