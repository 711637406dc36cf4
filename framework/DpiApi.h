#pragma once

#include <windows.h>

// The display-scaling calls of newer systems, bound to user32.dll on their
// first use: the program also starts where they are missing (before Windows
// 10), and its import list stays that of the oldest system it runs on. Where
// a call is missing, each answer falls back to what older systems give.
class DpiApi {
public:
    // 100% display scaling.
    static constexpr UINT dpiAt100 = 96;

    // The DPI the window is drawn for: its monitor's for a per-monitor aware
    // window (Windows 10 1607 on); otherwise the system's, as the window's
    // device context reports it.
    static UINT GetDpiForWindow(HWND window);

    // A system metric as the system gives it for a window at dpi (Windows 10
    // 1607 on). Older systems know their metrics at the system's DPI only;
    // there it is scaled from that DPI to dpi, as the newer call scales it.
    static int GetSystemMetricsForDpi(int index, UINT dpi);

    // Stops the dialog manager of Windows 10 1703 on from resizing the dialog,
    // its controls and their fonts by itself when the dialog's DPI changes, so
    // that the program's own handling (which the dialog manager of other
    // systems and of Wine leaves to it) is the only one. FALSE where the
    // system has no such behaviour.
    static BOOL DisableDialogScaling(HWND dialog);
};

// Sent to a top-level window whose DPI changed (Windows 8.1 on): wParam holds
// the new DPI in both words, lParam points to the suggested window rectangle.
constexpr UINT WM_DPICHANGED_MESSAGE = 0x02E0;
