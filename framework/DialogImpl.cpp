#include "framework/DialogImpl.h"

namespace {

// Puts a dialog object on the creation list for the dialog's first message
// while the dialog is made, and takes the record off again afterwards: a
// dialog that failed before its first message leaves it behind.
class CreationScope {
public:
    CreationScope(CreationRecord& record, void* object) : record(record)
    {
        appModule.AddCreationRecord(&record, object);
    }
    ~CreationScope() { appModule.RemoveCreationRecord(&record); }
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    CreationRecord& record;
};

} // namespace

HWND DialogImplBase::CreateFromTemplate(UINT templateId, HWND parent, LPARAM param)
{
    CreationScope creation(creationRecord, this);
    return ::CreateDialogParamA(appModule.GetResourceInstance(), MAKEINTRESOURCEA(templateId), parent,
                                StartDialogProc, param);
}

INT_PTR DialogImplBase::DoModalFromTemplate(UINT templateId, HWND parent, LPARAM param)
{
    CreationScope creation(creationRecord, this);
    return ::DialogBoxParamA(appModule.GetResourceInstance(), MAKEINTRESOURCEA(templateId), parent,
                             StartDialogProc, param);
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
