#pragma once

#include <windows.h>

// The one shell call of the program, bound to shell32.dll on its first use:
// only Visit and the About box's links open anything, and importing shell32
// would load it, with the libraries it pulls in, at every start. Where it
// cannot be bound the call fails as a refused ShellExecuteA does (a value of
// 32 or less): nothing is opened.
class ShellApi {
public:
    static HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                   LPCSTR directory, INT showCommand);
};
