#include "app/MessageLoop.h"

int MessageLoop::Run()
{
    BOOL doIdle = TRUE;
    int idleCount = 0;
    for (;;) {
        while (doIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                doIdle = FALSE;
        }

        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got)
            break;

        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }

        if (IsIdleMessage(&msg)) {
            doIdle = TRUE;
            idleCount = 0;
        }
    }
    return static_cast<int>(msg.wParam);
}

BOOL MessageLoop::PreTranslateMessage(MSG* message)
{
    for (int i = messageFilters.GetSize() - 1; i >= 0; --i) {
        MessageFilter* filter = messageFilters[i];
        if (filter != nullptr && filter->PreTranslateMessage(message))
            return TRUE;
    }
    return FALSE;
}

BOOL MessageLoop::OnIdle(int /*idleCount*/)
{
    for (int i = 0; i < idleHandlers.GetSize(); ++i) {
        IdleHandler* handler = idleHandlers[i];
        if (handler != nullptr)
            handler->OnIdle();
    }
    return FALSE;
}

BOOL MessageLoop::IsIdleMessage(const MSG* message)
{
    switch (message->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // the system timer that drives caret blinking
        return FALSE;
    default:
        return TRUE;
    }
}
