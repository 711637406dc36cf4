#include "framework/DpiApi.h"

#include "framework/SystemLibrary.h"

namespace {

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
using SetDialogDpiChangeBehaviorProc = BOOL(WINAPI*)(HWND, int, int);

// DDC_DISABLE_ALL: no resizing, no relayout, no new fonts.
constexpr int dialogScalingAll = 0x0001;

SystemLibrary user32("user32.dll");

} // namespace

UINT DpiApi::GetDpiForWindow(HWND window)
{
    const GetDpiForWindowProc getDpiForWindow = user32.Find<GetDpiForWindowProc>("GetDpiForWindow");
    if (getDpiForWindow != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0)
            return dpi;
    }
    HDC dc = ::GetDC(window);
    const int dpi = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc != nullptr)
        ::ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : dpiAt100;
}

int DpiApi::GetSystemMetricsForDpi(int index, UINT dpi)
{
    const GetSystemMetricsForDpiProc forDpi = user32.Find<GetSystemMetricsForDpiProc>("GetSystemMetricsForDpi");
    if (forDpi != nullptr)
        return forDpi(index, dpi);
    // The screen's DC reports the system's DPI, which GetSystemMetrics answers for.
    HDC screen = ::GetDC(nullptr);
    const int systemDpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr)
        ::ReleaseDC(nullptr, screen);
    const int metric = ::GetSystemMetrics(index);
    return systemDpi > 0 ? ::MulDiv(metric, static_cast<int>(dpi), systemDpi) : metric;
}

BOOL DpiApi::DisableDialogScaling(HWND dialog)
{
    const SetDialogDpiChangeBehaviorProc setBehavior =
        user32.Find<SetDialogDpiChangeBehaviorProc>("SetDialogDpiChangeBehavior");
    return setBehavior != nullptr && setBehavior(dialog, dialogScalingAll, dialogScalingAll);
}
