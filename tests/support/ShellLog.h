#pragma once

#include <string>
#include <vector>

namespace testing {

// What the test prefixes' stand-in browser and mail program were asked to
// open: tests/support/shell-log appends each address to shell.log in the
// Wine prefix. Tests in one prefix share the file, so a ShellLog only reads
// what was added after it was made.
class ShellLog {
public:
    ShellLog();

    // Addresses logged since construction, and how often one of them was.
    std::vector<std::string> Entries() const;
    int Count(const std::string& address) const;
    // Waits, pumping messages, until address was logged; false after timeoutMs.
    bool WaitFor(const std::string& address, unsigned timeoutMs = 8000) const;

private:
    std::string path;
    long start = 0;
};

} // namespace testing
