// Start-up time of the program against the plain baseline and against the
// floor, all started from here: from CreateProcess to the moment the process
// first waits for input with nothing pending (WaitForInputIdle). The program
// and the baseline reach it in their loops' first idle pass, after the dialog
// is shown and painted; the floor, which creates no window, in its first
// GetMessage. A dialog is then closed as a user would close it; the floor is
// terminated.
//
// The design. A run can slow the run after it (the previous instance's
// clean-up in the Wine server and the X server overlaps the next start), so
// every counted comparison is between runs whose predecessors match. After
// the warm-up, each round is six runs, B baseline, Z zvx, F floor:
//
//     B0  Z1  B2  Z3  Z4  F
//
// - B0 is there so that Z1 follows a baseline run; it is not counted.
// - zvx/baseline: one adjacent couple per round, Z1 B2 (zvx first) in even
//   rounds and B2 Z3 (baseline first) in odd ones. In both, zvx follows a
//   baseline run and the baseline a zvx run, as in strict alternation.
// - A/A: Z1 against Z3, both following a baseline run; a seeded coin picks
//   the numerator. They are two runs apart where a couple is adjacent, so
//   slow drift weighs a little more here: A/A errs towards showing more noise.
// - Order: Z3 (after the baseline) against Z4 (after zvx), adjacent. Strict
//   alternation never runs zvx after zvx; Z4 is the one deliberate break, at
//   the end of the round, where no other counted run follows it. Near 1.000
//   the predecessor does not matter; far from it, only comparisons with
//   matched predecessors (the two above) can be trusted.
// - Own work: the couple's zvx run and B2, each minus a floor: F of the same
//   round (F always follows Z4 and precedes the next B0), and the median F of
//   the whole run, which keeps the floor's own noise out of both terms. A
//   round whose F is not shorter than both programs' runs says nothing of
//   their own work: it is left out of the own-work figures and counted.
//
// A round counts only when all six runs succeeded. Every figure is a median
// of one value per round, with a 95% bootstrap interval; all of them keep
// one value per counted round in round order, so the bootstrap's draws (the
// same for samples of the same size) resample whole rounds.
//
// The verdict is judged on the ratio of the medians of the own work against
// the run's median floor, what a reader means by "zvx's own work is R times
// the baseline's", with its interval from resampling whole rounds. It is
// given only when the machine's noise allows it: the A/A interval must lie
// within [0.95, 1.05], and at most a tenth of the rounds left out.
//
// zvx-bench-startup [--rounds N] [--warmup N] [--pause ms] [program.exe baseline.exe floor.exe]
// Without paths it takes ..\app\zvx.exe, and zvx-baseline.exe and
// zvx-floor.exe next to itself.
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

// The own-work ratio that zvx is to stay within.
const double ownWorkTarget = 1.10;
// Noise that still lets a run decide it: the A/A interval must lie within
// these bounds.
const double selfLow = 0.95;
const double selfHigh = 1.05;
// Rounds that may be left out of the own-work figures before the run cannot
// decide: a tenth.
const int leftOutPerTen = 1;

// One of the three programs and what its measured runs showed.
struct Program {
    Program(const char* label, const char* path, bool showsDialog)
        : label(label), path(path), showsDialog(showsDialog)
    {
    }

