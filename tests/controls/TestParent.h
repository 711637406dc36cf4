#pragma once

#include <windows.h>

#include "framework/Reflection.h"

// A top-level window that reflects its children's WM_DRAWITEM to them, as the
// program's main dialog does, and counts the draw requests it passes on.
class TestParent {
public:
    TestParent(int x, int y, int width, int height)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = "ZvxTestParent";
        RegisterClassA(&windowClass);
        hWnd = CreateWindowExA(WS_EX_TOPMOST, "ZvxTestParent", "test parent", WS_POPUP, x, y, width, height,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        // Never activated: Wine then leaves the window to no window manager,
        // and hiding it does not wait two seconds for one to answer.
        ShowWindow(hWnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hWnd);
    }
    ~TestParent() { DestroyWindow(hWnd); }
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND AddChild(const char* className, const char* text, DWORD style, int x, int y, int width,
                  int height, int id)
    {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                               hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }

    HWND hWnd = nullptr;
    static inline int drawRequests = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DRAWITEM && wParam != 0) {
            ++drawRequests;
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            return SendMessageA(item->hwndItem, OCM_DRAWITEM, wParam, lParam);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

// Lets the window system deliver what is queued, for about milliseconds.
inline void PumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

// Pumps messages until done() holds or the time runs out; the last answer of done().
template <class Condition>
bool PumpUntil(Condition done, DWORD milliseconds = 3000)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > milliseconds)
            return done();
        PumpMessages(10);
    }
    return true;
}
