#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing {

// The data of a registry value as a test writes it: the bytes and how many
// of them are stored.
struct RegistryBytes {
    std::vector<BYTE> bytes;
    DWORD size = 0;

    // Unterminated text is followed by a byte that is not stored: when the
    // byte after a string's counted data is NUL, RegSetValueExA stores it too.
    static RegistryBytes Text(const std::string& text, bool terminated = true);
    static RegistryBytes Dword(DWORD value);
};

} // namespace testing
