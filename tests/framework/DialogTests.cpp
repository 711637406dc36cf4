// Dialogs made from the test's own templates: binding, results, lifetime.
#include <doctest.h>

#include "TestDialogIds.h"
#include "TestWindows.h"
#include "framework/DialogImpl.h"
#include "framework/MessageMap.h"

namespace {

const UINT storedMessage = WM_USER + 1;
const UINT endMessage = WM_USER + 5;
const LONG sentinel = 0x5EE;

// Answered by the dialog procedure itself.
const UINT directMessages[] = {
    WM_INITDIALOG, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM, WM_QUERYDRAGICON,
    WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN,
    WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC,
};
// Answered through DWL_MSGRESULT, among them the neighbours of the above.
const UINT storedMessages[] = {
    storedMessage, WM_COMMAND, WM_MEASUREITEM, WM_DELETEITEM, WM_CTLCOLORMSGBOX - 1, WM_CTLCOLORSTATIC + 1,
};

LRESULT Answer(UINT message)
{
    return 0x50000 + message;
}

class ResultDialog : public DialogImpl<ResultDialog> {
public:
    static constexpr UINT templateId = IDD_TEST_CONTROLS;
    enum EndBy { notEnded, postedMessage, timer };

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<ResultDialog>;
        static constexpr Map::Entry entries[] = {
            Map::Message(WM_INITDIALOG, &ResultDialog::OnInitDialog),
            Map::Message(WM_COMPAREITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_VKEYTOITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_CHARTOITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_QUERYDRAGICON, &ResultDialog::OnAnswer),
            Map::MessageRange(WM_CTLCOLORMSGBOX - 1, WM_CTLCOLORSTATIC + 1, &ResultDialog::OnAnswer),
            Map::Message(WM_MEASUREITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_DELETEITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_COMMAND, &ResultDialog::OnAnswer),
            Map::Message(storedMessage, &ResultDialog::OnAnswer),
            Map::Message(endMessage, &ResultDialog::OnEnd),
            Map::Message(WM_TIMER, &ResultDialog::OnEnd),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnInitDialog(UINT message, WPARAM, LPARAM lParam, BOOL&)
    {
        if (answering)
            return Answer(message);
        initParam = lParam;
        windowAtInit = hWnd;
        if (endBy == postedMessage) {
            // Ends the dialog before the modal loop first goes idle and shows it.
            PostMessageA(endMessage);
        } else if (endBy == timer) {
            // Shown here without activation: Wine waits for a window manager
            // before it hides an activated window.
            ShowWindow(SW_SHOWNA);
            ::SetTimer(hWnd, 1, 10, nullptr);
        }
        return TRUE;
    }

    LRESULT OnAnswer(UINT message, WPARAM, LPARAM, BOOL& handled)
    {
        ++answered;
        if (!answering)
            handled = FALSE;
        return Answer(message);
    }

    LRESULT OnEnd(UINT message, WPARAM, LPARAM, BOOL& handled)
    {
        if (message == WM_TIMER) {
            if (endBy != timer) {
                handled = FALSE;
                return 0;
            }
            ::KillTimer(hWnd, 1);
        }
        wasVisible = IsWindowVisible() != FALSE;
        stubExecutable = IsExecutable(reinterpret_cast<const void*>(GetWindowLongA(DWL_DLGPROC)));
        ::EndDialog(hWnd, message == WM_TIMER ? 78 : 77);
        return 0;
    }

    void OnFinalMessage(HWND window) override
    {
        ++finalCalls;
        finalWindow = window;
    }

    EndBy endBy = notEnded;
    bool answering = false;
    int answered = 0;
    LPARAM initParam = 0;
    HWND windowAtInit = nullptr;
    bool stubExecutable = false;
    bool wasVisible = false;
    int finalCalls = 0;
    HWND finalWindow = nullptr;
};

template <UINT id>
class FailingDialog : public DialogImpl<FailingDialog<id>> {
public:
    static constexpr UINT templateId = id;

    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT&, DWORD) override
    {
        if (message == WM_SETFONT || message == WM_INITDIALOG)
            ++firstMessages;
        return FALSE;
    }
    void OnFinalMessage(HWND) override { ++finalCalls; }

    int firstMessages = 0;
    int finalCalls = 0;
};

} // namespace

