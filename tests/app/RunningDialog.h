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

    void Pump(unsigned milliseconds = 50);
    bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = 5000);

    std::string SelectedText(int listId) const;
    int ItemCount(int listId) const;

    // Chooses an item with a real mouse click: scrolls it into view first.
    void ClickItem(int listId, int index);
    // Chooses the first item with exactly this text.
    void ClickItem(int listId, const char* text);
    void ClickButton(int id);

private:
    bool Filter(MSG& msg) { return loop.PreTranslateMessage(&msg) != FALSE; }

    MessageLoop loop;
    DomainBrowserDialog dialog;
    HWND window = nullptr;
};

} // namespace testing