    const char* label;
    const char* path;
    bool showsDialog;
    int runs = 0;             // measured runs that succeeded
    Sample close;             // from posting IDCANCEL to the end of the process
    Sample peakWorkingSet;    // KB, read once the process is idle
    Sample privateBytes;      // KB, likewise
    int visibleAtIdle = 0;    // the dialog was visible when WaitForInputIdle returned
    int exitCodeTwo = 0;      // ended with the exit code of IDCANCEL
    int windowless = 0;       // the floor: no top-level window at idle
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

// One start and close; false when the run failed. The start-up time goes to
// elapsed, and the rest of a measured run into the program's tally.
bool RunOnce(Program& program, bool measured, double& elapsed)
{
    Sleep(pauseMs);
    Stopwatch clock;
    testing::TestProcess child(program.path);
    if (!child.Started()) {
        fprintf(stderr, "%s: cannot start %s (error %lu)\n", program.label, program.path, GetLastError());
        ++program.failures;
        return false;
    }
    const bool idle = child.WaitIdle(timeoutMs);
    elapsed = clock.ElapsedMs();

    if (!program.showsDialog) {
        // Wine's WaitForInputIdle also returns when the process has ended,
        // which is no wait for input. The process is then ended by the
        // helper's destructor (TerminateProcess): it has no window to close
        // and nothing to clean up.
        const bool running = child.WaitExit(0) == STILL_ACTIVE;
        const bool windowless = child.CountWindows() == 0;
        if (!idle || !running) {
            fprintf(stderr, "%s: run failed (idle %d, running %d)\n", program.label, idle, running);
            ++program.failures;
            return false;
        }
        if (measured) {
            ++program.runs;
            program.windowless += windowless ? 1 : 0;
        }
        return true;
    }

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
        fprintf(stderr, "%s: run failed (idle %d, dialog %p, exit code %d)\n", program.label, idle,
                static_cast<void*>(dialog), exitCode);
        ++program.failures;
        return false;
    }
    if (measured) {
        ++program.runs;
        program.close.Add(closing);
        if (memoryRead) {
            program.peakWorkingSet.Add(peakWorkingSet);
            program.privateBytes.Add(privateBytes);
        }
        program.visibleAtIdle += visible ? 1 : 0;
        program.exitCodeTwo += exitCode == IDCANCEL ? 1 : 0;
    }
    return true;
}

// The runs of a round in the order they run, named as in the design above.
enum Slot { runB0, runZ1, runB2, runZ3, runZ4, runF, slotCount };

// One value per counted round for each figure, added in round order; the
// own-work figures only for the rounds they can use.
struct Figures {
    Sample runs[slotCount];
    Sample zvxOfCouple;
    Sample wholeRatio;
    Sample selfRatio;
    Sample orderRatio;
    // Rounds whose floor run was shorter than both programs' runs.
    Sample ownZvx;        // the couple's zvx run
    Sample ownBaseline;   // B2
    Sample ownFloor;      // F
    Sample zvxOwn;        // zvx minus the round's F
    Sample baselineOwn;   // B2 minus the round's F
    Sample ownRatio;      // of those two
    int leftOut = 0;      // rounds whose floor run was as long as a program's or longer
};

// The seeded coin of the A/A pairs: xorshift32, one toss per round whether or
// not the round counts, so that a failure elsewhere changes no other toss.
bool TossCoin(unsigned int& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return (state >> 16) & 1u;
}

void AddRound(Figures& figures, const double (&time)[slotCount], int round, bool coin)
{
    for (int slot = 0; slot < slotCount; ++slot)
        figures.runs[slot].Add(time[slot]);
    const double zvx = round % 2 == 0 ? time[runZ1] : time[runZ3];
    figures.zvxOfCouple.Add(zvx);
    figures.wholeRatio.Add(zvx / time[runB2]);
    figures.selfRatio.Add(coin ? time[runZ1] / time[runZ3] : time[runZ3] / time[runZ1]);
    figures.orderRatio.Add(time[runZ3] / time[runZ4]);
    const double floor = time[runF];
    if (!(floor < zvx && floor < time[runB2])) {
        ++figures.leftOut;
        return;
    }
    figures.ownZvx.Add(zvx);
    figures.ownBaseline.Add(time[runB2]);
    figures.ownFloor.Add(floor);
    figures.zvxOwn.Add(zvx - floor);
    figures.baselineOwn.Add(time[runB2] - floor);
    figures.ownRatio.Add((zvx - floor) / (time[runB2] - floor));
}

// The own work of each usable round against the median floor of the whole run.
void AgainstRunFloor(const Figures& figures, Sample& zvxOwn, Sample& ratio)
{
    const double floor = figures.ownFloor.Median();
    for (int i = 0; i < figures.ownFloor.Count(); ++i) {
        const double zvx = figures.ownZvx.Value(i) - floor;
        const double baseline = figures.ownBaseline.Value(i) - floor;
        zvxOwn.Add(zvx);
        if (baseline > 0.0)
            ratio.Add(zvx / baseline);
    }
}

void PrintChecks(const Program& program)
{
    if (program.showsDialog)
        printf("%-34s visible at idle %d/%d, exit code 2 %d/%d\n", program.label, program.visibleAtIdle,
               program.runs, program.exitCodeTwo, program.runs);
    else
        printf("%-34s no window at idle %d/%d\n", program.label, program.windowless, program.runs);
}

