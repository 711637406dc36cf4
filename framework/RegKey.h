#pragma once

#include <windows.h>

// An open registry key, closed by the destructor. Operations return Win32
// status codes.
class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }

    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // On success closes the key held before and keeps the new one; on failure
    // the key held before stays open.
    LONG Open(HKEY parent, const char* subKey, REGSAM access = KEY_READ);
    LONG Close();

    // Reads a string value. count is the buffer size in characters on entry
    // and the bytes written, terminator included, on success. Values that are
    // not REG_SZ or REG_EXPAND_SZ, or that lack their terminator, give
    // ERROR_INVALID_DATA.
    LONG QueryStringValue(const char* name, char* buffer, ULONG* count);

    HKEY GetHandle() const { return key; }

private:
    HKEY key = nullptr;
};
