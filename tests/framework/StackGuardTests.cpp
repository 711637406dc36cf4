// The stack guard as a process sees it: in tests/framework/StackGuardChild.cpp,
// started beside this test.
#include <doctest.h>

#include <windows.h>

#include <string>

#include "support/TestProcess.h"

namespace {

std::string ChildPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1) + "stack_guard_child.exe";
}

DWORD ChildExitCode(const char* arguments)
{
    testing::TestProcess child(ChildPath(), arguments);
    REQUIRE(child.Started());
    const DWORD code = child.WaitExit();
    CHECK(code != STILL_ACTIVE);
    return code;
}

} // namespace

TEST_CASE("each process seeds a canary of its own, and a smashed frame ends the process at once")
{
    // Each child's canary is seeded (it is not what the image starts with),
    // and two seeds differ.
    const DWORD unseeded = ChildExitCode("unseeded");
    const DWORD canaries[2] = {ChildExitCode("canary"), ChildExitCode("canary")};
    CHECK(canaries[0] != unseeded);
    CHECK(canaries[1] != unseeded);
    CHECK(canaries[0] != canaries[1]);

    // A copy that fits returns; one that overruns the buffer never does.
    struct Case { const char* text; DWORD exitCode; };
    for (const Case& c : {Case{"xxxxxxx", 0}, Case{"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", STATUS_STACK_BUFFER_OVERRUN}}) {
        CAPTURE(c.text);
        testing::TestProcess child(ChildPath(), std::string("smash ") + c.text);
        REQUIRE(child.Started());
        CHECK(child.WaitExit() == c.exitCode);
    }
}
