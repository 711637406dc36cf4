#include "RunningDialog.h"

#include "framework/AppModule.h"
#include "support/UserInput.h"

namespace testing {

RunningDialog::RunningDialog()
{
    appModule.Init(GetModuleHandleA(nullptr));
    appModule.AddMessageLoop(&loop);
    window = dialog.Create(nullptr, 0);
    if (window != nullptr) {
        ShowWindow(window, SW_SHOW);
        Activate(window);
        Pump(100);
    }
}

RunningDialog::~RunningDialog()
{
    if (IsWindow(window))
        DestroyWindow(window);
    Pump(20);
    appModule.RemoveMessageLoop();
}

bool RunningDialog::Filter(MSG& msg)
{
    if (msg.message == WM_QUIT) {
        quitCode = static_cast<int>(msg.wParam);
        return true;
    }
    return loop.PreTranslateMessage(&msg) != FALSE;
}

void RunningDialog::Pump(unsigned milliseconds)
{
    PumpFor(milliseconds, [this](MSG& msg) { return Filter(msg); });
}

bool RunningDialog::WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs)
{
    return testing::WaitUntil(condition, timeoutMs, [this](MSG& msg) { return Filter(msg); });
}

std::string RunningDialog::SelectedText(int listId) const
{
    HWND list = Item(listId);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return "<none>";
    char text[260] = {};
    SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

int RunningDialog::ItemCount(int listId) const
{
    return static_cast<int>(SendMessageA(Item(listId), LB_GETCOUNT, 0, 0));
}

std::string RunningDialog::ButtonText(int id) const
{
    char text[260] = {};
    GetWindowTextA(Item(id), text, sizeof text);
    return text;
}

void RunningDialog::ClickItem(int listId, int index)
{
    HWND list = Item(listId);
    SendMessageA(list, LB_SETTOPINDEX, index, 0);
    Pump(20);
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    ClickClient(list, item);
    Pump(80);
}

void RunningDialog::ClickItem(int listId, const char* text)
{
    const LRESULT index = SendMessageA(Item(listId), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text));
    ClickItem(listId, static_cast<int>(index));
}

void RunningDialog::ClickButton(int id)
{
    HWND button = Item(id);
    RECT client;
    GetClientRect(button, &client);
    ClickClient(button, client);
    Pump(80);
}

} // namespace testing
