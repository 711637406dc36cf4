#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "quality/HostileChecks.h"
#include "quality/RegistryBytes.h"
#include "quality/ScopedRegistryValue.h"
#include "support/WinePaths.h"

using testing::RegistryBytes;
using testing::ScopedRegistryValue;

namespace {

const char* const appearanceKey = "Control Panel\\Appearance";

struct SchemeCase {
    const char* name;
    DWORD type;
    RegistryBytes data;
};

} // namespace

// The scheme name is read into a buffer of 200 bytes when each Icon button is
// attached, at start-up; its length, type and case decide only the look.
TEST_CASE("the program works whatever the desktop's appearance scheme value holds")
{
    const std::vector<SchemeCase> cases = {
        {"an empty name", REG_SZ, RegistryBytes::Text("")},
        {"one character", REG_SZ, RegistryBytes::Text("W")},
        {"199 characters", REG_SZ, RegistryBytes::Text(std::string(199, 'S'))},
        {"199 characters without terminator", REG_SZ, RegistryBytes::Text(std::string(199, 'S'), false)},
        {"200 characters", REG_SZ, RegistryBytes::Text(std::string(200, 'S'))},
        {"5,000 characters", REG_SZ, RegistryBytes::Text(std::string(5000, 'S'))},
        {"a number", REG_DWORD, RegistryBytes::Dword(0x12345678)},
        {"binary without terminator", REG_BINARY, RegistryBytes::Text("Windows Standard", false)},
        {"the standard scheme in mixed case", REG_SZ, RegistryBytes::Text("wINDOWS sTANDARD")},
    };
    for (const SchemeCase& scheme : cases) {
        SUBCASE(scheme.name)
        {
            ScopedRegistryValue value(appearanceKey, "Current", scheme.type, scheme.data.bytes.data(),
                                      scheme.data.size);
            REQUIRE(value.Written());
            testing::CheckProgramWorks(testing::ProgramPath());
        }
    }
}
