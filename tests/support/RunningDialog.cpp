#include "support/RunningDialog.h"

#include "framework/AppModule.h"
#include "support/UserInput.h"
#include "support/WindowContents.h"

namespace testing {

RunningDialog::RunningDialog()
{
    appModule.Init(GetModuleHandleA(nullptr));
    appModule.AddMessageLoop(&loop);
    window = dialog.Create(nullptr, 0);
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        Activate(window);
        WaitUntil([this] { return GetForegroundWindow() == window && GetFocus() != nullptr; });
    }
}

RunningDialog::~RunningDialog()
{
    if (IsWindow(window))
        DestroyWindow(window);
    Pump(0);  // what the destruction left in the queue
    appModule.RemoveMessageLoop();
}

void RunningDialog::Pump(unsigned milliseconds)
{
    PumpFor(milliseconds, [this](MSG& msg) { return Filter(msg); });
}

bool RunningDialog::Filter(MSG& msg)
{
    if (msg.message == WM_LBUTTONUP)
        released = msg.hwnd;
    return loop.PreTranslateMessage(&msg) != FALSE;
}

bool RunningDialog::WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs)
{
    return testing::WaitUntil(condition, timeoutMs, [this](MSG& msg) { return Filter(msg); });
}

bool RunningDialog::Settle(unsigned quietMs, unsigned timeoutMs)
{
    return WaitSettled(quietMs, timeoutMs, [this](MSG& msg) { return Filter(msg); });
}

std::string RunningDialog::SelectedText(int listId) const
{
    char text[260] = "<none>";
    SendMessageA(Item(listId), LB_GETTEXT, SendMessageA(Item(listId), LB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(text));
    return text;
}

int RunningDialog::ItemCount(int listId) const
{
    return static_cast<int>(SendMessageA(Item(listId), LB_GETCOUNT, 0, 0));
}

bool RunningDialog::Click(HWND target, const RECT& clientRect)
{
    released = nullptr;
    ClickClient(target, clientRect);
    // The pressed window captures the mouse, so the release comes to it too.
    return WaitUntil([this, target] { return released == target; });
}

bool RunningDialog::ClickItem(int listId, int index)
{
    return Click(Item(listId), ScrollToItem(Item(listId), index));
}

bool RunningDialog::ClickItem(int listId, const char* text)
{
    return ClickItem(listId, FindItem(Item(listId), text));
}

bool RunningDialog::ClickButton(int id)
{
    RECT client;
    GetClientRect(Item(id), &client);
    return Click(Item(id), client);
}

} // namespace testing
