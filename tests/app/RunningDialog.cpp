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
    char text[260] = "<none>";
    SendMessageA(Item(listId), LB_GETTEXT, SendMessageA(Item(listId), LB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(text));
    return text;
}

int RunningDialog::ItemCount(int listId) const
{
    return static_cast<int>(SendMessageA(Item(listId), LB_GETCOUNT, 0, 0));
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
    ClickItem(listId, static_cast<int>(SendMessageA(Item(listId), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                    reinterpret_cast<LPARAM>(text))));
}

void RunningDialog::ClickButton(int id)
{
    RECT client;
    GetClientRect(Item(id), &client);
    ClickClient(Item(id), client);
    Pump(80);
}

} // namespace testing
