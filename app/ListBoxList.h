#pragma once

#include <windows.h>

// Presents a list box to SyncSelection. The list box is borrowed: its dialog
// owns the window.
class ListBoxList {
public:
    struct Text {
        char buffer[260];
    };

    explicit ListBoxList(HWND listBox) : listBox(listBox) {}

    int GetCurSel() { return static_cast<int>(SendMessageA(listBox, LB_GETCURSEL, 0, 0)); }

    // LB_GETTEXT takes no buffer size, so the length is checked first; an
    // item that does not fit reads as nothing rather than overrunning.
    const char* ReadText(int index, Text& text)
    {
        const LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, index, 0);
        if (length == LB_ERR || length >= static_cast<LRESULT>(sizeof text.buffer))
            return nullptr;
        if (SendMessageA(listBox, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.buffer)) == LB_ERR)
            return nullptr;
        return text.buffer;
    }

    // Start index -1 searches the whole list from the top.
    int FindString(const char* prefix)
    {
        return static_cast<int>(SendMessageA(listBox, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(prefix)));
    }

    // LB_SETCURSEL sends no LBN_SELCHANGE, so mirroring does not recurse.
    void SetCurSel(int index) { SendMessageA(listBox, LB_SETCURSEL, index, 0); }

private:
    HWND listBox; // borrowed
};
