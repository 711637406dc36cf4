#pragma once

#include <windows.h>

// One started instance of a dialog program. Owns the process and thread
// handles; the destructor ends a process that is still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // FALSE when the process cannot be created.
    BOOL Start(const char* path);

    // WaitForInputIdle: returns once the process first waits for input with
    // nothing pending. FALSE on time-out or failure.
    BOOL WaitIdle(DWORD timeoutMs);

    // The first top-level dialog window of the process's main thread, or
    // NULL while there is none.
    HWND FindDialog() const;
    // Polls FindDialog until it finds one or the time runs out.
    HWND WaitForDialog(DWORD timeoutMs) const;

    // Closes the dialog the way the Escape key or the Exit button does
    // (WM_COMMAND IDCANCEL) and waits for the process to end. The exit code
    // or -1 when it did not end in time (it is then terminated).
    int CloseAndWait(HWND dialog, DWORD timeoutMs);

private:
    PROCESS_INFORMATION process = {};
};
