// The start-up baseline: the least a plain Win32 program does to show the
// same window. Its own entry point and dialog procedure, no framework, no
// COM, no pictures, icons or owner drawing; the same list contents, the same
// first selection and the same loop shape as the program.
#include <windows.h>
#include <commctrl.h>
#include <string.h>

#include "catalogue/DomainTable.h"
#include "res/resource.h"

namespace {

void CentreInWorkArea(HWND dialog)
{
    RECT area;
    RECT window;
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) || !GetWindowRect(dialog, &window))
        return;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// Selects in the other list the item of the record whose code or
// description is selected; the first exact match decides.
void Mirror(HWND dialog, bool fromDescriptions)
{
    HWND source = GetDlgItem(dialog, fromDescriptions ? IDC_DESCRIPTION_LIST : IDC_CODE_LIST);
    HWND target = GetDlgItem(dialog, fromDescriptions ? IDC_CODE_LIST : IDC_DESCRIPTION_LIST);
    const LRESULT selected = SendMessageA(source, LB_GETCURSEL, 0, 0);
    if (selected < 0 || SendMessageA(source, LB_GETTEXTLEN, selected, 0) >= 260)
        return;
    char text[260];
    SendMessageA(source, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(text));
    for (int i = 0; i < domainTableSize; ++i) {
        const DomainRecord& record = domainTable[i];
        if (strcmp(fromDescriptions ? record.description : record.code, text) != 0)
            continue;
        const char* other = fromDescriptions ? record.code : record.description;
        SendMessageA(target, LB_SETCURSEL,
                     SendMessageA(target, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(other)),
                     0);
        return;
    }
}

INT_PTR CALLBACK BaselineDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        CentreInWorkArea(dialog);
        HWND codes = GetDlgItem(dialog, IDC_CODE_LIST);
        HWND descriptions = GetDlgItem(dialog, IDC_DESCRIPTION_LIST);
        for (int i = 0; i < domainTableSize; ++i) {
            SendMessageA(codes, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(domainTable[i].code));
            SendMessageA(descriptions, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(domainTable[i].description));
        }
        SendMessageA(codes, LB_SETCURSEL, 0, 0);
        Mirror(dialog, false);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dialog);
            PostQuitMessage(LOWORD(wParam));
        } else if (HIWORD(wParam) == LBN_SELCHANGE) {
            Mirror(dialog, LOWORD(wParam) == IDC_DESCRIPTION_LIST);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    // With a version 6 manifest the standard controls come from the common
    // controls library, which has to be initialised before the dialog.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);

    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_DOMAIN_BROWSER), nullptr, BaselineDialogProc, 0);
    if (dialog == nullptr)
        return 0;
    ShowWindow(dialog, showCommand);

    // The program's loop: one idle pass whenever the queue runs dry after a
    // message that re-arms it, then a blocking GetMessage.
    MSG msg = {};
    BOOL doIdle = TRUE;
    for (;;) {
        while (doIdle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            doIdle = FALSE;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            continue;
        if (!got)
            break;
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE && msg.message != WM_PAINT &&
            msg.message != 0x0118)
            doIdle = TRUE;
    }
    return static_cast<int>(msg.wParam);
}
