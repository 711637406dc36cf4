#pragma once

#include <string>

namespace testing {

// The host path in an environment variable that ctest sets, as a Windows
// program under Wine sees it (drive Z: is the host root); "" when unset.
std::string WindowsPathFromEnvironment(const char* name);

// The program under test, build/windows/app/zvx.exe, as a Windows path.
std::string ProgramPath();

// A fresh file name in the host's /tmp, as a Windows path.
std::string ScratchFile(const char* stem, const char* extension);

} // namespace testing
