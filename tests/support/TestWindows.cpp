#include "support/TestWindows.h"

namespace testing {

ProbeLog probeLog;

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_STYLECHANGING)
        ++probeLog.styleChanging;
    if (message == WM_WINDOWPOSCHANGING && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_FRAMECHANGED))
        ++probeLog.frameChanges;
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND CreateTestWindow(const char* className, WNDPROC procedure, HWND parent, DWORD style, int x, int y,
                      int width, int height, DWORD extendedStyle)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);  // fails harmlessly once registered
    return CreateWindowExA(extendedStyle, className, "", style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

LRESULT CALLBACK ProbeControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCDESTROY) {
        ++probeLog.ncDestroys;
        probeLog.procedureAtNcDestroy = GetWindowLongA(window, GWL_WNDPROC);
        return 0;
    }
    if (message >= WM_USER && message < WM_USER + 0x100) {
        probeLog.lastUserMessage = message;
        return 0x1000 + (message - WM_USER);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHost(int x, int y, int width, int height, HWND owner, DWORD style)
{
    HWND host = CreateTestWindow("ZvxTestHost", HostProc, owner, style & ~WS_VISIBLE, x, y, width, height);
    // Shown without activation: Wine waits for a window manager that is not
    // there before it lets go of an activated top-level window.
    if (host != nullptr && (style & WS_VISIBLE))
        ShowWindow(host, SW_SHOWNA);
    return host;
}

HWND CreateProbeControl(HWND parent)
{
    return CreateTestWindow("ZvxTestProbeControl", ProbeControlProc, parent, WS_CHILD | WS_VISIBLE, 10, 10, 80, 20);
}

bool IsExecutable(const void* address)
{
    MEMORY_BASIC_INFORMATION info = {};
    if (VirtualQuery(address, &info, sizeof info) != sizeof info)
        return false;
    const DWORD executable = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return info.State == MEM_COMMIT && (info.Protect & executable) != 0;
}

} // namespace testing