void PrintMemory(const Program& program)
{
    printf("memory at idle, %s: n=%d, peak working set median %.0f KB (min %.0f, max %.0f), "
           "private bytes median %.0f KB (min %.0f, max %.0f)\n",
           program.label, program.peakWorkingSet.Count(), program.peakWorkingSet.Median(),
           program.peakWorkingSet.Min(), program.peakWorkingSet.Max(), program.privateBytes.Median(),
           program.privateBytes.Min(), program.privateBytes.Max());
}

// "label: median R, 95% interval [L, U]", the form scripts and readers look for.
void PrintRatio(const char* label, const Sample& ratios)
{
    double low = 0.0;
    double high = 0.0;
    ratios.MedianInterval(low, high);
    printf("%s: median %.3f, 95%% interval [%.3f, %.3f]\n", label, ratios.Median(), low, high);
}

// Whether the run settles the target: only when the A/A interval shows
// noise small enough and few rounds were left out, and then by where the
// interval of the ratio of the medians lies.
void PrintVerdict(const Figures& figures, double low, double high)
{
    double selfLowSeen = 0.0;
    double selfHighSeen = 0.0;
    figures.selfRatio.MedianInterval(selfLowSeen, selfHighSeen);
    const int counted = figures.selfRatio.Count();
    printf("target own work zvx/baseline at most %.2f (ratio of the medians, the run's median floor): ", ownWorkTarget);
    if (figures.leftOut * 10 > counted * leftOutPerTen)
        printf("not decided (%d of %d rounds left out, more than a tenth)\n", figures.leftOut, counted);
    else if (selfLowSeen < selfLow || selfHighSeen > selfHigh)
        printf("not decided (the A/A interval [%.3f, %.3f] is not within [%.2f, %.2f]: the noise is too large)\n",
               selfLowSeen, selfHighSeen, selfLow, selfHigh);
    else if (high <= ownWorkTarget)
        printf("met (the interval lies at or below it)\n");
    else if (low > ownWorkTarget)
        printf("not met (the interval lies above it)\n");
    else
        printf("not decided (the interval contains it)\n");
}

} // namespace

