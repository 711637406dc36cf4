#pragma once

#include <windows.h>

#include <string>

#include "quality/UnmanagedWindows.h"
#include "support/TestProcess.h"

namespace testing {

// One run of the real program (zvx.exe or a copy of it), driven from outside
// through the messages its windows would get from the user: a choice in a
// list as the list box reports it, the About command, Escape.
class ProgramRun {
public:
    explicit ProgramRun(const std::string& program);

    // The main dialog, once shown and the program idle; NULL otherwise.
    HWND Dialog() const { return dialog; }
    bool Running() const { return process.WaitExit(0) == STILL_ACTIVE; }

    // Selects the item with exactly this text and notifies the dialog as the
    // list box does; returns the other list's selected text ("" for none).
    std::string Choose(int listId, const char* text);
    bool VisitEnabled() const;

    // Sends the About command and waits for the box; NULL if it did not show.
    HWND OpenAbout();
    // Escape to the box; true once the box is gone and the main dialog usable.
    bool CloseAbout(HWND about);
    // Escape to the main dialog; the exit code, or STILL_ACTIVE if it did not end.
    DWORD EndWithEscape();

private:
    // Declared first: the setting must exist before the process starts.
    UnmanagedWindows unmanaged;
    TestProcess process;
    HWND dialog = nullptr;
};

// Posts a key press and release as the input queue would deliver them to window.
void PostKey(HWND window, WPARAM key);

} // namespace testing
