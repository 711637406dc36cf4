// RegKey on a scratch key of the current user, made and removed by the test.
#include <doctest.h>

#include <stdio.h>
#include <string>

#include "framework/RegKey.h"
#include "support/ScopedRegistryValue.h"

TEST_CASE("QueryStringValue reads only terminated string values")
{
    char path[96];
    snprintf(path, sizeof path, "Software\\Zonarium\\Tests\\%08lx%08lx", GetCurrentProcessId(), GetTickCount());
    const DWORD number = 42;
    // The values and whatever keys they needed go again at the end, while
    // other runs' keys stay. The three bytes are followed in memory by more
    // text, so that nothing can take the byte after them for a terminator the
    // caller forgot to count.
    const testing::ScopedRegistryValue values[] = {{path, "text", REG_SZ, "hello", 6},
                                                   {path, "number", REG_DWORD, &number, sizeof number},
                                                   {path, "unterminated", REG_SZ, "abcX", 3}};
    REQUIRE(values[0].Written());

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
}
