#include "controls/ShellApi.h"

#include <shellapi.h>

#include "framework/SystemFunctions.h"

namespace {

using ShellExecuteAProc = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

const char* const names[] = {"ShellExecuteA"};
SystemFunctions<1> shell32("shell32.dll", names);

} // namespace

HINSTANCE ShellApi::ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                  LPCSTR directory, INT showCommand)
{
    const ShellExecuteAProc shellExecute = shell32.Get<ShellExecuteAProc>(0);
    if (shellExecute == nullptr)
        return reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(SE_ERR_DLLNOTFOUND));
    return shellExecute(window, operation, file, parameters, directory, showCommand);
}
