// Dialogs made from the test's own templates: binding, results, lifetime,
// and the notifications they reflect back to their controls.
#include <doctest.h>

#include "TestDialogIds.h"
#include "framework/DialogImpl.h"
#include "framework/MessageMap.h"
#include "support/MapProbe.h"
#include "support/TestWindows.h"

using namespace testing;

namespace {

const UINT storedMessage = WM_USER + 1;
const UINT endMessage = WM_USER + 5;
const LONG sentinel = 0x5EE;

LRESULT Answer(UINT message)
{
    return 0x50000 + message;
}

class ProbeDialog : public DialogImpl<ProbeDialog> {
public:
    static constexpr UINT templateId = IDD_TEST_CONTROLS;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<ProbeDialog>;
        static constexpr Map::Entry entries[] = {
            Map::Message(WM_INITDIALOG, &ProbeDialog::OnInitDialog),
            Map::Message(endMessage, &ProbeDialog::OnEnd),
            Map::Message(WM_COMPAREITEM, &ProbeDialog::OnAnswer),
            Map::Message(WM_VKEYTOITEM, &ProbeDialog::OnAnswer),
            Map::Message(WM_CHARTOITEM, &ProbeDialog::OnAnswer),
            Map::Message(WM_QUERYDRAGICON, &ProbeDialog::OnAnswer),
            Map::MessageRange(WM_CTLCOLORMSGBOX - 1, WM_CTLCOLORSTATIC + 1, &ProbeDialog::OnAnswer),
            Map::Message(WM_MEASUREITEM, &ProbeDialog::OnAnswer),
            Map::Message(WM_DELETEITEM, &ProbeDialog::OnAnswer),
            Map::Message(WM_COMMAND, &ProbeDialog::OnAnswer),
            Map::Message(storedMessage, &ProbeDialog::OnAnswer),
            Map::Reflect(),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnInitDialog(UINT message, WPARAM, LPARAM lParam, BOOL&)
    {
        if (answering)
            return Answer(message);
        initParam = lParam;
        windowAtInit = hWnd;
        for (int id = IDC_TEST_LIST; id <= IDC_TEST_SCROLL; ++id)
            controls[id - IDC_TEST_LIST].SubclassWindow(GetDlgItem(id));
        // Ends a modal dialog before its loop first goes idle and shows it.
        if (endAtOnce)
            PostMessageA(endMessage);
        // No default focus: focusing a control would activate the dialog.
        return FALSE;
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
    MapProbe controls[IDC_TEST_SCROLL - IDC_TEST_LIST + 1];
};

// A modeless dialog, destroyed at the end of the case.
struct Modeless {
    ProbeDialog dialog;
    HWND window = dialog.Create(nullptr);
    ~Modeless() { DestroyWindow(window); }
};

class MissingDialog : public DialogImpl<MissingDialog> {
public:
    static constexpr UINT templateId = IDD_TEST_MISSING;
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
};

} // namespace

TEST_CASE("modeless dialogs created one after the other each bind their own object")
{
    ProbeDialog first;
    ProbeDialog second;
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

TEST_CASE_FIXTURE(Modeless, "the dialog procedure answers some messages itself and the rest through DWL_MSGRESULT")
{
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
}

TEST_CASE("DoModal returns the EndDialog value; a missing template fails; neither leaves a creation record")
{
    ProbeDialog dialog;
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
    ProbeDialog after;
    HWND window = after.Create(nullptr, 5);
    REQUIRE(window != nullptr);
    CHECK(after.windowAtInit == window);
    DestroyWindow(window);
}

TEST_CASE_FIXTURE(Modeless, "each reflected notification reaches its control, whose answer is the dialog's; others are not reflected")
{
    REQUIRE(window != nullptr);
    HDC dc = GetDC(window);
    const WPARAM dcParam = reinterpret_cast<WPARAM>(dc);
    const auto control = [&](int id) { return reinterpret_cast<LPARAM>(GetDlgItem(window, id)); };
    const auto address = [](auto& value) { return reinterpret_cast<LPARAM>(&value); };
    const LPARAM list = control(IDC_TEST_LIST);
    const LPARAM label = control(IDC_TEST_LABEL);
    const LPARAM push = control(IDC_TEST_PUSH);
    const LPARAM scroll = control(IDC_TEST_SCROLL);

    NMHDR notify = {reinterpret_cast<HWND>(push), IDC_TEST_PUSH, 1u};
    NMHDR orphan = {nullptr, 0, 0};
    DRAWITEMSTRUCT draw = {};
    draw.CtlID = IDC_TEST_DRAWN;
    draw.hwndItem = GetDlgItem(window, IDC_TEST_DRAWN);
    // The other owner-drawn items are found by id.
    MEASUREITEMSTRUCT measure = {};
    measure.CtlID = IDC_TEST_LIST;
    COMPAREITEMSTRUCT compare = {};
    compare.CtlID = IDC_TEST_LIST;
    DELETEITEMSTRUCT deleted = {};
    deleted.CtlID = IDC_TEST_LIST;
    MEASUREITEMSTRUCT stranger = {};
    stranger.CtlID = 4242;

    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int target;  // control id; 0 when the message is not reflected
    } rows[] = {
        {WM_COMMAND, MAKEWPARAM(IDC_TEST_PUSH, BN_CLICKED), push, IDC_TEST_PUSH},
        {WM_NOTIFY, IDC_TEST_PUSH, address(notify), IDC_TEST_PUSH},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, IDC_TEST_LABEL), label, IDC_TEST_LABEL},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, IDC_TEST_LIST), MAKELPARAM(12, 34), IDC_TEST_LIST},
        {WM_DRAWITEM, IDC_TEST_DRAWN, address(draw), IDC_TEST_DRAWN},
        {WM_MEASUREITEM, IDC_TEST_LIST, address(measure), IDC_TEST_LIST},
        {WM_COMPAREITEM, IDC_TEST_LIST, address(compare), IDC_TEST_LIST},
        {WM_DELETEITEM, IDC_TEST_LIST, address(deleted), IDC_TEST_LIST},
        {WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 0), list, IDC_TEST_LIST},
        {WM_CHARTOITEM, MAKEWPARAM('g', 0), list, IDC_TEST_LIST},
        {WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), scroll, IDC_TEST_SCROLL},
        {WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), scroll, IDC_TEST_SCROLL},
        {WM_CTLCOLORMSGBOX, dcParam, push, IDC_TEST_PUSH},
        {WM_CTLCOLORSTATIC, dcParam, label, IDC_TEST_LABEL},
        // Menu items and menu commands (wParam or lParam 0), and controls that cannot be found.
        {WM_DRAWITEM, 0, address(draw), 0},
        {WM_COMMAND, MAKEWPARAM(IDC_TEST_PUSH, 0), 0, 0},
        {WM_MEASUREITEM, 0, address(measure), 0},
        {WM_COMPAREITEM, 0, address(compare), 0},
        {WM_MEASUREITEM, 4242, address(stranger), 0},
        {WM_NOTIFY, 0, address(orphan), 0},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 4242), 0, 0},
        {WM_USER, 0, push, 0},
    };
    for (const auto& row : rows) {
        CAPTURE(row.message);
        CAPTURE(row.wParam);
        for (MapProbe& probe : dialog.controls)
            probe.reflected = {};
        BOOL handled = TRUE;
        const LRESULT result = dialog.ReflectNotifications(row.message, row.wParam, row.lParam, handled);
        int reflected = 0;
        for (const MapProbe& probe : dialog.controls)
            reflected += probe.reflected.count;
        if (row.target == 0) {
            CHECK_FALSE(handled);
            CHECK(reflected == 0);
            continue;
        }
        CHECK(handled);
        CHECK(result == MapProbe::ReflectedAnswer(OCM__BASE + row.message));
        CHECK(reflected == 1);
        const MapProbe::Reflected& seen = dialog.controls[row.target - IDC_TEST_LIST].reflected;
        CHECK(seen.count == 1);
        CHECK(seen.message == OCM__BASE + row.message);
        CHECK(seen.wParam == row.wParam);
        CHECK(seen.lParam == row.lParam);
        // What a sender sees.
        CHECK(SendMessageA(window, row.message, row.wParam, row.lParam) == result);
    }
    ReleaseDC(window, dc);
}
