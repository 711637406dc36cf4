// A dialog that reflects its controls' notifications back to them.
#include <doctest.h>

#include "TestDialogIds.h"
#include "framework/DialogImpl.h"
#include "framework/MessageMap.h"
#include "framework/Reflection.h"
#include "framework/WindowImpl.h"

namespace {

// What the controls received, reflected, since the last reset.
struct Reflected {
    int count;
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
} reflected;

LRESULT ChildAnswer(UINT message)
{
    return 0x700 + (message - OCM__BASE);
}

class Probe : public WindowImpl {
public:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<Probe>;
        static constexpr Map::Entry entries[] = {
            Map::MessageRange(OCM__BASE, OCM__BASE + WM_USER - 1, &Probe::OnReflected),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnReflected(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        reflected = {reflected.count + 1, hWnd, message, wParam, lParam};
        return ChildAnswer(message);
    }
};

class ReflectingDialog : public DialogImpl<ReflectingDialog> {
public:
    static constexpr UINT templateId = IDD_TEST_CONTROLS;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<ReflectingDialog>;
        static constexpr Map::Entry entries[] = {
            Map::Message(WM_INITDIALOG, &ReflectingDialog::OnInitDialog),
            Map::Reflect(),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        for (int id = IDC_TEST_LIST; id <= IDC_TEST_SCROLL; ++id)
            controls[id - IDC_TEST_LIST].SubclassWindow(GetDlgItem(id));
        // No default focus: focusing a control would activate the dialog.
        return FALSE;
    }

    LPARAM Control(int id) { return reinterpret_cast<LPARAM>(GetDlgItem(id)); }

    Probe controls[IDC_TEST_SCROLL - IDC_TEST_LIST + 1];
};

struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int target;  // control id; 0 when the message is not reflected
};

template <class T>
LPARAM Address(T& value)
{
    return reinterpret_cast<LPARAM>(&value);
}

} // namespace

TEST_CASE("each reflected notification reaches its control, whose answer is the dialog's; others are not reflected")
{
    ReflectingDialog dialog;
    HWND window = dialog.Create(nullptr);
    REQUIRE(window != nullptr);
    HDC dc = GetDC(window);
    const WPARAM dcParam = reinterpret_cast<WPARAM>(dc);
    const LPARAM list = dialog.Control(IDC_TEST_LIST);
    const LPARAM label = dialog.Control(IDC_TEST_LABEL);
    const LPARAM push = dialog.Control(IDC_TEST_PUSH);
    const LPARAM scroll = dialog.Control(IDC_TEST_SCROLL);

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

    const Row rows[] = {
        {WM_COMMAND, MAKEWPARAM(IDC_TEST_PUSH, BN_CLICKED), push, IDC_TEST_PUSH},
        {WM_NOTIFY, IDC_TEST_PUSH, Address(notify), IDC_TEST_PUSH},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, IDC_TEST_LABEL), label, IDC_TEST_LABEL},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, IDC_TEST_LIST), MAKELPARAM(12, 34), IDC_TEST_LIST},
        {WM_DRAWITEM, IDC_TEST_DRAWN, Address(draw), IDC_TEST_DRAWN},
        {WM_MEASUREITEM, IDC_TEST_LIST, Address(measure), IDC_TEST_LIST},
        {WM_COMPAREITEM, IDC_TEST_LIST, Address(compare), IDC_TEST_LIST},
        {WM_DELETEITEM, IDC_TEST_LIST, Address(deleted), IDC_TEST_LIST},
        {WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 0), list, IDC_TEST_LIST},
        {WM_CHARTOITEM, MAKEWPARAM('g', 0), list, IDC_TEST_LIST},
        {WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), scroll, IDC_TEST_SCROLL},
        {WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), scroll, IDC_TEST_SCROLL},
        {WM_CTLCOLORMSGBOX, dcParam, push, IDC_TEST_PUSH},
        {WM_CTLCOLORSTATIC, dcParam, label, IDC_TEST_LABEL},
        // Menu items and menu commands (wParam or lParam 0), and controls that cannot be found.
        {WM_DRAWITEM, 0, Address(draw), 0},
        {WM_COMMAND, MAKEWPARAM(IDC_TEST_PUSH, 0), 0, 0},
        {WM_MEASUREITEM, 0, Address(measure), 0},
        {WM_COMPAREITEM, 0, Address(compare), 0},
        {WM_MEASUREITEM, 4242, Address(stranger), 0},
        {WM_NOTIFY, 0, Address(orphan), 0},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 4242), 0, 0},
        {WM_USER, 0, push, 0},
    };
    for (const Row& row : rows) {
        CAPTURE(row.message);
        CAPTURE(row.wParam);
        reflected = {};
        BOOL handled = TRUE;
        const LRESULT result = dialog.ReflectNotifications(row.message, row.wParam, row.lParam, handled);
        if (row.target == 0) {
            CHECK_FALSE(handled);
            CHECK(reflected.count == 0);
            continue;
        }
        CHECK(handled);
        CHECK(result == ChildAnswer(OCM__BASE + row.message));
        CHECK(reflected.count == 1);
        CHECK(reflected.window == GetDlgItem(window, row.target));
        CHECK(reflected.message == OCM__BASE + row.message);
        CHECK(reflected.wParam == row.wParam);
        CHECK(reflected.lParam == row.lParam);
        // What a sender sees.
        CHECK(SendMessageA(window, row.message, row.wParam, row.lParam) == result);
    }
    ReleaseDC(window, dc);
    DestroyWindow(window);
}
