// RegKey on a scratch key of the current user, made and removed by the test.
#include <doctest.h>

#include <stdio.h>
#include <string.h>
#include <string>

#include "framework/RegKey.h"

namespace {

const char testsPath[] = "Software\\Zonarium\\Tests";

// A key of its own under the current user, with one value of each kind.
class ScratchKey {
public:
    ScratchKey()
    {
        snprintf(path, sizeof path, "%s\\%08lx%08lx", testsPath, GetCurrentProcessId(), GetTickCount());
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr)
            != ERROR_SUCCESS)
            key = nullptr;
    }
    ~ScratchKey()
    {
        if (key != nullptr)
            RegCloseKey(key);
        RegDeleteKeyA(HKEY_CURRENT_USER, path);
        // Fail quietly while other runs still hold keys there.
        RegDeleteKeyA(HKEY_CURRENT_USER, testsPath);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Zonarium");
    }

    void Set(const char* name, DWORD type, const void* data, DWORD bytes)
    {
        REQUIRE(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS);
    }

    char path[128];
    HKEY key = nullptr;
};

} // namespace

TEST_CASE("QueryStringValue reads only terminated string values")
{
    ScratchKey scratch;
    REQUIRE(scratch.key != nullptr);
    scratch.Set("text", REG_SZ, "hello", 6);
    scratch.Set("path", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    const DWORD number = 42;
    scratch.Set("number", REG_DWORD, &number, sizeof number);
    // Three bytes followed in memory by more text, so that nothing can take
    // the byte after them for a terminator the caller forgot to count.
    scratch.Set("unterminated", REG_SZ, "abcX", 3);
    scratch.Set("empty", REG_SZ, "", 0);
    scratch.Set("long", REG_SZ, "0123456789", 11);

    DWORD stored = 0;
    REQUIRE(RegQueryValueExA(scratch.key, "unterminated", nullptr, nullptr, nullptr, &stored) == ERROR_SUCCESS);
    REQUIRE(stored == 3);

    RegKey key;
    REQUIRE(key.Open(HKEY_CURRENT_USER, scratch.path) == ERROR_SUCCESS);
    char buffer[260];
    ULONG count = sizeof buffer;
    CHECK(key.QueryStringValue("text", buffer, &count) == ERROR_SUCCESS);
    CHECK(count == 6);
    CHECK(std::string(buffer) == "hello");

    count = sizeof buffer;
    CHECK(key.QueryStringValue("path", buffer, &count) == ERROR_SUCCESS);
    CHECK(count == 9);
    CHECK(std::string(buffer) == "%TEMP%\\x");

    count = sizeof buffer;
    CHECK(key.QueryStringValue("number", buffer, &count) == ERROR_INVALID_DATA);
    CHECK(count == 0);

    count = sizeof buffer;
    memset(buffer, 'Z', sizeof buffer);
    CHECK(key.QueryStringValue("unterminated", buffer, &count) == ERROR_INVALID_DATA);
    CHECK(count == 0);

    count = sizeof buffer;
    CHECK(key.QueryStringValue("empty", buffer, &count) == ERROR_SUCCESS);
    CHECK(count == 0);

    count = 4;
    CHECK(key.QueryStringValue("long", buffer, &count) == ERROR_MORE_DATA);

    count = 0;
    CHECK(key.QueryStringValue("text", nullptr, &count) == ERROR_SUCCESS);
    CHECK(count == 6);

    count = sizeof buffer;
    CHECK(key.QueryStringValue("absent", buffer, &count) == ERROR_FILE_NOT_FOUND);
}

TEST_CASE("Open keeps the old key when it fails and replaces it when it succeeds")
{
    ScratchKey scratch;
    REQUIRE(scratch.key != nullptr);
    scratch.Set("text", REG_SZ, "kept", 5);

    RegKey key;
    CHECK(key.Close() == ERROR_SUCCESS);
    REQUIRE(key.Open(HKEY_CURRENT_USER, scratch.path) == ERROR_SUCCESS);
    HKEY first = key.GetHandle();
    REQUIRE(first != nullptr);

    std::string missing = std::string(scratch.path) + "\\absent";
    CHECK(key.Open(HKEY_CURRENT_USER, missing.c_str()) == ERROR_FILE_NOT_FOUND);
    CHECK(key.GetHandle() == first);
    char buffer[16];
    ULONG count = sizeof buffer;
    CHECK(key.QueryStringValue("text", buffer, &count) == ERROR_SUCCESS);
    CHECK(std::string(buffer) == "kept");

    REQUIRE(key.Open(HKEY_CURRENT_USER, scratch.path) == ERROR_SUCCESS);
    CHECK(key.GetHandle() != first);
    DWORD bytes = sizeof buffer;
    CHECK(RegQueryValueExA(first, "text", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes)
          == ERROR_INVALID_HANDLE);

    CHECK(key.Close() == ERROR_SUCCESS);
    CHECK(key.GetHandle() == nullptr);
    CHECK(key.Close() == ERROR_SUCCESS);
}
