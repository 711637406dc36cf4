#include "controls/AccessibleControl.h"

#include <oleacc.h>

#include "controls/AccessibilityApi.h"
#include "controls/AccessibleProxy.h"

// Out of line, as is the destructor: only here is the object's type complete.
AccessibleControl::AccessibleControl() = default;

AccessibleControl::~AccessibleControl()
{
    Disconnect();
}

BOOL AccessibleControl::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    if (message == WM_NCDESTROY) {
        // Before the window is let go; the framework goes on with it.
        Disconnect();
        return FALSE;
    }
    // The object id travels in lParam as a DWORD.
    if (message != WM_GETOBJECT || static_cast<LONG>(lParam) != OBJID_CLIENT)
        return FALSE;
    if (!accessible)
        accessible.Attach(AccessibleProxy::Create(window, this));
    if (!accessible)
        return FALSE;
    // Unanswered (no object, or no oleacc), the window's default processing
    // answers 0 and the client gets the standard object.
    const LRESULT reference = AccessibilityApi::LresultFromObject(IID_IAccessible, wParam,
                                                                 static_cast<IAccessible*>(accessible.Get()));
    if (reference < 0)
        return FALSE;
    result = reference;
    return TRUE;
}

void AccessibleControl::Disconnect()
{
    if (accessible)
        accessible->Disconnect();
    accessible.Reset();
}
