#pragma once

#include <windows.h>
#include <oleacc.h>

// The two accessibility calls a control needs to answer a screen reader with
// an object of its own, bound to oleacc.dll on their first use: it is not one
// of the system's known DLLs, and only a client's first question needs it,
// so start-up never pays for it. Where it cannot be bound, both fail with
// E_NOTIMPL, and the control leaves the question to the system.
class AccessibilityApi {
public:
    static HRESULT CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object);
    // The reference WM_GETOBJECT answers with; negative (an HRESULT) on failure.
    static LRESULT LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object);
};
