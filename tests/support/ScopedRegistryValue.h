#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing {

// One value under HKEY_CURRENT_USER, set for the life of the object with
// exactly the type and bytes given (no terminator is added), then put back as
// it was: the earlier value restored, or the value deleted together with the
// keys that had to be created for it.
class ScopedRegistryValue {
public:
    ScopedRegistryValue(const std::string& keyPath, const char* name, DWORD type, const void* data, DWORD size);
    ~ScopedRegistryValue();

    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    bool Written() const { return written; }

private:
    std::string keyPath;
    std::string name;
    // How many trailing components of keyPath did not exist before.
    int createdDepth = 0;
    bool hadValue = false;
    DWORD oldType = REG_NONE;
    std::vector<BYTE> oldData;
    bool written = false;
};

// Xvfb runs no window manager, and Wine then waits up to two seconds for one
// to confirm that a managed window was withdrawn: every EndDialog of a
// captioned dialog costs that. The X11 driver reads "Managed" per executable
// while a process starts, so this value must be set before the program starts.
std::string UnmanagedWindowsKey(const std::string& program);

} // namespace testing
