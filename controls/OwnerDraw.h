#pragma once

#include <windows.h>

#include "framework/GdiScope.h"
#include "framework/Reflection.h"

// Answers the four owner-draw requests by calling T's DrawItem, MeasureItem,
// CompareItem and DeleteItem. Map 0 serves a window that draws its own
// children (WM_DRAWITEM ...), map 1 a control that draws itself from the
// requests its parent reflects back to it (OCM_DRAWITEM ...). T derives from
// OwnerDraw<T> and from a window class with an hWnd, and supplies DrawItem;
// the other three have defaults.
template <class T>
class OwnerDraw {
public:
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId)
    {
        UINT request;
        if (mapId == 0)
            request = message;
        else if (mapId == 1 && message >= OCM__BASE)
            request = message - OCM__BASE;
        else
            return FALSE;
        BOOL handled = TRUE;
        switch (request) {
        case WM_DRAWITEM:
            result = OnDrawItem(message, wParam, lParam, handled);
            return handled;
        case WM_MEASUREITEM:
            result = OnMeasureItem(message, wParam, lParam, handled);
            return handled;
        case WM_COMPAREITEM:
            result = OnCompareItem(message, wParam, lParam, handled);
            return handled;
        case WM_DELETEITEM:
            result = OnDeleteItem(message, wParam, lParam, handled);
            return handled;
        default:
            return FALSE;
        }
    }

protected:
    // The defaults; T replaces any of them by declaring its own.

    // Menu items are as high as the menu bar; other items as high as a line of
    // the item's control's font.
    void MeasureItem(MEASUREITEMSTRUCT* item)
    {
        if (item->CtlType == ODT_MENU) {
            item->itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU));
            return;
        }
        const WindowDC dc(::GetDlgItem(Derived().hWnd, static_cast<int>(item->CtlID)));
        TEXTMETRICA metrics = {};
        if (dc != nullptr && ::GetTextMetricsA(dc, &metrics))
            item->itemHeight = static_cast<UINT>(metrics.tmHeight);
    }

    int CompareItem(COMPAREITEMSTRUCT*) { return 0; }
    void DeleteItem(DELETEITEMSTRUCT*) {}

private:
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        Derived().DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }

    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        Derived().MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    }

    LRESULT OnCompareItem(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        return Derived().CompareItem(reinterpret_cast<COMPAREITEMSTRUCT*>(lParam));
    }

    LRESULT OnDeleteItem(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        Derived().DeleteItem(reinterpret_cast<DELETEITEMSTRUCT*>(lParam));
        return TRUE;
    }

    T& Derived() { return static_cast<T&>(*this); }
};
