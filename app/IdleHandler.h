#pragma once

#include <windows.h>

// Called once each time the loop finds its queue empty after a message that
// re-arms idle processing.
class IdleHandler {
public:
    // The loop ignores the result.
    virtual BOOL OnIdle() = 0;

protected:
    ~IdleHandler() = default;
};
