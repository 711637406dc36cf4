#include "framework/RegKey.h"

LONG RegKey::Open(HKEY parent, const char* subKey, REGSAM access)
{
    HKEY opened = nullptr;
    const LONG status = RegOpenKeyExA(parent, subKey, 0, access, &opened);
    if (status != ERROR_SUCCESS)
        return status;
    Close();
    key = opened;
    return ERROR_SUCCESS;
}

LONG RegKey::Close()
{
    if (key == nullptr)
        return ERROR_SUCCESS;
    const LONG status = RegCloseKey(key);
    if (status == ERROR_SUCCESS)
        key = nullptr;
    return status;
}

LONG RegKey::QueryStringValue(const char* name, char* buffer, ULONG* count)
{
    DWORD type = 0;
    DWORD bytes = *count;
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (status != ERROR_SUCCESS)
        return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        *count = 0;
        return ERROR_INVALID_DATA;
    }
    // A string stored without its terminator must not be taken as one.
    if (buffer != nullptr && bytes != 0 && buffer[bytes - 1] != '\0') {
        *count = 0;
        return ERROR_INVALID_DATA;
    }
    *count = bytes;
    return ERROR_SUCCESS;
}
