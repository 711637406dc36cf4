#pragma once

#include <windows.h>

namespace testing {

// Runs one test case of this executable again in a child process whose
// windows Wine leaves unmanaged (see UnmanagedWindows), for tests that open
// and close many dialogs. The parent only reports the child's result.
class UnmanagedRun {
public:
    // True in the child, where the test does its work.
    static bool InChild();
    // The child's exit code, or STILL_ACTIVE after timeoutMs. The child
    // shares this process's output.
    static DWORD RunTestCase(const char* testCase, DWORD timeoutMs);
};

} // namespace testing
