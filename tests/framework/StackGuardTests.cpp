// The stack guard as a process sees it: in tests/framework/StackGuardChild.cpp,
// started beside this test.
#include <doctest.h>

#include <windows.h>

#include <string>

#include "support/TestProcess.h"

namespace {

DWORD ChildExitCode(const char* arguments)
{
    testing::TestProcess child(testing::BesideThisProgram("stack_guard_child.exe"), arguments);
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
        CHECK(ChildExitCode((std::string("smash ") + c.text).c_str()) == c.exitCode);
    }
}
