#include "app/AboutDialog.h"

#include "framework/DpiApi.h"
#include "framework/String.h"
#include "res/AppLinks.h"

AboutDialog::~AboutDialog() = default;

BOOL AboutDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result, DWORD mapId)
{
    using Map = MessageMap<AboutDialog>;
    static constexpr Map::Entry entries[] = {
        Map::Message(WM_INITDIALOG, &AboutDialog::OnInitDialog),
        Map::Message(WM_DPICHANGED_MESSAGE, &AboutDialog::OnDpiChanged),
        Map::PassToChildren(WM_SYSCOLORCHANGE),
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

    scaling.Attach(hWnd, DIALOG_BASE_WIDTH_AT_100);
    banner.SubclassWindow(GetDlgItem(IDC_ABOUT_BANNER));
    banner.SetAccessibleNameId(IDS_ABOUT_BANNER);
    banner.LoadScaled(MAKEINTRESOURCEA(IDR_BANNER_ABOUT), MAKEINTRESOURCEA(IDR_BANNER_ABOUT_2X), RT_JPEG,
                      scaling.GetScaleNumerator(), scaling.GetScaleDenominator());
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

    // The dialog manager would put the focus on the first tab stop, the web
    // link, with its focus rectangle; the box opens with the banner focused
    // instead, and Tab reaches the links.
    ::SetFocus(GetDlgItem(IDC_ABOUT_BANNER));
    return FALSE;
}

LRESULT AboutDialog::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The banner and the links follow from there.
    scaling.Rescale(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    return 0;
}

LRESULT AboutDialog::OnClose(WORD, WORD id, HWND, BOOL&)
{
    ::EndDialog(hWnd, id);
    return 0;
}
