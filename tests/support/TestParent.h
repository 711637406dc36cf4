#pragma once

#include <windows.h>

#include <vector>

#include "framework/Reflection.h"
#include "support/TestWindows.h"

namespace testing {

// A top-level window that reflects its children's WM_DRAWITEM to them, as the
// program's main dialog does, and keeps what its children told it.
class TestParent {
public:
    TestParent(int x, int y, int width, int height)
        : hWnd(CreateTestWindow("ZvxTestParent", Procedure, nullptr, WS_POPUP, x, y, width, height, WS_EX_TOPMOST))
    {
        // Never activated: Wine then leaves the window to no window manager,
        // and hiding it does not wait two seconds for one to answer.
        ShowWindow(hWnd, SW_SHOWNOACTIVATE);
        UpdateWindow(hWnd);
        commands.clear();
        notifications.clear();
    }
    ~TestParent() { DestroyWindow(hWnd); }
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;

    HWND AddChild(const char* className, const char* text, DWORD style, int x, int y, int width, int height, int id)
    {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    }

    HWND hWnd = nullptr;
    static inline std::vector<WPARAM> commands;
    static inline std::vector<NMHDR> notifications;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DRAWITEM && wParam != 0) {
            const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            return SendMessageA(item->hwndItem, OCM_DRAWITEM, wParam, lParam);
        }
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        if (message == WM_NOTIFY)
            notifications.push_back(*reinterpret_cast<const NMHDR*>(lParam));
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

} // namespace testing
