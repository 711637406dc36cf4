#include "quality/UnmanagedRun.h"

#include <string>
#include <vector>

#include "quality/UnmanagedWindows.h"

namespace testing {

namespace {

const char* const childVariable = "ZVX_UNMANAGED_CHILD";

} // namespace

bool UnmanagedRun::InChild()
{
    return GetEnvironmentVariableA(childVariable, nullptr, 0) != 0;
}

DWORD UnmanagedRun::RunTestCase(const char* testCase, DWORD timeoutMs)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    UnmanagedWindows unmanaged(path);

    std::string commandLine = std::string("\"") + path + "\" --no-intro=true --test-case=\"" + testCase + "\"";
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    SetEnvironmentVariableA(childVariable, "1");
    PROCESS_INFORMATION child = {};
    const BOOL started = CreateProcessA(path, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &child);
    SetEnvironmentVariableA(childVariable, nullptr);
    if (!started)
        return STILL_ACTIVE;

    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(child.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(child.hProcess, &code);
    else
        TerminateProcess(child.hProcess, STILL_ACTIVE);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return code;
}

} // namespace testing
