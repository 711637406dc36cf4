#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing {

// Every ShellExecuteA call made in this process while an object lives: the
// file each was given, "" included. The shell log cannot tell these apart
// from nothing, since Wine's shell opens nothing for an empty file. The calls
// still go on to the shell. One object at a time, on one thread.
class ShellCalls {
public:
    ShellCalls();
    ~ShellCalls();
    ShellCalls(const ShellCalls&) = delete;
    ShellCalls& operator=(const ShellCalls&) = delete;

    // False when shell32's entry could not be diverted: nothing is recorded.
    bool Recording() const { return target != nullptr; }
    std::vector<std::string> Files() const { return files; }

private:
    static HINSTANCE WINAPI Record(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                   LPCSTR directory, INT showCommand);
    // Writes a jump to Record over the entry's first bytes, or puts them back.
    bool Divert(bool on);

    static ShellCalls* active;
    BYTE* target = nullptr;  // shell32's ShellExecuteA
    BYTE original[5] = {};
    std::vector<std::string> files;
};

} // namespace testing
