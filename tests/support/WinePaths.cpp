#include "support/WinePaths.h"

#include <windows.h>

#include <stdio.h>

namespace testing {

std::string ToWindowsPath(const std::string& hostPath)
{
    std::string path = "Z:" + hostPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string EnvironmentPath(const char* name)
{
    char buffer[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return std::string();
    return buffer;
}

std::string BinaryDir()
{
    return ToWindowsPath(EnvironmentPath("ZVX_BINARY_DIR"));
}

std::string ProgramPath()
{
    return BinaryDir() + "\\app\\zvx.exe";
}

std::string ScratchFile(const char* stem, const char* extension)
{
    static unsigned serial = 0;
    char name[MAX_PATH];
    snprintf(name, sizeof name, "Z:\\tmp\\zvx-%s-%lu-%lu-%u.%s", stem, GetCurrentProcessId(),
             GetTickCount(), ++serial, extension);
    return name;
}

} // namespace testing
