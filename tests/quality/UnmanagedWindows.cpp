#include "quality/UnmanagedWindows.h"

namespace testing {

namespace {

std::string SettingKey(const std::string& program)
{
    const size_t slash = program.find_last_of("\\/");
    const std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
    return "Software\\Wine\\AppDefaults\\" + name + "\\X11 Driver";
}

} // namespace

UnmanagedWindows::UnmanagedWindows(const std::string& program)
    : setting(SettingKey(program), "Managed", REG_SZ, "N", 2)
{
}

} // namespace testing
