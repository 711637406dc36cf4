#pragma once

#include <windows.h>

// Scoped GDI helpers: whatever a scope takes is given back when it ends, on
// every path out of it. What the program makes and owns is held by the owner
// types of framework/OwnedHandle.h.

// A window's DC (GetDC; the screen's for NULL), released at the end of the
// scope. dc is NULL when GetDC failed.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window(window), dc(::GetDC(window)) {}
    ~WindowDC()
    {
        if (dc != nullptr)
            ::ReleaseDC(window, dc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    operator HDC() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// An object selected into a DC; the object held before is selected back at the
// end of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc(dc), previous(::SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous != nullptr && previous != HGDI_ERROR)
            ::SelectObject(dc, previous);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};
