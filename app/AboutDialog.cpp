#include "app/AboutDialog.h"

#include "framework/String.h"
#include "res/AppLinks.h"

BOOL AboutDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result, DWORD mapId)
{
    using Map = MessageMap<AboutDialog>;
    static constexpr Map::Entry entries[] = {
        Map::Message(WM_INITDIALOG, &AboutDialog::OnInitDialog),
        // Enter gives IDOK (the box has no push button), Esc and the close box IDCANCEL.
        Map::CommandId(IDOK, &AboutDialog::OnClose),
        Map::CommandId(IDCANCEL, &AboutDialog::OnClose),
    };
    return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
}

LRESULT AboutDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    // The parent of this popup is its owner, the main dialog.
    CenterWindow(GetParent());

    banner.SubclassWindow(GetDlgItem(IDC_ABOUT_BANNER));
    banner.LoadFromResource(MAKEINTRESOURCEA(IDR_BANNER_ABOUT), "JPEG");
    banner.RenderPicture();

    webLink.SubclassWindow(GetDlgItem(IDC_ABOUT_WEB_LINK));
    webLink.SetLinkText(AppLinks::webAddress);
    webLink.SetLinkTarget(AppLinks::webAddress);

    mailLink.SubclassWindow(GetDlgItem(IDC_ABOUT_MAIL_LINK));
    String address;
    address += AppLinks::supportMailbox;
    address += "@";
    address += AppLinks::makerDomain;
    mailLink.SetLinkText(address);
    String target("mailto:");
    target += address;
    mailLink.SetLinkTarget(target);
    return TRUE;
}

LRESULT AboutDialog::OnClose(WORD, WORD id, HWND, BOOL&)
{
    ::EndDialog(hWnd, id);
    return 0;
}