TEST_CASE("modeless dialogs created one after the other each bind their own object")
{
    ResultDialog first;
    ResultDialog second;
    HWND one = first.Create(nullptr, 11);
    HWND two = second.Create(nullptr, 12);
    REQUIRE(one != nullptr);
    REQUIRE(two != nullptr);
    CHECK(one != two);
    CHECK(first.hWnd == one);
    CHECK(first.windowAtInit == one);
    CHECK(first.initParam == 11);
    CHECK(second.hWnd == two);
    CHECK(second.windowAtInit == two);
    CHECK(second.initParam == 12);

    const LONG stubOne = GetWindowLongA(one, DWL_DLGPROC);
    CHECK(stubOne != GetWindowLongA(two, DWL_DLGPROC));
    CHECK(IsExecutable(reinterpret_cast<const void*>(stubOne)));

    const int firstBefore = first.answered;
    const int secondBefore = second.answered;
    SendMessageA(two, storedMessage, 0, 0);
    CHECK(first.answered == firstBefore);
    CHECK(second.answered == secondBefore + 1);

    DestroyWindow(one);
    CHECK(first.hWnd == nullptr);
    CHECK(first.finalCalls == 1);
    CHECK(first.finalWindow == one);
    CHECK(second.hWnd == two);
    DestroyWindow(two);
    CHECK(second.finalCalls == 1);
}

TEST_CASE("the dialog procedure answers some messages itself and the rest through DWL_MSGRESULT")
{
    ResultDialog dialog;
    HWND window = dialog.Create(nullptr);
    REQUIRE(window != nullptr);
    DLGPROC procedure = reinterpret_cast<DLGPROC>(GetWindowLongA(window, DWL_DLGPROC));
    dialog.answering = true;

    for (UINT message : directMessages) {
        CAPTURE(message);
        SetWindowLongA(window, DWL_MSGRESULT, sentinel);
        CHECK(procedure(window, message, 0, 0) == Answer(message));
        CHECK(GetWindowLongA(window, DWL_MSGRESULT) == sentinel);
    }
    for (UINT message : storedMessages) {
        CAPTURE(message);
        SetWindowLongA(window, DWL_MSGRESULT, sentinel);
        CHECK(procedure(window, message, 0, 0) == TRUE);
        CHECK(GetWindowLongA(window, DWL_MSGRESULT) == Answer(message));
    }

    // What a sender sees either way.
    CHECK(SendMessageA(window, storedMessage, 0, 0) == Answer(storedMessage));
    CHECK(SendMessageA(window, WM_CTLCOLORSTATIC, 0, 0) == Answer(WM_CTLCOLORSTATIC));

    // Unhandled: FALSE, and DWL_MSGRESULT is left alone.
    dialog.answering = false;
    SetWindowLongA(window, DWL_MSGRESULT, sentinel);
    CHECK(procedure(window, storedMessage, 0, 0) == FALSE);
    CHECK(GetWindowLongA(window, DWL_MSGRESULT) == sentinel);

    DestroyWindow(window);
}

TEST_CASE("DoModal runs until EndDialog and returns its value")
{
    ResultDialog dialog;
    dialog.endBy = ResultDialog::postedMessage;
    CHECK(dialog.DoModal(nullptr, 33) == 77);
    CHECK(dialog.initParam == 33);
    REQUIRE(dialog.windowAtInit != nullptr);
    CHECK(dialog.stubExecutable);
    CHECK_FALSE(IsWindow(dialog.windowAtInit));
    CHECK(dialog.hWnd == nullptr);
    CHECK(dialog.finalCalls == 1);
    CHECK(dialog.finalWindow == dialog.windowAtInit);

    // The same object again, ended from a timer.
    dialog.endBy = ResultDialog::timer;
    dialog.windowAtInit = nullptr;
    CHECK(dialog.DoModal(nullptr, 34) == 78);
    CHECK(dialog.initParam == 34);
    CHECK(dialog.wasVisible);
    CHECK(dialog.windowAtInit != nullptr);
    CHECK(dialog.hWnd == nullptr);
    CHECK(dialog.finalCalls == 2);
    CHECK(appModule.ExtractCreationObject() == nullptr);
}

TEST_CASE("a dialog that cannot be made fails and leaves no creation record behind")
{
    FailingDialog<IDD_TEST_MISSING> missing;
    CHECK(missing.Create(nullptr) == nullptr);
    CHECK(appModule.ExtractCreationObject() == nullptr);
    CHECK(missing.DoModal(nullptr) == -1);
    CHECK(appModule.ExtractCreationObject() == nullptr);
    CHECK(missing.firstMessages == 0);
    CHECK(missing.hWnd == nullptr);

    // This one gets its first message, then loses its window to a control
    // that cannot be created.
    FailingDialog<IDD_TEST_BROKEN> broken;
    CHECK(broken.Create(nullptr) == nullptr);
    CHECK(appModule.ExtractCreationObject() == nullptr);
    CHECK(broken.firstMessages == 1);
    CHECK(broken.hWnd == nullptr);
    CHECK(broken.finalCalls == 1);

    ResultDialog after;
    HWND window = after.Create(nullptr, 5);
    REQUIRE(window != nullptr);
    CHECK(after.hWnd == window);
    CHECK(after.windowAtInit == window);
    DestroyWindow(window);
}
