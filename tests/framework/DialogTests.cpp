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

LRESULT Answer(UINT message)
{
    return 0x50000 + message;
}

class ResultDialog : public DialogImpl<ResultDialog> {
public:
    static constexpr UINT templateId = IDD_TEST_CONTROLS;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<ResultDialog>;
        static constexpr Map::Entry entries[] = {
            Map::Message(WM_INITDIALOG, &ResultDialog::OnInitDialog),
            Map::Message(endMessage, &ResultDialog::OnEnd),
            Map::Message(WM_COMPAREITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_VKEYTOITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_CHARTOITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_QUERYDRAGICON, &ResultDialog::OnAnswer),
            Map::MessageRange(WM_CTLCOLORMSGBOX - 1, WM_CTLCOLORSTATIC + 1, &ResultDialog::OnAnswer),
            Map::Message(WM_MEASUREITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_DELETEITEM, &ResultDialog::OnAnswer),
            Map::Message(WM_COMMAND, &ResultDialog::OnAnswer),
            Map::Message(storedMessage, &ResultDialog::OnAnswer),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnInitDialog(UINT message, WPARAM, LPARAM lParam, BOOL&)
    {
        if (answering)
            return Answer(message);
        initParam = lParam;
        windowAtInit = hWnd;
        // Ends a modal dialog before its loop first goes idle and shows it.
        if (endAtOnce)
            PostMessageA(endMessage);
        return TRUE;
    }

    LRESULT OnAnswer(UINT message, WPARAM, LPARAM, BOOL& handled)
    {
        ++answered;
        if (!answering)
            handled = FALSE;
        return Answer(message);
    }

    LRESULT OnEnd(UINT, WPARAM, LPARAM, BOOL&)
    {
        ::EndDialog(hWnd, 77);
        return 0;
    }

    void OnFinalMessage(HWND window) override
    {
        ++finalCalls;
        finalWindow = window;
    }

    bool endAtOnce = false;
    bool answering = false;
    int answered = 0;
    LPARAM initParam = 0;
    HWND windowAtInit = nullptr;
    int finalCalls = 0;
    HWND finalWindow = nullptr;
};

class MissingDialog : public DialogImpl<MissingDialog> {
public:
    static constexpr UINT templateId = IDD_TEST_MISSING;
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
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
    CHECK(first.windowAtInit == one);
    CHECK(second.windowAtInit == two);
    CHECK(second.initParam == 12);
    CHECK(IsExecutable(reinterpret_cast<const void*>(GetWindowLongA(one, DWL_DLGPROC))));

    const int firstBefore = first.answered;
    SendMessageA(two, storedMessage, 0, 0);
    CHECK(first.answered == firstBefore);

    DestroyWindow(one);
    CHECK(first.finalWindow == one);
    CHECK(second.hWnd == two);
    DestroyWindow(two);
}

TEST_CASE("the dialog procedure answers some messages itself and the rest through DWL_MSGRESULT")
{
    ResultDialog dialog;
    HWND window = dialog.Create(nullptr);
    REQUIRE(window != nullptr);
    DLGPROC procedure = reinterpret_cast<DLGPROC>(GetWindowLongA(window, DWL_DLGPROC));
    dialog.answering = true;

    const UINT direct[] = {
        WM_INITDIALOG, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM, WM_QUERYDRAGICON,
        WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORBTN,
        WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR, WM_CTLCOLORSTATIC,
    };
    for (UINT message : direct) {
        CAPTURE(message);
        SetWindowLongA(window, DWL_MSGRESULT, sentinel);
        CHECK(procedure(window, message, 0, 0) == Answer(message));
        CHECK(GetWindowLongA(window, DWL_MSGRESULT) == sentinel);
    }
    // Among them the neighbours of the direct ones.
    const UINT stored[] = {
        storedMessage, WM_COMMAND, WM_MEASUREITEM, WM_DELETEITEM, WM_CTLCOLORMSGBOX - 1, WM_CTLCOLORSTATIC + 1,
    };
    for (UINT message : stored) {
        CAPTURE(message);
        SetWindowLongA(window, DWL_MSGRESULT, sentinel);
        CHECK(procedure(window, message, 0, 0) == TRUE);
        CHECK(GetWindowLongA(window, DWL_MSGRESULT) == Answer(message));
    }
    CHECK(SendMessageA(window, storedMessage, 0, 0) == Answer(storedMessage));

    // Unhandled: FALSE, and DWL_MSGRESULT is left alone.
    dialog.answering = false;
    SetWindowLongA(window, DWL_MSGRESULT, sentinel);
    CHECK(procedure(window, storedMessage, 0, 0) == FALSE);
    CHECK(GetWindowLongA(window, DWL_MSGRESULT) == sentinel);
    DestroyWindow(window);
}

TEST_CASE("DoModal returns the EndDialog value; a missing template fails; neither leaves a creation record")
{
    ResultDialog dialog;
    dialog.endAtOnce = true;
    CHECK(dialog.DoModal(nullptr, 33) == 77);
    CHECK(dialog.initParam == 33);
    CHECK_FALSE(IsWindow(dialog.windowAtInit));
    CHECK(dialog.hWnd == nullptr);
    CHECK(dialog.finalCalls == 1);
    CHECK(appModule.ExtractCreationObject() == nullptr);

    MissingDialog missing;
    CHECK(missing.Create(nullptr) == nullptr);
    CHECK(appModule.ExtractCreationObject() == nullptr);
    CHECK(missing.DoModal(nullptr) == -1);
    CHECK(appModule.ExtractCreationObject() == nullptr);

    // A record left behind would bind the next dialog to the wrong object.
    ResultDialog after;
    HWND window = after.Create(nullptr, 5);
    REQUIRE(window != nullptr);
    CHECK(after.windowAtInit == window);
    DestroyWindow(window);
}
