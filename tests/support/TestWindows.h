#pragma once

#include <windows.h>

namespace testing {

// Windows of the test's own classes, so that a test can see what the window
// procedure underneath a subclassed control, or a host, receives.
struct ProbeLog {
    int ncDestroys;
    LONG procedureAtNcDestroy;  // GWL_WNDPROC while WM_NCDESTROY was handled
    UINT lastUserMessage;
    int styleChanging;  // seen by hosts
    int frameChanges;   // WM_WINDOWPOSCHANGING with SWP_FRAMECHANGED, seen by hosts

    void Reset() { *this = ProbeLog{}; }
};
extern ProbeLog probeLog;

// A window of a class of the test's own, registered on first use with the
// button face as its background.
HWND CreateTestWindow(const char* className, WNDPROC procedure, HWND parent, DWORD style, int x, int y,
                      int width, int height, DWORD extendedStyle = 0);

// The probe control answers WM_USER + n (n < 0x100) with 0x1000 + n and
// handles WM_NCDESTROY itself, so a synthetic WM_NCDESTROY leaves it usable.
LRESULT CALLBACK ProbeControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A popup of the host class, shown without activation when style has WS_VISIBLE.
HWND CreateHost(int x, int y, int width, int height, HWND owner = nullptr, DWORD style = WS_POPUP | WS_VISIBLE);
HWND CreateProbeControl(HWND parent);

// True when the page holding address may execute.
bool IsExecutable(const void* address);

} // namespace testing
