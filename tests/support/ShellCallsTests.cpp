// The recorder of shell calls leaves the shell's entry as it found it.
#include <doctest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/ShellCalls.h"

TEST_CASE("the shell's entry is diverted only while one recording lives, and gets its own bytes back")
{
    HMODULE shell32 = LoadLibraryA("shell32.dll");
    REQUIRE(shell32 != nullptr);
    const BYTE* entry = reinterpret_cast<const BYTE*>(GetProcAddress(shell32, "ShellExecuteA"));
    REQUIRE(entry != nullptr);
    BYTE own[5];
    std::memcpy(own, entry, sizeof own);
    using Proc = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    const Proc shellExecute = reinterpret_cast<Proc>(const_cast<BYTE*>(entry));
    // Wine's shell opens nothing for an empty file.
    const auto call = [&] { shellExecute(nullptr, "open", "", nullptr, nullptr, SW_SHOWNORMAL); };

    {
        testing::ShellCalls outer;
        REQUIRE(outer.Recording());
        {
            testing::ShellCalls inner;
            CHECK_FALSE(inner.Recording());
        }
        CHECK(outer.Recording());
        call();
        call();
        // Diverted again after each call went through.
        CHECK(outer.Files() == std::vector<std::string>{"", ""});
        CHECK(std::memcmp(entry, own, sizeof own) != 0);
    }
    CHECK(std::memcmp(entry, own, sizeof own) == 0);
    call();

    testing::ShellCalls later;
    REQUIRE(later.Recording());
    call();
    CHECK(later.Files() == std::vector<std::string>{""});
}
