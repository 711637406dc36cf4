// Time of one selection mirroring in the running main dialog: the real
// DomainBrowserDialog, visible, in this process. For every item of each list
// the item is selected (LB_SETCURSEL sends no notification) and the paints
// that causes are flushed untimed; then the list's LBN_SELCHANGE is sent to
// the dialog as the list box itself would send it, and timed twice: the
// handler alone, and the handler plus the paints it left pending, pumped
// through the loop as the program's loop would - what a user waits for.
// For comparison, the other list's own selection change (LB_SETCURSEL from
// the same starting point, and its repaint) is timed as well: the part of a
// mirroring that no program showing these lists can avoid.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "app/DomainBrowserDialog.h"
#include "app/MessageLoop.h"
#include "bench/Sample.h"
#include "bench/Stopwatch.h"
#include "catalogue/DomainTable.h"
#include "framework/AppModule.h"
#include "res/resource.h"

namespace {

// Dispatches what is queued, paints included, the way the program's loop
// does; returns when the queue is empty. FALSE if the quit message came.
bool Flush(MessageLoop& loop)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            return false;
        if (!loop.PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

void FlushFor(MessageLoop& loop, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        Flush(loop);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void SelectedText(HWND list, char (&text)[260])
{
    text[0] = '\0';
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index >= 0 && SendMessageA(list, LB_GETTEXTLEN, index, 0) < 260)
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
}

// Whether the other list now shows the field of the record the mirroring
// applies for this text (the last record whose key matches).
bool Mirrored(HWND source, HWND target, bool fromDescriptions)
{
    char selected[260];
    char shown[260];
    SelectedText(source, selected);
    SelectedText(target, shown);
    const char* expected = nullptr;
    for (int i = 0; i < domainTableSize; ++i) {
        const DomainRecord& record = domainTable[i];
        if (strcmp(fromDescriptions ? record.description : record.code, selected) == 0)
            expected = fromDescriptions ? record.code : record.description;
    }
    return expected != nullptr && _stricmp(expected, shown) == 0;
}

struct ListRun {
    Sample handler;
    Sample withPaint;
    Sample toggling;      // handler + repaint of the selections that switched the visit button
    Sample steady;        // ...and of those that left it as it was
    Sample floor;         // the other list's own LB_SETCURSEL to the same item, plus its repaint
    int mirrored = 0;
};

bool RunList(HWND dialog, MessageLoop& loop, int listId, ListRun& run)
{
    HWND source = GetDlgItem(dialog, listId);
    HWND target = GetDlgItem(dialog, listId == IDC_CODE_LIST ? IDC_DESCRIPTION_LIST : IDC_CODE_LIST);
    HWND visit = GetDlgItem(dialog, IDC_VISIT);
    const int count = static_cast<int>(SendMessageA(source, LB_GETCOUNT, 0, 0));
    Stopwatch clock;
    for (int i = 0; i < count; ++i) {
        SendMessageA(source, LB_SETCURSEL, i, 0);
        if (!Flush(loop))
            return false;
        const BOOL visitBefore = IsWindowEnabled(visit);
        const LRESULT targetSelection = SendMessageA(target, LB_GETCURSEL, 0, 0);
        const LRESULT targetTop = SendMessageA(target, LB_GETTOPINDEX, 0, 0);
        clock.Restart();
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(source));
        const double handled = clock.ElapsedMs();
        if (!Flush(loop))
            return false;
        const double painted = clock.ElapsedMs();
        run.handler.Add(handled);
        run.withPaint.Add(painted);
        (IsWindowEnabled(visit) != visitBefore ? run.toggling : run.steady).Add(painted);
        run.mirrored += Mirrored(source, target, listId == IDC_DESCRIPTION_LIST) ? 1 : 0;

        // The same change of the other list made directly, from the same
        // starting point: what any program showing these lists would pay.
        const LRESULT mirrored = SendMessageA(target, LB_GETCURSEL, 0, 0);
        SendMessageA(target, LB_SETCURSEL, targetSelection, 0);
        SendMessageA(target, LB_SETTOPINDEX, targetTop, 0);
        if (!Flush(loop))
            return false;
        clock.Restart();
        SendMessageA(target, LB_SETCURSEL, mirrored, 0);
        if (!Flush(loop))
            return false;
        run.floor.Add(clock.ElapsedMs());
    }
    return count > 0;
}

} // namespace

int main(int argc, char** argv)
{
    // zvx-bench-selection [sweeps], 3 by default: 3 x 259 samples per list.
    const int passes = argc > 1 ? atoi(argv[1]) : 3;
    if (passes < 1 || passes * domainTableSize > Sample::capacity) {
        fprintf(stderr, "usage: zvx-bench-selection [sweeps, 1 to %d]\n", Sample::capacity / domainTableSize);
        return 2;
    }

    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&controls);
    appModule.Init(GetModuleHandleA(nullptr));

    int status = 0;
    {
        MessageLoop loop;
        appModule.AddMessageLoop(&loop);
        DomainBrowserDialog dialog;
        HWND window = dialog.Create(nullptr, 0);
        if (window == nullptr) {
            fprintf(stderr, "selection: the dialog cannot be created\n");
            status = 1;
        } else {
            ShowWindow(window, SW_SHOW);
            // Let the first paints and activation settle before measuring.
            FlushFor(loop, 300);

            // Several sweeps, alternating the lists, so that a burst of other
            // work on the machine lands in a smaller share of the samples.
            ListRun codes;
            ListRun descriptions;
            for (int pass = 0; pass < passes && status == 0; ++pass) {
                if (!RunList(window, loop, IDC_CODE_LIST, codes) ||
                    !RunList(window, loop, IDC_DESCRIPTION_LIST, descriptions)) {
                    fprintf(stderr, "selection: the run was cut short\n");
                    status = 1;
                }
            }
            printf("selection: every item of each list, %d sweeps, dialog visible\n", passes);
            codes.handler.Print("select code: handler");
            codes.withPaint.Print("select code: handler + repaint");
            descriptions.handler.Print("select description: handler");
            descriptions.withPaint.Print("select description: handler + repaint");
            codes.floor.Print("  code: the other list alone");
            descriptions.floor.Print("  description: the other list alone");
            codes.steady.Print("  code, visit button unchanged");
            codes.toggling.Print("  code, visit button switched");
            descriptions.steady.Print("  description, visit button unchanged");
            descriptions.toggling.Print("  description, visit button switched");
            printf("%-34s codes %d/%d, descriptions %d/%d\n", "mirrored correctly", codes.mirrored,
                   codes.handler.Count(), descriptions.mirrored, descriptions.handler.Count());
            if (codes.mirrored != codes.handler.Count() || descriptions.mirrored != descriptions.handler.Count())
                status = 1;
            if (IsWindow(window))
                DestroyWindow(window);
            Flush(loop);
        }
        appModule.RemoveMessageLoop();
    }
    appModule.Term();
    CoUninitialize();
    return status;
}
