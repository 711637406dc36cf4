#include "support/ShellLog.h"

#include <windows.h>

#include <stdio.h>

#include "support/UserInput.h"
#include "support/WinePaths.h"

namespace testing {

ShellLog::ShellLog()
    : path(ToWindowsPath(EnvironmentPath("WINEPREFIX")) + "\\shell.log"), start(FileSize())
{
}

long ShellLog::FileSize() const
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<long>(data.nFileSizeLow);
}

std::vector<std::string> ShellLog::Entries() const
{
    std::vector<std::string> entries;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr)
        return entries;
    fseek(file, start, SEEK_SET);
    char line[4096];
    while (fgets(line, sizeof line, file) != nullptr) {
        std::string entry(line);
        while (!entry.empty() && (entry.back() == '\n' || entry.back() == '\r'))
            entry.pop_back();
        entries.push_back(entry);
    }
    fclose(file);
    return entries;
}

bool ShellLog::WaitFor(const std::string& address, unsigned timeoutMs) const
{
    return WaitUntil([&] {
        for (const std::string& entry : Entries())
            if (entry == address)
                return true;
        return false;
    }, timeoutMs);
}

bool ShellLog::StaysEmpty(unsigned waitMs) const
{
    PumpFor(waitMs);
    return Entries().empty();
}

void ShellLog::Skip()
{
    start = FileSize();
}

} // namespace testing
