#include "support/ShellCalls.h"

#include <cstring>

namespace testing {

ShellCalls* ShellCalls::active = nullptr;

ShellCalls::ShellCalls()
{
    // The same module the program binds on first use: a DLL is loaded once per process.
    HMODULE shell32 = LoadLibraryA("shell32.dll");
    target = shell32 != nullptr ? reinterpret_cast<BYTE*>(GetProcAddress(shell32, "ShellExecuteA")) : nullptr;
    if (target == nullptr || active != nullptr) {
        target = nullptr;
        return;
    }
    std::memcpy(original, target, sizeof original);
    active = this;
    if (!Divert(true)) {
        active = nullptr;
        target = nullptr;
    }
}

ShellCalls::~ShellCalls()
{
    if (target != nullptr)
        Divert(false);
    if (active == this)
        active = nullptr;
}

bool ShellCalls::Divert(bool on)
{
    BYTE jump[sizeof original] = {0xE9};  // jmp rel32, relative to the next instruction
    const LONG distance = reinterpret_cast<LONG>(&Record) - reinterpret_cast<LONG>(target + sizeof jump);
    std::memcpy(jump + 1, &distance, sizeof distance);
    DWORD protection = 0;
    if (!VirtualProtect(target, sizeof original, PAGE_EXECUTE_READWRITE, &protection))
        return false;
    std::memcpy(target, on ? jump : original, sizeof original);
    VirtualProtect(target, sizeof original, protection, &protection);
    return FlushInstructionCache(GetCurrentProcess(), target, sizeof original) != FALSE;
}

HINSTANCE WINAPI ShellCalls::Record(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                    LPCSTR directory, INT showCommand)
{
    ShellCalls* calls = active;
    calls->files.push_back(file != nullptr ? file : "<null>");
    // The real entry runs with its own bytes back, then is diverted again.
    calls->Divert(false);
    using Proc = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    const HINSTANCE result = reinterpret_cast<Proc>(calls->target)(window, operation, file, parameters, directory,
                                                                    showCommand);
    calls->Divert(true);
    return result;
}

} // namespace testing
