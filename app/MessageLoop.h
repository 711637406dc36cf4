#pragma once

#include <windows.h>

#include "app/IdleHandler.h"
#include "app/MessageFilter.h"
#include "framework/SimpleArray.h"

// The thread's message loop. It holds plain references to its filters and
// idle handlers and owns neither.
class MessageLoop {
public:
    // Both append; FALSE, with the list unchanged, when memory runs out.
    BOOL AddMessageFilter(MessageFilter* filter) { return messageFilters.Add(filter); }
    BOOL AddIdleHandler(IdleHandler* handler) { return idleHandlers.Add(handler); }

    // Pumps messages until WM_QUIT and returns its wParam.
    int Run();

    // Asks the filters, the one added last first; TRUE as soon as one consumes the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Runs every idle handler once, in the order they were added; FALSE stops
    // idle processing until the next message that re-arms it.
    virtual BOOL OnIdle(int idleCount);

    // Mouse moves, paints and the system timer arrive constantly and say
    // nothing about the user's work, so they do not re-arm idle processing.
    static BOOL IsIdleMessage(const MSG* msg);

protected:
    SimpleArray<MessageFilter*> messageFilters;
    SimpleArray<IdleHandler*> idleHandlers;
    MSG msg = {};
};
