#include "framework/DpiApi.h"

#include "framework/GdiScope.h"
#include "framework/SystemFunctions.h"

namespace {

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiProc = int(WINAPI*)(int, UINT);
using SetDialogDpiChangeBehaviorProc = BOOL(WINAPI*)(HWND, int, int);

// DDC_DISABLE_ALL: no resizing, no relayout, no new fonts.
constexpr int dialogScalingAll = 0x0001;

// Each on its own: they came with different versions of Windows 10.
enum Call { getDpiForWindow, getSystemMetricsForDpi, setDialogDpiChangeBehavior, callCount };
const char* const names[callCount] = {"GetDpiForWindow", "GetSystemMetricsForDpi", "SetDialogDpiChangeBehavior"};
SystemFunctions<callCount> user32("user32.dll", names);

// The DPI a window's DC (the screen's for NULL) reports; 0 without a DC.
int DeviceDpi(HWND window)
{
    WindowDC dc(window);
    return dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 0;
}

} // namespace

UINT DpiApi::GetDpiForWindow(HWND window)
{
    if (const auto forWindow = user32.Get<GetDpiForWindowProc>(getDpiForWindow))
        if (const UINT dpi = forWindow(window))
            return dpi;
    const int dpi = DeviceDpi(window);
    return dpi > 0 ? static_cast<UINT>(dpi) : dpiAt100;
}

int DpiApi::GetSystemMetricsForDpi(int index, UINT dpi)
{
    if (const auto forDpi = user32.Get<GetSystemMetricsForDpiProc>(getSystemMetricsForDpi))
        return forDpi(index, dpi);
    // The screen's DC reports the system's DPI, which GetSystemMetrics answers for.
    const int systemDpi = DeviceDpi(nullptr);
    const int metric = ::GetSystemMetrics(index);
    return systemDpi > 0 ? ::MulDiv(metric, static_cast<int>(dpi), systemDpi) : metric;
}

BOOL DpiApi::DisableDialogScaling(HWND dialog)
{
    const auto setBehavior = user32.Get<SetDialogDpiChangeBehaviorProc>(setDialogDpiChangeBehavior);
    return setBehavior != nullptr && setBehavior(dialog, dialogScalingAll, dialogScalingAll);
}
