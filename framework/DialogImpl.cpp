#include "framework/DialogImpl.h"

HWND DialogImplBase::CreateFromTemplate(UINT templateId, HWND parent, LPARAM param)
{
    appModule.AddCreationRecord(&creationRecord, this);
    HWND window = ::CreateDialogParamA(appModule.GetResourceInstance(), MAKEINTRESOURCEA(templateId),
                                       parent, StartDialogProc, param);
    // A dialog that failed before its first message leaves the record behind.
    appModule.RemoveCreationRecord(&creationRecord);
    return window;
}

INT_PTR DialogImplBase::DoModalFromTemplate(UINT templateId, HWND parent, LPARAM param)
{
    appModule.AddCreationRecord(&creationRecord, this);
    const INT_PTR result = ::DialogBoxParamA(appModule.GetResourceInstance(), MAKEINTRESOURCEA(templateId),
                                             parent, StartDialogProc, param);
    appModule.RemoveCreationRecord(&creationRecord);
    return result;
}

INT_PTR CALLBACK DialogImplBase::StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogImplBase* self = static_cast<DialogImplBase*>(appModule.ExtractCreationObject());
    if (self == nullptr)
        return FALSE;
    if (!self->thunk.Init(self, reinterpret_cast<void*>(self->GetDialogProc())))
        return FALSE;
    self->hWnd = window;
    ::SetWindowLongA(window, DWL_DLGPROC, reinterpret_cast<LONG>(self->thunk.GetCode()));
    DLGPROC procedure = reinterpret_cast<DLGPROC>(self->thunk.GetCode());
    return procedure(window, message, wParam, lParam);
}

namespace {

// Messages whose dialog-procedure result is the answer itself rather than a
// handled flag with the answer in DWL_MSGRESULT.
bool AnswersDirectly(UINT message)
{
    switch (message) {
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    }
}

} // namespace

INT_PTR CALLBACK DialogImplBase::DialogProc(HWND object, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogImplBase* self = reinterpret_cast<DialogImplBase*>(object);
    HWND window = self->hWnd;
    LRESULT result = 0;
    const MSG* outer = nullptr;
    const BOOL handled = self->RouteToMap(message, wParam, lParam, result, outer);

    INT_PTR answer = FALSE;
    if (handled) {
        if (AnswersDirectly(message)) {
            answer = result;
        } else {
            ::SetWindowLongA(window, DWL_MSGRESULT, result);
            answer = TRUE;
        }
    } else if (message == WM_NCDESTROY) {
        self->state |= destroyedFlag;
    }

    if (HWND finished = self->LetGoIfFinished(outer))
        self->OnFinalMessage(finished);
    return answer;
}
