// The start-up floor: a GUI process that creates no window and only waits
// for input. Its time to WaitForInputIdle is what the system charges any GUI
// program before the program's own work (process creation, the loader, the
// runtime, the window system's per-process and per-thread start, a message
// queue); the start-up benchmark subtracts it from zvx's and the baseline's
// times. No resources and no manifest: loading the version 6 controls is
// work both programs do for their dialog, so it belongs to their own work.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The first GetMessage that finds the queue empty is the process's first
    // wait for input, where WaitForInputIdle returns, as in the programs'
    // loops. Nothing posts to it: the benchmark terminates it.
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    }
    return 0;
}
