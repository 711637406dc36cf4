#include "framework/WindowImpl.h"

BOOL WindowImpl::SubclassWindow(HWND window)
{
    if (!thunk.Init(this, reinterpret_cast<void*>(GetWindowProc())))
        return FALSE;
    const LONG previous = ::SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(thunk.GetCode()));
    if (previous == 0)
        return FALSE;
    superWindowProc = reinterpret_cast<WNDPROC>(previous);
    hWnd = window;
    return TRUE;
}

LRESULT WindowImpl::DefaultWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(superWindowProc, hWnd, message, wParam, lParam);
}

LRESULT WindowImpl::DefaultWindowProc()
{
    if (currentMessage == nullptr)
        return 0;
    return DefaultWindowProc(currentMessage->message, currentMessage->wParam, currentMessage->lParam);
}

// The entry stub passes the object where Windows passed the window handle.
LRESULT CALLBACK WindowImpl::WindowProc(HWND object, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowImpl* self = reinterpret_cast<WindowImpl*>(object);
    HWND window = self->hWnd;
    MSG current = {window, message, wParam, lParam, 0, {0, 0}};
    const MSG* outer = self->currentMessage;
    self->currentMessage = &current;
    LRESULT result = 0;
    const BOOL handled = self->ProcessWindowMessage(window, message, wParam, lParam, result, 0);
    self->currentMessage = outer;

    if (!handled) {
        if (message != WM_NCDESTROY) {
            result = ::CallWindowProcA(self->superWindowProc, window, message, wParam, lParam);
        } else {
            const LONG noted = ::GetWindowLongA(window, GWL_WNDPROC);
            result = ::CallWindowProcA(self->superWindowProc, window, message, wParam, lParam);
            // Put the old procedure back only while ours is still installed: a
            // later subclasser's procedure must not be cut out of the chain.
            const LONG ours = reinterpret_cast<LONG>(self->thunk.GetCode());
            if (self->superWindowProc != ::DefWindowProcA && noted == ours
                && ::GetWindowLongA(window, GWL_WNDPROC) == noted)
                ::SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(self->superWindowProc));
            self->state |= destroyedFlag;
        }
    }

    // Only the outermost message lets go of the window: a nested one (even
    // WM_NCDESTROY) returns into code that still uses the handle.
    if ((self->state & destroyedFlag) && outer == nullptr) {
        HWND finished = self->hWnd;
        self->hWnd = nullptr;
        self->state &= ~destroyedFlag;
        self->OnFinalMessage(finished);
    }
    return result;
}
