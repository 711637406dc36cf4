#include "app/Application.h"

#include "app/DomainBrowserDialog.h"
#include "app/MessageLoop.h"
#include "framework/AppModule.h"

int Application::Run(LPSTR /*commandLine*/, int showCommand)
{
    MessageLoop loop;
    // The dialog registers itself with this loop while it is created, so it
    // must not be created without one (only possible when memory ran out).
    if (!appModule.AddMessageLoop(&loop))
        return 0;

    int exitCode = 0;
    {
        DomainBrowserDialog dialog;
        if (dialog.Create(nullptr, 0) != nullptr) {
            dialog.ShowWindow(showCommand);
            exitCode = loop.Run();
        }
        appModule.RemoveMessageLoop();
    }
    return exitCode;
}
