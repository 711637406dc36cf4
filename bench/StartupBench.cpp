// Start-up time of the program against the plain baseline, both started
// from here: from CreateProcess to the moment the process first waits for
// input with nothing pending (WaitForInputIdle), which the program reaches
// in its loop's first idle pass, after the dialog is shown and painted.
// Each instance is then closed as a user would close it.
//
// A shared machine drifts by more than the difference measured, so the
// figure is the median of the ratios within pairs of neighbouring runs,
// with a bootstrap interval; each pair of the program against the baseline
// is followed by a pair of the program against itself (A/A), whose ratio
// shows what the noise alone makes of a difference of nothing. Within each
// pair the order alternates, so that neither side always goes first.
//
// zvx-bench-startup [--pairs N] [--warmup N] [--pause ms] [program.exe baseline.exe]
// Without paths it takes ..\app\zvx.exe and zvx-baseline.exe next to itself.
#include <windows.h>
#include <psapi.h>
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

// What one side of a comparison showed over its measured runs.
struct Tally {
    Tally(const char* label, const char* path) : label(label), path(path) {}

    const char* label;
    const char* path;
    Sample startup;
    Sample close;             // from posting IDCANCEL to the end of the process
    Sample peakWorkingSet;    // KB, read once the process is idle
    Sample privateBytes;      // KB, likewise
    int visibleAtIdle = 0;    // the dialog was visible when WaitForInputIdle returned
    int exitCodeTwo = 0;      // ended with the exit code of IDCANCEL
    int failures = 0;
};

// Both programs show template 129 with this caption.
const char* const dialogTitle = "Veltrano Zonarium 1.01";

// The memory of the process that owns window, in KB; false when it cannot be read.
bool ReadMemory(HWND window, double& peakWorkingSet, double& privateBytes)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr)
        return false;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    const BOOL read = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                           sizeof(counters));
    CloseHandle(process);
    if (!read)
        return false;
    peakWorkingSet = counters.PeakWorkingSetSize / 1024.0;
    privateBytes = counters.PrivateUsage / 1024.0;
    return true;
}

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
    double peakWorkingSet = 0.0;
    double privateBytes = 0.0;
    const bool memoryRead = dialog != nullptr && ReadMemory(dialog, peakWorkingSet, privateBytes);
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
        if (memoryRead) {
            tally.peakWorkingSet.Add(peakWorkingSet);
            tally.privateBytes.Add(privateBytes);
        }
        tally.visibleAtIdle += visible ? 1 : 0;
        tally.exitCodeTwo += exitCode == IDCANCEL ? 1 : 0;
    }
    return true;
}

// Runs one pair, first before second on even pairs and the other way round
// on odd ones; the pair counts only when both runs succeeded.
void RunPair(Tally& first, Tally& second, int pair, Sample& ratios)
{
    bool firstRan = false;
    bool secondRan = false;
    if (pair % 2 == 0) {
        firstRan = RunOnce(first, true);
        secondRan = RunOnce(second, true);
    } else {
        secondRan = RunOnce(second, true);
        firstRan = RunOnce(first, true);
    }
    if (firstRan && secondRan)
        ratios.Add(first.startup.Value(first.startup.Count() - 1) / second.startup.Value(second.startup.Count() - 1));
}

void PrintChecks(const Tally& tally)
{
    printf("%-34s visible at idle %d/%d, exit code 2 %d/%d\n", tally.label, tally.visibleAtIdle,
           tally.startup.Count(), tally.exitCodeTwo, tally.startup.Count());
}

void PrintMemory(const Tally& tally)
{
    printf("memory at idle, %s: n=%d, peak working set median %.0f KB (min %.0f, max %.0f), "
           "private bytes median %.0f KB (min %.0f, max %.0f)\n",
           tally.label, tally.peakWorkingSet.Count(), tally.peakWorkingSet.Median(), tally.peakWorkingSet.Min(),
           tally.peakWorkingSet.Max(), tally.privateBytes.Median(), tally.privateBytes.Min(),
           tally.privateBytes.Max());
}

void PrintRatio(const char* label, const Sample& ratios)
{
    double low = 0.0;
    double high = 0.0;
    ratios.MedianInterval(low, high);
    printf("%-30s median of %d pair ratios %.3f, 95%% bootstrap interval %.3f to %.3f\n", label, ratios.Count(),
           ratios.Median(), low, high);
}

} // namespace

int main(int argc, char** argv)
{
    int pairs = 60;
    int warmups = 2;
    const char* paths[2] = {nullptr, nullptr};
    int pathCount = 0;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--pairs") == 0 && i + 1 < argc)
            pairs = atoi(argv[++i]);
        else if (strcmp(argv[i], "--warmup") == 0 && i + 1 < argc)
            warmups = atoi(argv[++i]);
        else if (strcmp(argv[i], "--pause") == 0 && i + 1 < argc)
            pauseMs = static_cast<DWORD>(atoi(argv[++i]));
        else if (pathCount < 2)
            paths[pathCount++] = argv[i];
    }
    if (pairs < 1 || pairs > Sample::capacity || warmups < 0 || pathCount == 1) {
        fprintf(stderr, "usage: zvx-bench-startup [--pairs N] [--warmup N] [--pause ms] [program.exe baseline.exe]\n");
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
    Tally selfA("start-up zvx.exe, A/A first", paths[0]);
    Tally selfB("start-up zvx.exe, A/A second", paths[0]);

    printf("start-up: %d warm-up runs of each, then %d rounds of a pair zvx/baseline and a pair zvx/zvx (A/A)\n",
           warmups, pairs);
    Stopwatch total;
    for (int i = 0; i < warmups; ++i) {
        RunOnce(program, false);
        RunOnce(baseline, false);
    }
    Sample ratios;
    Sample selfRatios;
    for (int i = 0; i < pairs; ++i) {
        RunPair(program, baseline, i, ratios);
        RunPair(selfA, selfB, i, selfRatios);
    }

    program.startup.Print(program.label);
    baseline.startup.Print(baseline.label);
    selfA.startup.Print(selfA.label);
    selfB.startup.Print(selfB.label);
    program.close.Print("close zvx.exe");
    baseline.close.Print("close baseline");
    PrintChecks(program);
    PrintChecks(baseline);
    PrintMemory(program);
    PrintMemory(baseline);
    PrintRatio("start-up zvx/baseline:", ratios);
    PrintRatio("start-up zvx/zvx (A/A):", selfRatios);
    if (baseline.startup.Median() > 0.0)
        printf("%-30s ratio of the medians %.3f\n", "start-up zvx/baseline:",
               program.startup.Median() / baseline.startup.Median());
    printf("start-up: the runs took %.0f s\n", total.ElapsedMs() / 1000.0);

    const int failures = program.failures + baseline.failures + selfA.failures + selfB.failures;
    if (failures > 0 || ratios.Count() == 0 || selfRatios.Count() == 0) {
        fprintf(stderr, "start-up: %d run(s) failed\n", failures);
        return 1;
    }
    return 0;
}
