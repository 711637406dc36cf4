#pragma once

#include <windows.h>

// Windows of the test's own classes, so that a test can see what the window
// procedure underneath a subclassed control receives.

// What the procedure of a probe control saw since the last Reset.
struct ProbeControlLog {
    int messages;
    int ncDestroys;
    LONG procedureAtNcDestroy;  // GWL_WNDPROC while WM_NCDESTROY was handled
    UINT lastUserMessage;

    void Reset() { *this = ProbeControlLog{}; }
};
extern ProbeControlLog probeLog;

// What a host window received since the last Reset.
struct HostLog {
    int styleChanging;
    int frameChanges;  // WM_WINDOWPOSCHANGING with SWP_FRAMECHANGED
    int positionChanging;

    void Reset() { *this = HostLog{}; }
};
extern HostLog hostLog;

// The probe control answers WM_USER + n (n < 0x100) with 0x1000 + n and
// handles WM_NCDESTROY itself, so a synthetic WM_NCDESTROY leaves it usable.
LRESULT CALLBACK ProbeControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A visible popup of the host class; owner may be NULL.
HWND CreateHost(int x, int y, int width, int height, HWND owner = nullptr, DWORD style = WS_POPUP | WS_VISIBLE);
HWND CreateChild(const char* className, HWND parent, int x, int y, int width, int height, int id,
                 DWORD style = WS_CHILD | WS_VISIBLE, const char* text = "");
HWND CreateProbeControl(HWND parent, int id = 100);

// True when the page holding address may execute.
bool IsExecutable(const void* address);