int main(int argc, char** argv)
{
    int rounds = 40;
    int warmups = 2;
    const char* paths[3] = {nullptr, nullptr, nullptr};
    int pathCount = 0;
    bool pathsOverflow = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--rounds") == 0 && i + 1 < argc)
            rounds = atoi(argv[++i]);
        else if (strcmp(argv[i], "--warmup") == 0 && i + 1 < argc)
            warmups = atoi(argv[++i]);
        else if (strcmp(argv[i], "--pause") == 0 && i + 1 < argc)
            pauseMs = static_cast<DWORD>(atoi(argv[++i]));
        else if (pathCount < 3)
            paths[pathCount++] = argv[i];
        else
            pathsOverflow = true;
    }
    if (rounds < 1 || rounds > Sample::capacity || warmups < 0 || (pathCount != 0 && pathCount != 3) ||
        pathsOverflow) {
        fprintf(stderr, "usage: zvx-bench-startup [--rounds N] [--warmup N] [--pause ms] "
                        "[program.exe baseline.exe floor.exe]\n");
        return 2;
    }

    char directory[MAX_PATH];
    char defaultProgram[MAX_PATH + 32];
    char defaultBaseline[MAX_PATH + 32];
    char defaultFloor[MAX_PATH + 32];
    if (pathCount == 0) {
        const DWORD length = GetModuleFileNameA(nullptr, directory, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return 2;
        char* slash = strrchr(directory, '\\');
        if (slash != nullptr)
            *slash = '\0';
        snprintf(defaultProgram, sizeof defaultProgram, "%s\\..\\app\\zvx.exe", directory);
        snprintf(defaultBaseline, sizeof defaultBaseline, "%s\\zvx-baseline.exe", directory);
        snprintf(defaultFloor, sizeof defaultFloor, "%s\\zvx-floor.exe", directory);
        paths[0] = defaultProgram;
        paths[1] = defaultBaseline;
        paths[2] = defaultFloor;
    }

    Program zvxProgram("start-up zvx.exe", paths[0], true);
    Program baselineProgram("start-up baseline", paths[1], true);
    Program floorProgram("start-up floor", paths[2], false);
    Program* const runOrder[slotCount] = {&baselineProgram, &zvxProgram, &baselineProgram, &zvxProgram, &zvxProgram, &floorProgram};

    printf("start-up: %d warm-up runs of each, then %d rounds of six runs, B0 Z1 B2 Z3 Z4 F "
           "(B baseline, Z zvx, F floor)\n",
           warmups, rounds);
    Stopwatch total;
    double ignored = 0.0;
    for (int i = 0; i < warmups; ++i) {
        RunOnce(zvxProgram, false, ignored);
        RunOnce(baselineProgram, false, ignored);
        RunOnce(floorProgram, false, ignored);
    }
    Stopwatch measured;
    Figures figures;
    unsigned int coinState = 0x2545F491u;
    for (int round = 0; round < rounds; ++round) {
        double time[slotCount] = {};
        bool complete = true;
        for (int slot = 0; slot < slotCount; ++slot)
            complete = RunOnce(*runOrder[slot], slot != runB0, time[slot]) && complete;
        const bool coin = TossCoin(coinState);
        if (complete)
            AddRound(figures, time, round, coin);
    }
    const double measuredSeconds = measured.ElapsedMs() / 1000.0;

    const int counted = figures.selfRatio.Count();
    printf("rounds counted: %d of %d\n", counted, rounds);
    figures.runs[runB0].Print("B0 baseline (after F, not counted)");
    figures.runs[runZ1].Print("Z1 zvx.exe (after B0)");
    figures.runs[runB2].Print("B2 baseline (after Z1)");
    figures.runs[runZ3].Print("Z3 zvx.exe (after B2)");
    figures.runs[runZ4].Print("Z4 zvx.exe (after Z3)");
    figures.runs[runF].Print("F  floor (after Z4)");
    figures.zvxOfCouple.Print("zvx.exe of the couple (Z1 or Z3)");
    figures.zvxOwn.Print("own work zvx.exe (round's floor)");
    figures.baselineOwn.Print("own work baseline (round's floor)");
    Sample zvxOwnRunFloor;
    Sample ownRatioRunFloor;
    AgainstRunFloor(figures, zvxOwnRunFloor, ownRatioRunFloor);
    zvxOwnRunFloor.Print("own work zvx.exe (run's median floor)");
    if (figures.ownFloor.Count() > 0)
        printf("start-up own work difference zvx - baseline (medians, run's median floor): %.2f ms\n",
               figures.ownZvx.Median() - figures.ownBaseline.Median());
    zvxProgram.close.Print("close zvx.exe");
    baselineProgram.close.Print("close baseline");
    PrintChecks(zvxProgram);
    PrintChecks(baselineProgram);
    PrintChecks(floorProgram);
    PrintMemory(zvxProgram);
    PrintMemory(baselineProgram);
    printf("rounds left out of the own-work figures (floor run not shorter than both programs' runs): %d of %d\n",
           figures.leftOut, counted);
    if (counted > 0) {
        PrintRatio("start-up zvx/zvx (A/A)", figures.selfRatio);
        PrintRatio("start-up whole process zvx/baseline", figures.wholeRatio);
        PrintRatio("start-up zvx after baseline / zvx after zvx", figures.orderRatio);
    }
    if (figures.ownFloor.Count() > 0) {
        PrintRatio("start-up own work zvx/baseline, round's floor", figures.ownRatio);
        PrintRatio("start-up own work zvx/baseline, run's median floor", ownRatioRunFloor);
        double low = 0.0;
        double high = 0.0;
        const double ratio = Sample::RatioOfMedians(figures.ownZvx, figures.ownBaseline, figures.ownFloor, low, high);
        printf("start-up own work zvx/baseline, ratio of the medians, run's median floor: %.3f, "
               "95%% interval [%.3f, %.3f]\n",
               ratio, low, high);
        PrintVerdict(figures, low, high);
    } else if (counted > 0) {
        printf("target own work zvx/baseline at most %.2f: not decided (no round left a floor below both programs)\n",
               ownWorkTarget);
    }
    printf("start-up: the runs took %.0f s, %.1f s per round after the warm-up\n", total.ElapsedMs() / 1000.0,
           measuredSeconds / rounds);

    const int failures = zvxProgram.failures + baselineProgram.failures + floorProgram.failures;
    if (failures > 0 || counted == 0) {
        fprintf(stderr, "start-up: %d run(s) failed\n", failures);
        return 1;
    }
    return 0;
}
