#pragma once

#include <windows.h>

// A Windows system DLL bound on its first use instead of imported: the
// process does not pay for loading it at start-up, and starts where it is
// missing. Once loaded it stays loaded for the rest of the process, as an
// imported one would: handles and objects made through it may outlive any
// one caller. Objects of this class are meant to be process-wide.
class SystemLibrary {
public:
    explicit constexpr SystemLibrary(const char* fileName) : fileName(fileName) {}

    SystemLibrary(const SystemLibrary&) = delete;
    SystemLibrary& operator=(const SystemLibrary&) = delete;

    // The library's export of that name; NULL when the library cannot be
    // loaded or has no such export.
    template <class Proc>
    Proc Find(const char* name)
    {
        HMODULE module = Load();
        if (module == nullptr)
            return nullptr;
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

private:
    // Tried once per process, from the system folder only.
    HMODULE Load();

    const char* fileName;
    HMODULE module = nullptr;  // set before tried is published, never after
    LONG tried = 0;            // published with interlocked operations
};
