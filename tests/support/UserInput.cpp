#include "support/UserInput.h"

namespace testing {

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs,
               const std::function<bool(MSG&)>& filter)
{
    const DWORD start = GetTickCount();
    // A queue that never runs dry (a timer, a message that posts itself)
    // must not hold the wait past its end either.
    const auto late = [&] { return GetTickCount() - start >= timeoutMs; };
    for (;;) {
        MSG msg;
        while (!late() && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (filter && filter(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition())
            return true;
        if (late())
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool WaitSettled(unsigned quietMs, unsigned timeoutMs, const std::function<bool(MSG&)>& filter)
{
    bool handled = false;
    DWORD quietSince = GetTickCount();
    return WaitUntil(
        [&] {
            if (handled) {
                handled = false;
                quietSince = GetTickCount();
            }
            return GetTickCount() - quietSince >= quietMs;
        },
        timeoutMs,
        [&](MSG& msg) {
            handled = true;
            return filter && filter(msg);
        });
}

void PumpFor(unsigned milliseconds, const std::function<bool(MSG&)>& filter)
{
    WaitUntil([] { return false; }, milliseconds, filter);
}

namespace {

void SendKey(WORD virtualKey, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, 0));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

} // namespace

void PostKey(HWND window, WORD virtualKey)
{
    PostMessageA(window, WM_KEYDOWN, virtualKey, 0x00000001);
    PostMessageA(window, WM_KEYUP, virtualKey, 0xC0000001);
}

void PressKey(WORD virtualKey)
{
    SendKey(virtualKey, 0);
    SendKey(virtualKey, KEYEVENTF_KEYUP);
}

void PressChord(WORD modifier, WORD virtualKey)
{
    SendKey(modifier, 0);
    PressKey(virtualKey);
    SendKey(modifier, KEYEVENTF_KEYUP);
}

void TypeText(const char* text)
{
    for (; *text != '\0'; ++text) {
        const SHORT key = VkKeyScanA(*text);
        if (key == -1)
            continue;
        if (key & 0x100)
            PressChord(VK_SHIFT, static_cast<WORD>(key & 0xFF));
        else
            PressKey(static_cast<WORD>(key & 0xFF));
    }
}

namespace {

// Sends clicks (one or two) at the centre of the rectangle in one batch, so
// that two of them fall within the double-click time.
void SendClicks(HWND window, const RECT& clientRect, int clicks)
{
    // Two clicks on one spot within the double-click time make a double
    // click, which a list box does not take as a new choice; so does a click
    // that follows the last batch too soon.
    static DWORD lastClick = 0;
    const DWORD wait = GetDoubleClickTime() + 50;
    if (lastClick != 0 && GetTickCount() - lastClick < wait)
        PumpFor(wait - (GetTickCount() - lastClick));
    POINT centre = {(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
    ClientToScreen(window, &centre);
    SetCursorPos(centre.x, centre.y);
    // One time stamp for the whole batch: the clicks of a double-click stay
    // within the double-click time however late a busy machine delivers them.
    const DWORD now = GetTickCount();
    INPUT inputs[5] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.time = now;
        input.mi.dx = centre.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = centre.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    for (int i = 0; i < clicks; ++i) {
        inputs[1 + 2 * i].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
        inputs[2 + 2 * i].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(1 + 2 * clicks, inputs, sizeof(INPUT));
    lastClick = GetTickCount();
}

} // namespace

void ClickClient(HWND window, const RECT& clientRect)
{
    SendClicks(window, clientRect, 1);
}

void DoubleClickClient(HWND window, const RECT& clientRect)
{
    SendClicks(window, clientRect, 2);
}

bool Activate(HWND window)
{
    SetForegroundWindow(window);
    SetActiveWindow(window);
    // A window of another thread is activated by that thread when it next
    // reads its queue; keyboard input reaches the window only after that.
    return WaitUntil([&] { return GetForegroundWindow() == window && InputStateOf(window).hwndActive == window; });
}

GUITHREADINFO InputStateOf(HWND window)
{
    GUITHREADINFO input = {};
    input.cbSize = sizeof input;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &input))
        input = GUITHREADINFO();
    return input;
}

} // namespace testing
