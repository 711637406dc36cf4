#pragma once

#include <windows.h>

// The program's run: the loop for this thread and the Domain browser dialog.
class Application {
public:
    // Returns the exit code: 0 when the dialog cannot be created, otherwise
    // the id of the command that closed it. The command line is ignored.
    static int Run(LPSTR commandLine, int showCommand);
};
