#include "controls/ShellApi.h"

#include <shellapi.h>

#include "framework/SystemLibrary.h"

namespace {

using ShellExecuteAProc = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

SystemLibrary shell32("shell32.dll");

} // namespace

HINSTANCE ShellApi::ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                                  LPCSTR directory, INT showCommand)
{
    const ShellExecuteAProc shellExecute = shell32.Find<ShellExecuteAProc>("ShellExecuteA");
    if (shellExecute == nullptr)
        return reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(SE_ERR_DLLNOTFOUND));
    return shellExecute(window, operation, file, parameters, directory, showCommand);
}
