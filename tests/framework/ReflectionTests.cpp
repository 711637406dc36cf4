// A dialog that reflects its controls' notifications back to them.
#include <doctest.h>

#include <initializer_list>

#include "TestDialogIds.h"
#include "framework/DialogImpl.h"
#include "framework/MessageMap.h"
#include "framework/Reflection.h"
#include "framework/WindowImpl.h"

namespace {

LRESULT ChildAnswer(UINT reflected)
{
    return 0x700 + (reflected - OCM__BASE);
}

// A control that answers every reflected message unless told to ignore them.
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

    LRESULT OnReflected(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        ++count;
        last = message;
        lastWParam = wParam;
        lastLParam = lParam;
        if (message == OCM_DRAWITEM)
            drawnId = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->CtlID;
        if (message == OCM_COMMAND) {
            commandWParam = wParam;
            commandLParam = lParam;
        }
        if (ignoring) {
            handled = FALSE;
            return 0;
        }
        return ChildAnswer(message);
    }

    void Reset()
    {
        count = 0;
        last = 0;
        lastWParam = 0;
        lastLParam = 0;
    }

    bool ignoring = false;
    int count = 0;
    UINT last = 0;
    WPARAM lastWParam = 0;
    LPARAM lastLParam = 0;
    UINT drawnId = 0;
    WPARAM commandWParam = 0;
    LPARAM commandLParam = 0;
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
            Map::Message(WM_COMMAND, &ReflectingDialog::OnLeftOver),
            Map::Message(WM_DRAWITEM, &ReflectingDialog::OnLeftOver),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        list.SubclassWindow(GetDlgItem(IDC_TEST_LIST));
        label.SubclassWindow(GetDlgItem(IDC_TEST_LABEL));
        drawn.SubclassWindow(GetDlgItem(IDC_TEST_DRAWN));
        push.SubclassWindow(GetDlgItem(IDC_TEST_PUSH));
        scroll.SubclassWindow(GetDlgItem(IDC_TEST_SCROLL));
        // No default focus: focusing a control would activate the dialog.
        return FALSE;
    }

    LRESULT OnLeftOver(UINT message, WPARAM, LPARAM, BOOL& handled)
    {
        ++leftOver;
        lastLeftOver = message;
        handled = FALSE;
        return 0;
    }

    void ResetProbes()
    {
        for (Probe* probe : {&list, &label, &drawn, &push, &scroll})
            probe->Reset();
        leftOver = 0;
        lastLeftOver = 0;
    }

    int ProbeCount()
    {
        return list.count + label.count + drawn.count + push.count + scroll.count;
    }

    Probe list;
    Probe label;
    Probe drawn;
    Probe push;
    Probe scroll;
    int leftOver = 0;
    UINT lastLeftOver = 0;
};

class PlainDialog : public DialogImpl<PlainDialog> {
public:
    static constexpr UINT templateId = IDD_TEST_CONTROLS;
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
};

struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Probe* target;
};

template <class T>
LPARAM Address(T& value)
{
    return reinterpret_cast<LPARAM>(&value);
}

LPARAM Handle(const Probe& probe)
{
    return reinterpret_cast<LPARAM>(probe.hWnd);
}

} // namespace

