#pragma once

#include <windows.h>

#include "framework/AppModule.h"
#include "framework/Thunk.h"
#include "framework/Window.h"

// The part that window objects and dialog objects share: the entry stub that
// routes the window's messages to the object, the message being dispatched,
// and the record that carries a dialog object to its first message.
class MessageTarget : public Window {
public:
    MessageTarget() = default;
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    // The message map: TRUE when the message was handled, with its result.
    virtual BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId) = 0;
    // The window is gone by the time an object is destroyed; only the stub is freed.
    virtual ~MessageTarget() = default;

    // Sends a control's notification back to the control as OCM_ message
    // (0x2000 + message). Clears handled when the message is not one that is
    // reflected or its control cannot be found.
    LRESULT ReflectNotifications(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    // The message being dispatched to this object, NULL outside dispatch.
    const MSG* GetCurrentMessage() const { return currentMessage; }

protected:
    enum StateFlags : DWORD { destroyedFlag = 0x1 };

    // Asks the default map about a message while currentMessage points at it.
    // outer receives the message whose dispatch this one is nested in, NULL
    // for the outermost.
    BOOL RouteToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, const MSG*& outer);
    // After the outermost message of a destroyed window: clears hWnd and the
    // destroyed flag and yields the old handle; NULL in every other case. A
    // nested message (even WM_NCDESTROY) returns into code that still uses
    // the handle.
    HWND LetGoIfFinished(const MSG* outer);

    CreationRecord creationRecord = {};
    Thunk thunk;
    const MSG* currentMessage = nullptr;
    DWORD state = 0;
};
