// A uxtheme.dll placed beside the program (PlantedUxtheme.cpp, built there by
// the build, and preferred to Wine's own through WINEDLLOVERRIDES) must never
// be loaded: the visual-styles library comes from the system folder only.
#include <doctest.h>

#include <windows.h>

#include <string>

#include "controls/ThemeApi.h"
#include "support/TestProcess.h"

namespace {

// This executable's import slot of LoadLibraryExA, through which the
// program's code linked into it calls.
extern "C" decltype(&LoadLibraryExA) loadLibraryExSlot asm("__imp__LoadLibraryExA@12");

decltype(&LoadLibraryExA) realLoadLibraryEx = nullptr;
int refusedSearchFlag = 0;

// What a system older than Windows 8 answers to LOAD_LIBRARY_SEARCH_SYSTEM32.
HMODULE WINAPI RefuseSearchFlag(LPCSTR name, HANDLE file, DWORD flags)
{
    if (flags & 0x00000800) {
        ++refusedSearchFlag;
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return realLoadLibraryEx(name, file, flags);
}

bool DivertLoadLibraryEx()
{
    DWORD protection = 0;
    if (!VirtualProtect(&loadLibraryExSlot, sizeof loadLibraryExSlot, PAGE_READWRITE, &protection))
        return false;
    realLoadLibraryEx = loadLibraryExSlot;
    loadLibraryExSlot = RefuseSearchFlag;
    VirtualProtect(&loadLibraryExSlot, sizeof loadLibraryExSlot, protection, &protection);
    return true;
}

} // namespace

TEST_CASE("the visual-styles library is loaded from the system folder, not from beside the program")
{
    REQUIRE(GetFileAttributesA(testing::BesideThisProgram("uxtheme.dll").c_str()) != INVALID_FILE_ATTRIBUTES);
    // The planted library is preferred in addition to the harness's own overrides.
    char overrides[256] = {};
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    REQUIRE(std::string(overrides).find("mscoree,mshtml=") != std::string::npos);
    // Already loaded, the library would be found by name and no search made.
    // Wine's common controls load it from the program's folder when they
    // start, so this program imports neither them nor the icon button.
    REQUIRE(GetModuleHandleA("uxtheme.dll") == nullptr);
    REQUIRE(GetEnvironmentVariableA("ZVX_PLANTED_LOADED", nullptr, 0) == 0);

    // Where the system refuses to search its folder alone, the library is
    // loaded by its full path: that branch runs in a child of this test, as
    // the library is bound once per process.
    const bool refusing = GetEnvironmentVariableA("ZVX_REFUSE_SEARCH_FLAG", nullptr, 0) != 0;
    if (refusing) {
        REQUIRE(DivertLoadLibraryEx());
    } else {
        CHECK(testing::RunAgainWith("ZVX_REFUSE_SEARCH_FLAG") == 0);
    }

    CHECK(ThemeApi::IsAvailable());
    char loaded[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    REQUIRE(GetModuleFileNameA(GetModuleHandleA("uxtheme.dll"), loaded, MAX_PATH) != 0);
    const int systemLength = static_cast<int>(GetSystemDirectoryA(system, MAX_PATH));
    CHECK(CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, loaded, systemLength, system, systemLength)
          == CSTR_EQUAL);
    // The planted library marks the process when it is loaded, even if freed at once.
    CHECK(GetEnvironmentVariableA("ZVX_PLANTED_LOADED", nullptr, 0) == 0);
    if (refusing)
        CHECK(refusedSearchFlag > 0);
}
