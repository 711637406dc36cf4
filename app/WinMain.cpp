#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/Application.h"
#include "framework/AppModule.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int showCommand)
{
    ::CoInitialize(nullptr);
    // Lets the system finish its per-thread window set-up before the first window.
    ::DefWindowProcA(nullptr, 0, 0, 0);

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&controls);

    appModule.Init(instance);
    const int exitCode = Application::Run(commandLine, showCommand);
    appModule.Term();

    ::CoUninitialize();
    return exitCode;
}
