#include "framework/SystemFunctions.h"

#include "framework/AppModule.h"
#include "framework/CriticalSection.h"

namespace {

// Not defined by headers for systems older than Windows 8.
constexpr DWORD searchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

// Only the system folder is searched, so that a DLL of the same name placed
// beside the program or in the current folder is not loaded.
HMODULE LoadFromSystemFolder(const char* fileName)
{
    HMODULE module = LoadLibraryExA(fileName, nullptr, searchSystem32);
    if (module != nullptr)
        return module;
    // Systems without that flag refuse it (ERROR_INVALID_PARAMETER); a full
    // path is searched nowhere else.
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + lstrlenA(fileName) >= MAX_PATH)
        return nullptr;
    path[length] = '\\';
    lstrcpyA(path + length + 1, fileName);
    return LoadLibraryA(path);
}

} // namespace

void SystemFunctionTable::Bind()
{
    // The interlocked read orders the reads of the addresses after it, and
    // the interlocked store below their writes before it: a thread that sees
    // the table bound without the lock sees the addresses as well.
    if (InterlockedCompareExchange(&bound, 0, 0) != 0)
        return;
    ScopedLock lock(appModule.GetStaticDataLock());
    if (bound != 0)
        return;
    if (HMODULE module = LoadFromSystemFolder(fileName))
        for (int i = 0; i < count; ++i)
            addresses[i] = GetProcAddress(module, names[i]);
    InterlockedExchange(&bound, 1);
}

bool SystemFunctionTable::HasAll()
{
    Bind();
    for (int i = 0; i < count; ++i)
        if (addresses[i] == nullptr)
            return false;
    return true;
}
