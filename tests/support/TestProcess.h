#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing {

// A program started for a test; killed by the destructor if still running.
class TestProcess {
public:
    explicit TestProcess(const std::string& path, const std::string& arguments = std::string());
    ~TestProcess();

    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    bool Started() const { return info.hProcess != nullptr; }
    // Waits until the process waits for input (its first idle); false on timeout.
    bool WaitIdle(DWORD timeoutMs = 15000) const;
    // The process's visible top-level window with this title, waiting up to timeoutMs.
    HWND FindWindowTitled(const char* title, DWORD timeoutMs = 15000) const;
    // Every top-level window the process has, visible or not.
    int CountWindows() const;
    // Its exit code, or STILL_ACTIVE after timeoutMs.
    DWORD WaitExit(DWORD timeoutMs = 15000) const;

private:
    PROCESS_INFORMATION info = {};
};

// This test's own executable, and a file in its folder.
std::string ThisProgram();
std::string BesideThisProgram(const char* name);
// Runs this test's executable again, with variable set in its environment
// (and doctest's introduction left out): its exit code, or STILL_ACTIVE
// after timeoutMs.
DWORD RunAgainWith(const char* variable, DWORD timeoutMs = 15000);

// A program's resource as the resource API finds it by type and name; empty
// when it is missing.
std::vector<BYTE> ResourceData(const std::string& program, LPCSTR type, LPCSTR name);
// A copy of a program in /tmp with one resource deleted (type and name as
// the resource API takes them); "" when the update failed.
std::string CopyWithoutResource(const std::string& program, LPCSTR type, LPCSTR name);
// A copy with one resource's data replaced.
std::string CopyWithResource(const std::string& program, LPCSTR type, LPCSTR name,
                             const void* data, DWORD size);

} // namespace testing
