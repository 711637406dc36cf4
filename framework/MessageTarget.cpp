#include "framework/MessageTarget.h"

#include "framework/Reflection.h"

BOOL MessageTarget::RouteToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, const MSG*& outer)
{
    MSG current = {hWnd, message, wParam, lParam, 0, {0, 0}};
    outer = currentMessage;
    currentMessage = &current;
    const BOOL handled = ProcessWindowMessage(current.hwnd, message, wParam, lParam, result, 0);
    currentMessage = outer;
    return handled;
}

HWND MessageTarget::LetGoIfFinished(const MSG* outer)
{
    if (!(state & destroyedFlag) || outer != nullptr)
        return nullptr;
    HWND finished = hWnd;
    hWnd = nullptr;
    state &= ~destroyedFlag;
    return finished;
}

LRESULT MessageTarget::ReflectNotifications(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        // lParam NULL: a menu or accelerator command, which has no control.
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        if (lParam != 0)
            child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_PARENTNOTIFY:
        switch (LOWORD(wParam)) {
        case WM_CREATE:
        case WM_DESTROY:
            child = reinterpret_cast<HWND>(lParam);
            break;
        default:
            child = ::GetDlgItem(hWnd, HIWORD(wParam));
            break;
        }
        break;
    // wParam 0 marks a menu item, which belongs to no control.
    case WM_DRAWITEM:
        if (wParam != 0)
            child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (wParam != 0)
            child = ::GetDlgItem(hWnd, reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlID);
        break;
    case WM_COMPAREITEM:
        if (wParam != 0)
            child = ::GetDlgItem(hWnd, reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->CtlID);
        break;
    case WM_DELETEITEM:
        if (wParam != 0)
            child = ::GetDlgItem(hWnd, reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->CtlID);
        break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        break;
    }
    if (child == nullptr) {
        handled = FALSE;
        return 1;
    }
    return ::SendMessageA(child, OCM__BASE + message, wParam, lParam);
}
