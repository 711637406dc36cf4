#pragma once

#include <string>

#include "quality/ScopedRegistryValue.h"

namespace testing {

// Xvfb runs no window manager, and Wine then waits up to two seconds for one
// to confirm that a managed window was withdrawn: every EndDialog of a
// captioned dialog costs that. Windows that Wine leaves unmanaged hide at
// once. The X11 driver reads the setting per executable (under AppDefaults)
// while a process starts, so it must be written before the program starts.
// Written for one executable while this object lives; removed after.
class UnmanagedWindows {
public:
    // Takes the executable's path or name.
    explicit UnmanagedWindows(const std::string& program);

private:
    ScopedRegistryValue setting;
};

} // namespace testing
