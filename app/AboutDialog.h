#pragma once

#include <windows.h>

#include "controls/HyperlinkLabel.h"
#include "controls/PictureBanner.h"
#include "framework/DialogDpi.h"
#include "framework/DialogImpl.h"
#include "framework/MessageMap.h"
#include "res/resource.h"

// The modal About box: banner, product line, and links to the maker's web
// site and support mailbox. A new object per opening, so no link starts
// visited.
class AboutDialog : public DialogImpl<AboutDialog> {
public:
    static constexpr UINT templateId = IDD_ABOUT;

    AboutDialog() = default;
    ~AboutDialog() override;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId) override;

private:
    friend struct MessageMap<AboutDialog>;

    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDpiChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnClose(WORD code, WORD id, HWND control, BOOL& handled);

    DialogDpi scaling;
    PictureBanner banner;
    HyperlinkLabel webLink{0};
    HyperlinkLabel mailLink{0};
};
