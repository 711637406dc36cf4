#include "support/WinePaths.h"

#include <windows.h>

#include <stdio.h>

namespace testing {

std::string WindowsPathFromEnvironment(const char* name)
{
    char buffer[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return std::string();
    std::string path = std::string("Z:") + buffer;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string ProgramPath()
{
    return WindowsPathFromEnvironment("ZVX_BINARY_DIR") + "\\app\\zvx.exe";
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
