#include "support/ShellLog.h"

#include <algorithm>
#include <fstream>

#include "support/UserInput.h"
#include "support/WinePaths.h"

namespace testing {

ShellLog::ShellLog() : path(WindowsPathFromEnvironment("WINEPREFIX") + "\\shell.log")
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (file)
        start = static_cast<long>(file.tellg());
}

std::vector<std::string> ShellLog::Entries() const
{
    std::vector<std::string> entries;
    std::ifstream file(path, std::ios::binary);
    file.seekg(start);
    for (std::string line; std::getline(file, line);) {
        line.erase(line.find_last_not_of("\r") + 1);
        entries.push_back(line);
    }
    return entries;
}

int ShellLog::Count(const std::string& address) const
{
    const std::vector<std::string> entries = Entries();
    return static_cast<int>(std::count(entries.begin(), entries.end(), address));
}

bool ShellLog::WaitFor(const std::string& address, unsigned timeoutMs) const
{
    return WaitUntil([&] { return Count(address) > 0; }, timeoutMs);
}

} // namespace testing
