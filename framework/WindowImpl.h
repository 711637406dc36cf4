#pragma once

#include "framework/MessageTarget.h"

// A window object for a control the program subclasses: its messages go to
// ProcessWindowMessage first and, unhandled, to the procedure it had before.
class WindowImpl : public MessageTarget {
public:
    WindowImpl() = default;
    ~WindowImpl() override = default;

    virtual WNDPROC GetWindowProc() { return WindowProc; }
    // Called with the handle let go after the window's last message.
    virtual void OnFinalMessage(HWND) {}

    // Routes an existing window's messages to this object. FALSE, and the
    // object stays detached, when the window cannot be subclassed. No message
    // is sent; the window keeps its size, text and styles.
    BOOL SubclassWindow(HWND window);

    LRESULT DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Passes the message being dispatched on; 0 outside dispatch.
    LRESULT DefaultWindowProc();

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    WNDPROC superWindowProc = ::DefWindowProcA;
};
