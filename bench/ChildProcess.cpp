#include "bench/ChildProcess.h"

#include <string.h>

namespace {

BOOL CALLBACK FindDialogWindow(HWND window, LPARAM found)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    // The dialog manager's own window class.
    if (strcmp(className, "#32770") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CloseOwnedHandle(HANDLE& handle)
{
    if (handle != nullptr && CloseHandle(handle))
        handle = nullptr;
}

} // namespace

ChildProcess::~ChildProcess()
{
    if (process.hProcess != nullptr && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 255);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseOwnedHandle(process.hThread);
    CloseOwnedHandle(process.hProcess);
}

BOOL ChildProcess::Start(const char* path)
{
    // A default start-up block: the child gets SW_SHOWDEFAULT, as when it
    // is started from a shell without a show command.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    char commandLine[MAX_PATH + 3];
    if (strlen(path) + 3 > sizeof commandLine)
        return FALSE;
    strcpy(commandLine, "\"");
    strcat(commandLine, path);
    strcat(commandLine, "\"");
    return CreateProcessA(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
}

BOOL ChildProcess::WaitIdle(DWORD timeoutMs)
{
    return WaitForInputIdle(process.hProcess, timeoutMs) == 0;
}

HWND ChildProcess::FindDialog() const
{
    HWND found = nullptr;
    EnumThreadWindows(process.dwThreadId, FindDialogWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND ChildProcess::WaitForDialog(DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND dialog = FindDialog())
            return dialog;
        if (GetTickCount() - start >= timeoutMs || WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT)
            return nullptr;
        Sleep(5);
    }
}

int ChildProcess::CloseAndWait(HWND dialog, DWORD timeoutMs)
{
    if (dialog != nullptr)
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 255);
        WaitForSingleObject(process.hProcess, 5000);
        return -1;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    return static_cast<int>(exitCode);
}
