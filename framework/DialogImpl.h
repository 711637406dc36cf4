#pragma once

#include "framework/MessageTarget.h"

// A dialog object: the dialog manager calls its entry stub as the dialog
// procedure from the dialog's first message on.
class DialogImplBase : public MessageTarget {
public:
    DialogImplBase() = default;
    ~DialogImplBase() override = default;

    virtual DLGPROC GetDialogProc() { return DialogProc; }
    virtual void OnFinalMessage(HWND) {}

    static INT_PTR CALLBACK DialogProc(HWND object, UINT message, WPARAM wParam, LPARAM lParam);
    // Receives the dialog's first message and binds the window to the object
    // that Create or DoModal put on the creation list.
    static INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    HWND CreateFromTemplate(UINT templateId, HWND parent, LPARAM param);
    INT_PTR DoModalFromTemplate(UINT templateId, HWND parent, LPARAM param);
};

// T names its dialog template resource as the class constant templateId.
template <class T>
class DialogImpl : public DialogImplBase {
public:
    // Modeless: the window lives until DestroyWindow. NULL when it cannot be created.
    HWND Create(HWND parent, LPARAM param = 0)
    {
        return CreateFromTemplate(T::templateId, parent, param);
    }

    // Modal: returns the value given to EndDialog, or -1/0 when the dialog
    // could not be created.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM param = 0)
    {
        return DoModalFromTemplate(T::templateId, parent, param);
    }
};
