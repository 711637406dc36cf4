#pragma once

#include <windows.h>

// Functions of one Windows system DLL, bound by name on their first use
// instead of imported: the process does not load the library at start-up,
// and starts where the library or any function is missing, which is then
// NULL. The library is loaded from the system folder only, never from the
// program's or the current folder, once per process, and stays loaded as an
// imported one would (handles made through it may outlive any caller). The
// names are looked up once, under the module's static-data lock. One
// process-wide object per library:
//
//     const char* const names[] = {"OpenThemeData", "CloseThemeData"};
//     SystemFunctions<2> uxtheme("uxtheme.dll", names);
//     auto open = uxtheme.Get<OpenThemeDataProc>(0);   // NULL when missing
class SystemFunctionTable {
public:
    SystemFunctionTable(const SystemFunctionTable&) = delete;
    SystemFunctionTable& operator=(const SystemFunctionTable&) = delete;

    // The function names[index], NULL where the system lacks it.
    template <class Proc>
    Proc Get(int index)
    {
        Bind();
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(addresses[index]));
    }
    // Whether the library has every function of the table.
    bool HasAll();

protected:
    // Constant: the tables are ready before any code of the program runs.
    constexpr SystemFunctionTable(const char* fileName, const char* const* names, FARPROC* addresses, int count)
        : fileName(fileName), names(names), addresses(addresses), count(count)
    {
    }

private:
    void Bind();

    const char* fileName;
    const char* const* names;
    FARPROC* addresses;  // set before bound is published, never after
    int count;
    LONG bound = 0;      // published with interlocked operations
};

template <int N>
class SystemFunctions : public SystemFunctionTable {
public:
    constexpr SystemFunctions(const char* fileName, const char* const (&names)[N])
        : SystemFunctionTable(fileName, names, storage, N)
    {
    }

private:
    FARPROC storage[N] = {};
};
