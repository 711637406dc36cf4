#include "TestWindows.h"

ProbeControlLog probeLog;
HostLog hostLog;

namespace {

const char probeClass[] = "ZvxTestProbeControl";
const char hostClass[] = "ZvxTestHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_STYLECHANGING:
        ++hostLog.styleChanging;
        break;
    case WM_WINDOWPOSCHANGING:
        ++hostLog.positionChanging;
        if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_FRAMECHANGED)
            ++hostLog.frameChanges;
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA probe = {};
    probe.lpfnWndProc = ProbeControlProc;
    probe.hInstance = GetModuleHandleA(nullptr);
    probe.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    probe.lpszClassName = probeClass;
    RegisterClassA(&probe);
    WNDCLASSA host = probe;
    host.lpfnWndProc = HostProc;
    host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    host.lpszClassName = hostClass;
    RegisterClassA(&host);
    registered = true;
}

} // namespace

LRESULT CALLBACK ProbeControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++probeLog.messages;
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
    RegisterClasses();
    HWND host = CreateWindowExA(0, hostClass, "host", style & ~WS_VISIBLE, x, y, width, height, owner, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    // Shown without activation: Wine waits for a window manager that is not
    // there before it lets go of an activated top-level window.
    if (host != nullptr && (style & WS_VISIBLE))
        ShowWindow(host, SW_SHOWNA);
    return host;
}

HWND CreateChild(const char* className, HWND parent, int x, int y, int width, int height, int id,
                 DWORD style, const char* text)
{
    RegisterClasses();
    return CreateWindowExA(0, className, text, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

HWND CreateProbeControl(HWND parent, int id)
{
    return CreateChild(probeClass, parent, 10, 10, 80, 20, id);
}

bool IsExecutable(const void* address)
{
    MEMORY_BASIC_INFORMATION info = {};
    if (VirtualQuery(address, &info, sizeof info) != sizeof info)
        return false;
    const DWORD executable = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    return info.State == MEM_COMMIT && (info.Protect & executable) != 0;
}
