#pragma once

#include <windows.h>

#include <functional>

namespace testing {

// Pumps this thread's messages for about milliseconds; filter, when given,
// sees each message first, as the program's loop lets its dialog see them.
void PumpFor(unsigned milliseconds, const std::function<bool(MSG&)>& filter = nullptr);
// Pumps until condition holds; false after timeoutMs.
bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = 5000,
               const std::function<bool(MSG&)>& filter = nullptr);
// Pumps until no message (paints and timers included) has come for quietMs
// in a row; false when that never happened within timeoutMs.
bool WaitSettled(unsigned quietMs, unsigned timeoutMs, const std::function<bool(MSG&)>& filter = nullptr);

// A key's press and release posted to a window's queue, as the keyboard's
// would arrive there: no real input, so the window needs no activation.
void PostKey(HWND window, WORD virtualKey);

// Real input through the system's input queue, as a keyboard and mouse give it.
void PressKey(WORD virtualKey);
void TypeText(const char* text);
// A key pressed while a modifier (VK_MENU, VK_CONTROL, VK_SHIFT) is held.
void PressChord(WORD modifier, WORD virtualKey);
// Clicks the centre of a window's client-area rectangle given in client coordinates.
void ClickClient(HWND window, const RECT& clientRect);
// Double-clicks the same spot: two clicks within the double-click time.
void DoubleClickClient(HWND window, const RECT& clientRect);
// Brings a top-level window to the front so that it gets the keyboard input;
// false when it is not the active foreground window within the usual wait.
bool Activate(HWND window);
// The active, focused and capturing windows of the thread that owns window,
// whatever its process; all NULL when that cannot be read.
GUITHREADINFO InputStateOf(HWND window);

} // namespace testing
