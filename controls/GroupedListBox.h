#pragma once

#include <windows.h>

#include "controls/AccessibleControl.h"
#include "framework/WindowImpl.h"

// A list box whose name, to a screen reader, is the caption of the group box
// around it: a dialog labels its lists that way, while the system's standard
// object names a list box after the static text before it, if any. Everything
// else stays the list box's own.
class GroupedListBox : public WindowImpl, public AccessibleControl {
public:
    GroupedListBox() = default;
    ~GroupedListBox() override;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId) override;

    // The caption, "&" taken out, of the smallest group box among the
    // siblings that encloses the list; false when none does.
    bool GetAccessibleName(String& name) const override;
};
