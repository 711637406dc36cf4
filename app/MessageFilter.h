#pragma once

#include <windows.h>

// Takes part in the message loop before translation and dispatch.
class MessageFilter {
public:
    // TRUE when the filter consumed the message.
    virtual BOOL PreTranslateMessage(MSG* msg) = 0;

protected:
    ~MessageFilter() = default;
};
