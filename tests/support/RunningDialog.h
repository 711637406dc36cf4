#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/DomainBrowserDialog.h"
#include "app/MessageLoop.h"

namespace testing {

// The main dialog running in the test's own process, with its message loop
// registered the way the program does it. Messages are pumped through the
// loop's filters, so the dialog manager's keyboard handling works.
class RunningDialog {
public:
    RunningDialog();
    ~RunningDialog();

    HWND Window() const { return window; }
    HWND Item(int id) const { return GetDlgItem(window, id); }

    // Handles what comes in for about milliseconds; not a wait for a state.
    void Pump(unsigned milliseconds);
    bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = 5000);
    // Until nothing has come in for a short while: what was queued and what
    // it led to has been handled. False when that never happened.
    bool Settle(unsigned quietMs = 100, unsigned timeoutMs = 5000);

    std::string SelectedText(int listId) const;
    int ItemCount(int listId) const;

    // Each click returns when the window has handled the release of the
    // button, or false after the time limit; what the click does in the
    // window is done by then.
    // Chooses an item with a real mouse click: scrolls it into view first.
    bool ClickItem(int listId, int index);
    // Chooses the first item with exactly this text.
    bool ClickItem(int listId, const char* text);
    bool ClickButton(int id);

private:
    bool Filter(MSG& msg);
    bool Click(HWND target, const RECT& clientRect);

    MessageLoop loop;
    DomainBrowserDialog dialog;
    HWND window = nullptr;
    HWND released = nullptr;  // the window of the last left-button release pumped
};

} // namespace testing
