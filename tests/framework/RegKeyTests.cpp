// RegKey on a scratch key of the current user, made and removed by the test.
#include <doctest.h>

#include <stdio.h>
#include <string>

#include "framework/RegKey.h"

TEST_CASE("QueryStringValue reads only terminated string values")
{
    char path[96];
    snprintf(path, sizeof path, "Software\\Zonarium\\Tests\\%08lx%08lx", GetCurrentProcessId(), GetTickCount());
    HKEY scratch = nullptr;
    REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &scratch, nullptr)
            == ERROR_SUCCESS);
    const DWORD number = 42;
    RegSetValueExA(scratch, "text", 0, REG_SZ, reinterpret_cast<const BYTE*>("hello"), 6);
    RegSetValueExA(scratch, "number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    // Three bytes followed in memory by more text, so that nothing can take
    // the byte after them for a terminator the caller forgot to count.
    RegSetValueExA(scratch, "unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>("abcX"), 3);

    RegKey key;
    REQUIRE(key.Open(HKEY_CURRENT_USER, path) == ERROR_SUCCESS);
    char buffer[260];
    ULONG count = sizeof buffer;
    CHECK(key.QueryStringValue("text", buffer, &count) == ERROR_SUCCESS);
    CHECK(count == 6);
    CHECK(std::string(buffer) == "hello");
    for (const char* name : {"number", "unterminated"}) {
        CAPTURE(name);
        count = sizeof buffer;
        CHECK(key.QueryStringValue(name, buffer, &count) == ERROR_INVALID_DATA);
        CHECK(count == 0);
    }

    key.Close();
    RegCloseKey(scratch);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
    // Fail quietly while other runs still hold keys there.
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zonarium\\Tests");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zonarium");
}
