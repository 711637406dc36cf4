#pragma once

#include <string>

namespace testing {

// A host path as a Windows program under Wine sees it (drive Z: is the host root).
std::string ToWindowsPath(const std::string& hostPath);

// The host path held by an environment variable that ctest sets, or "".
std::string EnvironmentPath(const char* name);

// build/windows as a Windows path, from ZVX_BINARY_DIR.
std::string BinaryDir();

// The program under test, build/windows/app/zvx.exe, as a Windows path.
std::string ProgramPath();

// A fresh file name in the host's /tmp, as a Windows path.
std::string ScratchFile(const char* stem, const char* extension);

} // namespace testing