TEST_CASE("each reflected notification reaches its control, whose answer is the dialog's")
{
    ReflectingDialog dialog;
    HWND window = dialog.Create(nullptr);
    REQUIRE(window != nullptr);
    HDC dc = GetDC(window);
    const WPARAM dcParam = reinterpret_cast<WPARAM>(dc);

    NMHDR notify = {dialog.push.hWnd, IDC_TEST_PUSH, 1u};
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_BUTTON;
    draw.CtlID = IDC_TEST_DRAWN;
    draw.hwndItem = dialog.drawn.hWnd;
    MEASUREITEMSTRUCT measure = {};
    measure.CtlType = ODT_LISTBOX;
    measure.CtlID = IDC_TEST_LIST;
    COMPAREITEMSTRUCT compare = {};
    compare.CtlType = ODT_LISTBOX;
    compare.CtlID = IDC_TEST_LIST;
    compare.hwndItem = dialog.list.hWnd;
    DELETEITEMSTRUCT deleted = {};
    deleted.CtlType = ODT_LISTBOX;
    deleted.CtlID = IDC_TEST_LIST;
    deleted.hwndItem = dialog.list.hWnd;

    const Row rows[] = {
        {WM_COMMAND, MAKEWPARAM(IDC_TEST_PUSH, BN_CLICKED), Handle(dialog.push), &dialog.push},
        {WM_NOTIFY, IDC_TEST_PUSH, Address(notify), &dialog.push},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, IDC_TEST_LABEL), Handle(dialog.label), &dialog.label},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, IDC_TEST_LABEL), Handle(dialog.label), &dialog.label},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, IDC_TEST_LIST), MAKELPARAM(12, 34), &dialog.list},
        {WM_DRAWITEM, IDC_TEST_DRAWN, Address(draw), &dialog.drawn},
        {WM_MEASUREITEM, IDC_TEST_LIST, Address(measure), &dialog.list},
        {WM_COMPAREITEM, IDC_TEST_LIST, Address(compare), &dialog.list},
        {WM_DELETEITEM, IDC_TEST_LIST, Address(deleted), &dialog.list},
        {WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 0), Handle(dialog.list), &dialog.list},
        {WM_CHARTOITEM, MAKEWPARAM('g', 0), Handle(dialog.list), &dialog.list},
        {WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), Handle(dialog.scroll), &dialog.scroll},
        {WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), Handle(dialog.scroll), &dialog.scroll},
        {WM_CTLCOLORMSGBOX, dcParam, Handle(dialog.push), &dialog.push},
        {WM_CTLCOLOREDIT, dcParam, Handle(dialog.list), &dialog.list},
        {WM_CTLCOLORLISTBOX, dcParam, Handle(dialog.list), &dialog.list},
        {WM_CTLCOLORBTN, dcParam, Handle(dialog.drawn), &dialog.drawn},
        {WM_CTLCOLORDLG, dcParam, Handle(dialog.label), &dialog.label},
        {WM_CTLCOLORSCROLLBAR, dcParam, Handle(dialog.scroll), &dialog.scroll},
        {WM_CTLCOLORSTATIC, dcParam, Handle(dialog.label), &dialog.label},
    };
    for (const Row& row : rows) {
        CAPTURE(row.message);
        CAPTURE(row.wParam);
        dialog.ResetProbes();
        CHECK(SendMessageA(window, row.message, row.wParam, row.lParam) == ChildAnswer(OCM__BASE + row.message));
        CHECK(row.target->count == 1);
        CHECK(dialog.ProbeCount() == 1);
        CHECK(row.target->last == OCM__BASE + row.message);
        CHECK(row.target->lastWParam == row.wParam);
        CHECK(row.target->lastLParam == row.lParam);
        CHECK(dialog.leftOver == 0);
    }

    ReleaseDC(window, dc);
    DestroyWindow(window);
}

