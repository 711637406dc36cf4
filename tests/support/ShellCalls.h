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

    // False when shell32's entry could not be diverted, or another object
    // records already: nothing is recorded then.
    bool Recording() const { return active == this && diverted; }
    std::vector<std::string> Files() const { return files; }

private:
    static HINSTANCE WINAPI Record(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                   LPCSTR directory, INT showCommand);
    // Writes the jump to Record over the entry's first bytes (or the saved
    // original bytes back); true when they were written, whatever became of
    // the page's protection afterwards.
    static bool Write(bool jump);

    // The process-wide state of the one entry: kept beyond any object, so
    // that the entry can always be given its own bytes back.
    static ShellCalls* active;
    static BYTE* entry;          // shell32's ShellExecuteA
    static BYTE original[5];     // its own first bytes, saved before the first jump
    static bool diverted;        // the jump is in place
    std::vector<std::string> files;
};

} // namespace testing
