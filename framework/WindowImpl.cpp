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
    LRESULT result = 0;
    const MSG* outer = nullptr;
    const BOOL handled = self->RouteToMap(message, wParam, lParam, result, outer);

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

    if (HWND finished = self->LetGoIfFinished(outer))
        self->OnFinalMessage(finished);
    return result;
}
