#include "framework/SystemLibrary.h"

#include "framework/AppModule.h"
#include "framework/CriticalSection.h"

namespace {

// Not defined by headers for systems older than Windows 8.
constexpr DWORD searchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32

// Only the system folder is searched, never the program's folder or the
// current one, so that a DLL of the same name placed there is not loaded.
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

HMODULE SystemLibrary::Load()
{
    // The interlocked read orders the read of module after it, and the
    // interlocked store below orders the store of module before it: a thread
    // that sees tried set without the lock sees the module as well.
    if (InterlockedCompareExchange(&tried, 0, 0) != 0)
        return module;
    ScopedLock lock(appModule.GetStaticDataLock());
    if (tried == 0) {
        module = LoadFromSystemFolder(fileName);
        InterlockedExchange(&tried, 1);
    }
    return module;
}
