#pragma once

#include <windows.h>

#include <functional>

namespace testing {

// Sees what reaches a window's procedure before the procedure does, while the
// object lives. Seen returns true when it answered the message itself, with
// its answer in result; otherwise the message goes on to the procedure.
class MessageSpy {
public:
    using Seen = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    MessageSpy(HWND window, Seen seen) : window(window), seen(std::move(seen))
    {
        SetPropA(window, property, this);
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(Procedure)));
    }
    ~MessageSpy()
    {
        if (!IsWindow(window))
            return;
        SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(previous));
        RemovePropA(window, property);
    }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        MessageSpy* spy = static_cast<MessageSpy*>(GetPropA(window, property));
        LRESULT result = 0;
        if (spy->seen(message, wParam, lParam, result))
            return result;
        return CallWindowProcA(spy->previous, window, message, wParam, lParam);
    }

    static constexpr const char* property = "ZvxMessageSpy";
    HWND window;
    Seen seen;
    WNDPROC previous = nullptr;
};

} // namespace testing
