#include "framework/Window.h"

#include "framework/AppModule.h"

BOOL Window::CenterWindow(HWND center)
{
    const DWORD style = GetStyle();
    const bool child = (style & WS_CHILD) != 0;
    if (center == nullptr)
        center = child ? ::GetParent(hWnd) : ::GetWindow(hWnd, GW_OWNER);

    RECT window;
    ::GetWindowRect(hWnd, &window);

    RECT area;
    RECT centre;
    if (!child) {
        if (center != nullptr) {
            const DWORD centerStyle = static_cast<DWORD>(::GetWindowLongA(center, GWL_STYLE));
            if (!(centerStyle & WS_VISIBLE) || (centerStyle & WS_MINIMIZE))
                center = nullptr;
        }
        // The clamping area is always the primary monitor's work area.
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        if (center != nullptr)
            ::GetWindowRect(center, &centre);
        else
            centre = area;
    } else {
        HWND parent = ::GetParent(hWnd);
        ::GetClientRect(parent, &area);
        ::GetClientRect(center, &centre);
        ::MapWindowPoints(center, parent, reinterpret_cast<POINT*>(&centre), 2);
    }

    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int x = (centre.left + centre.right) / 2 - width / 2;
    int y = (centre.top + centre.bottom) / 2 - height / 2;

    // The left and top edges win when the window is larger than the area.
    if (x < area.left)
        x = area.left;
    else if (x + width > area.right)
        x = area.right - width;
    if (y < area.top)
        y = area.top;
    else if (y + height > area.bottom)
        y = area.bottom - height;

    return ::SetWindowPos(hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL Window::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    const DWORD style = GetStyle();
    const DWORD newStyle = (style & ~remove) | add;
    if (newStyle == style)
        return FALSE;
    ::SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(newStyle));
    if (flags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

HWND Window::Create(const char* className, HWND parent, const RECT* rect, const char* windowName,
                    DWORD style, DWORD exStyle, HMENU idOrMenu, void* param)
{
    int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
    if (rect != nullptr) {
        x = rect->left;
        y = rect->top;
        width = rect->right - rect->left;
        height = rect->bottom - rect->top;
    }
    hWnd = ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height,
                             parent, idOrMenu, appModule.GetInstance(), param);
    return hWnd;
}
