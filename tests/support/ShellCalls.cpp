#include "support/ShellCalls.h"

#include <shellapi.h>

#include <cstring>

namespace testing {

ShellCalls* ShellCalls::active = nullptr;
BYTE* ShellCalls::entry = nullptr;
BYTE ShellCalls::original[5] = {};
bool ShellCalls::diverted = false;

ShellCalls::ShellCalls()
{
    if (active != nullptr)
        return;
    if (entry == nullptr) {
        // The same module the program binds on first use: a DLL is loaded once per process.
        HMODULE shell32 = LoadLibraryA("shell32.dll");
        BYTE* found = shell32 != nullptr ? reinterpret_cast<BYTE*>(GetProcAddress(shell32, "ShellExecuteA")) : nullptr;
        if (found == nullptr)
            return;
        std::memcpy(original, found, sizeof original);
        entry = found;
    }
    // A jump left behind by an object whose restore failed is still there:
    // the saved bytes are the entry's own, never the jump.
    active = this;
    if (!diverted && !Write(true))
        active = nullptr;
}

ShellCalls::~ShellCalls()
{
    if (active != this)
        return;
    active = nullptr;
    if (diverted)
        Write(false);
}

bool ShellCalls::Write(bool jump)
{
    BYTE bytes[sizeof original];
    if (jump) {
        bytes[0] = 0xE9;  // jmp rel32, relative to the next instruction
        const LONG distance = reinterpret_cast<LONG>(&Record) - reinterpret_cast<LONG>(entry + sizeof bytes);
        std::memcpy(bytes + 1, &distance, sizeof distance);
    } else {
        std::memcpy(bytes, original, sizeof bytes);
    }
    DWORD protection = 0;
    if (!VirtualProtect(entry, sizeof bytes, PAGE_EXECUTE_READWRITE, &protection))
        return false;
    std::memcpy(entry, bytes, sizeof bytes);
    diverted = jump;
    VirtualProtect(entry, sizeof bytes, protection, &protection);
    FlushInstructionCache(GetCurrentProcess(), entry, sizeof bytes);
    return true;
}

// Reached through the jump, with or without a recording: a jump whose
// removal failed stays until a call comes through here.
HINSTANCE WINAPI ShellCalls::Record(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                    LPCSTR directory, INT showCommand)
{
    if (active != nullptr)
        active->files.push_back(file != nullptr ? file : "<null>");
    // The real entry runs with its own bytes back; a call that cannot have
    // them fails as a refused one would, rather than come back here.
    if (!Write(false))
        return reinterpret_cast<HINSTANCE>(SE_ERR_ACCESSDENIED);
    using Proc = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    const HINSTANCE result = reinterpret_cast<Proc>(entry)(window, operation, file, parameters, directory,
                                                           showCommand);
    if (active != nullptr)
        Write(true);
    return result;
}

} // namespace testing
