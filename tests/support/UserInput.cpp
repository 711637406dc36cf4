#include "support/UserInput.h"

namespace testing {

void PumpPending(const std::function<bool(MSG&)>& filter)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (filter && filter(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpFor(unsigned milliseconds, const std::function<bool(MSG&)>& filter)
{
    const DWORD end = GetTickCount() + milliseconds;
    do {
        PumpPending(filter);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
    PumpPending(filter);
}

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs,
               const std::function<bool(MSG&)>& filter)
{
    const DWORD end = GetTickCount() + timeoutMs;
    for (;;) {
        PumpPending(filter);
        if (condition())
            return true;
        if (static_cast<LONG>(end - GetTickCount()) <= 0)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PressKey(WORD virtualKey)
{
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = virtualKey;
    inputs[0].ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void PressChord(WORD modifier, WORD virtualKey)
{
    INPUT down = {};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = modifier;
    SendInput(1, &down, sizeof down);
    PressKey(virtualKey);
    INPUT up = down;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &up, sizeof up);
}

void TypeText(const char* text)
{
    for (; *text != '\0'; ++text) {
        const SHORT key = VkKeyScanA(*text);
        if (key == -1)
            continue;
        const bool shift = (key & 0x100) != 0;
        if (shift) {
            INPUT down = {};
            down.type = INPUT_KEYBOARD;
            down.ki.wVk = VK_SHIFT;
            SendInput(1, &down, sizeof down);
        }
        PressKey(static_cast<WORD>(key & 0xFF));
        if (shift) {
            INPUT up = {};
            up.type = INPUT_KEYBOARD;
            up.ki.wVk = VK_SHIFT;
            up.ki.dwFlags = KEYEVENTF_KEYUP;
            SendInput(1, &up, sizeof up);
        }
    }
}

void ClickAt(int screenX, int screenY)
{
    // Two clicks on one spot within the double-click time make a double
    // click, which a list box does not take as a new choice.
    static DWORD lastClick = 0;
    const DWORD wait = GetDoubleClickTime() + 50;
    if (lastClick != 0 && GetTickCount() - lastClick < wait)
        PumpFor(wait - (GetTickCount() - lastClick));
    SetCursorPos(screenX, screenY);
    INPUT inputs[3] = {};
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
    const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dx = screenX * 65535 / width;
    inputs[0].mi.dy = screenY * 65535 / height;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1] = inputs[0];
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2] = inputs[0];
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
    lastClick = GetTickCount();
}

void ClickClient(HWND window, const RECT& clientRect)
{
    POINT centre = {(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
    ClientToScreen(window, &centre);
    ClickAt(centre.x, centre.y);
}

void Activate(HWND window)
{
    SetForegroundWindow(window);
    SetActiveWindow(window);
    PumpFor(50);
}

} // namespace testing
