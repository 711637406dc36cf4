// A uxtheme.dll placed beside the program (PlantedUxtheme.cpp, built there by
// the build, and preferred to Wine's own through WINEDLLOVERRIDES) must never
// be loaded: the visual-styles library comes from the system folder only.
#include <doctest.h>

#include <windows.h>

#include <string.h>

#include "controls/ThemeApi.h"

TEST_CASE("the visual-styles library is loaded from the system folder, not from beside the program")
{
    char program[MAX_PATH] = {};
    REQUIRE(GetModuleFileNameA(nullptr, program, MAX_PATH) != 0);
    char* name = strrchr(program, '\\');
    REQUIRE(name != nullptr);
    lstrcpyA(name + 1, "uxtheme.dll");
    REQUIRE(GetFileAttributesA(program) != INVALID_FILE_ATTRIBUTES);
    // Already loaded, the library would be found by name and no search made.
    // Wine's common controls load it from the program's folder when they
    // start, so this program imports neither them nor the icon button.
    REQUIRE(GetModuleHandleA("uxtheme.dll") == nullptr);
    REQUIRE(GetEnvironmentVariableA("ZVX_PLANTED_LOADED", nullptr, 0) == 0);

    CHECK(ThemeApi::IsAvailable());
    char loaded[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    REQUIRE(GetModuleFileNameA(GetModuleHandleA("uxtheme.dll"), loaded, MAX_PATH) != 0);
    const int systemLength = static_cast<int>(GetSystemDirectoryA(system, MAX_PATH));
    CHECK(CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, loaded, systemLength, system, systemLength)
          == CSTR_EQUAL);
    // The planted library marks the process when it is loaded, even if freed at once.
    CHECK(GetEnvironmentVariableA("ZVX_PLANTED_LOADED", nullptr, 0) == 0);
}
