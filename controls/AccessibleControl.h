#pragma once

#include <windows.h>

#include "framework/ComPtr.h"
#include "framework/String.h"

class AccessibleProxy;

// A control that answers a screen reader (WM_GETOBJECT for its client area)
// with an accessible object of its own: it says what the control changes,
// and leaves everything else (location, focus, children, selection) to the
// system's standard object for the window. A control derives from it beside
// its window class and chains its map ahead of its own entries
// (MessageMap::ChainBase<AccessibleControl>). The object is made on the first
// question, so that start-up pays nothing; when the window is destroyed it is
// disconnected, and a client that keeps it gets an error from every call.
class AccessibleControl {
public:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId);

    // What the control says of itself. Each answer that is false, 0 or NULL
    // leaves the question to the standard object.
    virtual LONG GetAccessibleRole() const { return 0; }
    virtual bool GetAccessibleName(String&) const { return false; }
    virtual bool GetAccessibleValue(String&) const { return false; }
    // Added to the standard object's state.
    virtual LONG GetAccessibleState() const { return 0; }
    virtual const char* GetAccessibleAction() const { return nullptr; }
    // Does the default action, or starts it; false when it cannot.
    virtual bool DoAccessibleAction() { return false; }

protected:
    AccessibleControl();
    // The object outlives the control only as a disconnected one.
    ~AccessibleControl();
    AccessibleControl(const AccessibleControl&) = delete;
    AccessibleControl& operator=(const AccessibleControl&) = delete;

private:
    void Disconnect();

    ComPtr<AccessibleProxy> accessible;  // one reference owned; the clients hold theirs
};