TEST_CASE("menu items and menu commands are not reflected")
{
    ReflectingDialog dialog;
    HWND window = dialog.Create(nullptr);
    REQUIRE(window != nullptr);

    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.hwndItem = dialog.drawn.hWnd;
    dialog.ResetProbes();
    SendMessageA(window, WM_DRAWITEM, 0, Address(draw));
    CHECK(dialog.ProbeCount() == 0);
    CHECK(dialog.lastLeftOver == WM_DRAWITEM);

    dialog.ResetProbes();
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TEST_PUSH, 0), 0);
    CHECK(dialog.ProbeCount() == 0);
    CHECK(dialog.lastLeftOver == WM_COMMAND);

    // Asked directly: messages without a control, or with none that can be
    // found, leave the handled flag cleared.
    MEASUREITEMSTRUCT measure = {};
    measure.CtlID = IDC_TEST_LIST;
    COMPAREITEMSTRUCT compare = {};
    compare.CtlID = IDC_TEST_LIST;
    DELETEITEMSTRUCT deleted = {};
    deleted.CtlID = IDC_TEST_LIST;
    MEASUREITEMSTRUCT stranger = {};
    stranger.CtlID = 4242;
    NMHDR orphan = {nullptr, 0, 0};
    const Row declined[] = {
        {WM_MEASUREITEM, 0, Address(measure), nullptr},
        {WM_COMPAREITEM, 0, Address(compare), nullptr},
        {WM_DELETEITEM, 0, Address(deleted), nullptr},
        {WM_MEASUREITEM, 4242, Address(stranger), nullptr},
        {WM_NOTIFY, 0, Address(orphan), nullptr},
        {WM_PARENTNOTIFY, MAKEWPARAM(WM_LBUTTONDOWN, 4242), 0, nullptr},
        {WM_USER, 0, Handle(dialog.push), nullptr},
    };
    dialog.ResetProbes();
    for (const Row& row : declined) {
        CAPTURE(row.message);
        BOOL handled = TRUE;
        CHECK(dialog.ReflectNotifications(row.message, row.wParam, row.lParam, handled) == 1);
        CHECK_FALSE(handled);
    }
    CHECK(dialog.ProbeCount() == 0);

    DestroyWindow(window);
}

TEST_CASE("a reflected colour request that the control ignores gives the dialog's default colours")
{
    ReflectingDialog dialog;
    HWND window = dialog.Create(nullptr);
    PlainDialog plain;
    HWND plainWindow = plain.Create(nullptr);
    REQUIRE(window != nullptr);
    REQUIRE(plainWindow != nullptr);
    dialog.label.ignoring = true;

    HDC dc = GetDC(dialog.label.hWnd);
    const WPARAM dcParam = reinterpret_cast<WPARAM>(dc);
    const LPARAM label = Handle(dialog.label);
    DLGPROC procedure = reinterpret_cast<DLGPROC>(GetWindowLongA(window, DWL_DLGPROC));
    CHECK(procedure(window, WM_CTLCOLORSTATIC, dcParam, label) == 0);
    CHECK(dialog.label.last == OCM_CTLCOLORSTATIC);

    const LRESULT reflected = SendMessageA(window, WM_CTLCOLORSTATIC, dcParam, label);
    const LRESULT standard = SendMessageA(plainWindow, WM_CTLCOLORSTATIC, dcParam,
                                          reinterpret_cast<LPARAM>(GetDlgItem(plainWindow, IDC_TEST_LABEL)));
    CHECK(reflected != 0);
    CHECK(reflected == standard);

    ReleaseDC(dialog.label.hWnd, dc);
    DestroyWindow(plainWindow);
    DestroyWindow(window);
}

TEST_CASE("controls draw and hear their own clicks through reflection")
{
    ReflectingDialog dialog;
    HWND window = dialog.Create(nullptr);
    REQUIRE(window != nullptr);
    // Left to the controls' own painting, as controls that ignore reflection are.
    for (Probe* probe : {&dialog.list, &dialog.label, &dialog.drawn, &dialog.push, &dialog.scroll})
        probe->ignoring = true;
    dialog.ResetProbes();

    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    CHECK(dialog.drawn.drawnId == IDC_TEST_DRAWN);

    // Pressed with the space bar: BM_CLICK would focus the button and so
    // activate the dialog, and Wine waits for a window manager before it
    // hides an activated window.
    SendMessageA(dialog.push.hWnd, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(dialog.push.hWnd, WM_KEYUP, VK_SPACE, 0);
    CHECK(dialog.push.commandWParam == MAKEWPARAM(IDC_TEST_PUSH, BN_CLICKED));
    CHECK(dialog.push.commandLParam == Handle(dialog.push));

    DestroyWindow(window);
    CHECK(dialog.push.hWnd == nullptr);
    CHECK(dialog.hWnd == nullptr);
}
