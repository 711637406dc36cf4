// The planted library of PlantedLibraryTests: exports none of the real calls
// and marks the process that loads it.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableA("ZVX_PLANTED_LOADED", "1");
    return TRUE;
}
