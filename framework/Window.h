#pragma once

#include <windows.h>

// A window handle with the calls the program makes on it. Holding a Window
// does not own the window: it is destroyed by whoever created it (the dialog
// manager for controls, the program's own DestroyWindow/EndDialog for dialogs).
class Window {
public:
    HWND hWnd = nullptr;

    Window() = default;
    explicit Window(HWND window) : hWnd(window) {}
    operator HWND() const { return hWnd; }

    // Centres the window on center, or (center NULL) on its parent for a child
    // and its owner otherwise, and keeps it inside the area it lives in.
    BOOL CenterWindow(HWND center = nullptr);
    // TRUE when the style changed; an unchanged style writes nothing.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    HWND Create(const char* className, HWND parent, const RECT* rect, const char* windowName,
                DWORD style, DWORD exStyle = 0, HMENU idOrMenu = nullptr, void* param = nullptr);

    BOOL IsWindow() const { return ::IsWindow(hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(hWnd); }
    BOOL DestroyWindow() { return ::DestroyWindow(hWnd); }
    BOOL ShowWindow(int command) { return ::ShowWindow(hWnd, command); }
    BOOL EnableWindow(BOOL enable) { return ::EnableWindow(hWnd, enable); }
    BOOL UpdateWindow() { return ::UpdateWindow(hWnd); }
    BOOL InvalidateRect(const RECT* rect, BOOL erase) { return ::InvalidateRect(hWnd, rect, erase); }
    BOOL RedrawWindow(const RECT* rect, HRGN region, UINT flags) { return ::RedrawWindow(hWnd, rect, region, flags); }
    BOOL GetUpdateRect(RECT* rect, BOOL erase) { return ::GetUpdateRect(hWnd, rect, erase); }
    HDC BeginPaint(PAINTSTRUCT* paint) { return ::BeginPaint(hWnd, paint); }
    BOOL EndPaint(const PAINTSTRUCT* paint) { return ::EndPaint(hWnd, paint); }

    LRESULT SendMessageA(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendMessageA(hWnd, message, wParam, lParam); }
    BOOL PostMessageA(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return ::PostMessageA(hWnd, message, wParam, lParam); }
    LRESULT SendDlgItemMessageA(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return ::SendDlgItemMessageA(hWnd, id, message, wParam, lParam); }

    HWND GetDlgItem(int id) const { return ::GetDlgItem(hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(hWnd); }
    BOOL SetDlgItemTextA(int id, const char* text) { return ::SetDlgItemTextA(hWnd, id, text); }
    BOOL SetWindowTextA(const char* text) { return ::SetWindowTextA(hWnd, text); }
    int GetWindowTextA(char* buffer, int size) const { return ::GetWindowTextA(hWnd, buffer, size); }
    int GetWindowTextLengthA() const { return ::GetWindowTextLengthA(hWnd); }
    HWND GetParent() const { return ::GetParent(hWnd); }
    HWND GetWindow(UINT command) const { return ::GetWindow(hWnd, command); }
    HWND SetFocus() { return ::SetFocus(hWnd); }
    HWND SetCapture() { return ::SetCapture(hWnd); }

    LONG GetWindowLongA(int index) const { return ::GetWindowLongA(hWnd, index); }
    LONG SetWindowLongA(int index, LONG value) { return ::SetWindowLongA(hWnd, index, value); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(hWnd, GWL_EXSTYLE)); }

    BOOL GetClientRect(RECT* rect) const { return ::GetClientRect(hWnd, rect); }
    BOOL GetWindowRect(RECT* rect) const { return ::GetWindowRect(hWnd, rect); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) { return ::SetWindowPos(hWnd, after, x, y, cx, cy, flags); }
    BOOL ScreenToClient(POINT* point) const { return ::ScreenToClient(hWnd, point); }
    BOOL ClientToScreen(POINT* point) const { return ::ClientToScreen(hWnd, point); }
    int MapWindowPoints(HWND to, POINT* points, UINT count) const { return ::MapWindowPoints(hWnd, to, points, count); }

    HICON SetIcon(HICON icon, BOOL big) { return reinterpret_cast<HICON>(SendMessageA(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon))); }
    HFONT GetFont() { return reinterpret_cast<HFONT>(SendMessageA(WM_GETFONT)); }
    BOOL IsDialogMessageA(MSG* msg) { return ::IsDialogMessageA(hWnd, msg); }
};
