#include "app/DomainBrowserDialog.h"

#include "app/AboutDialog.h"
#include "app/ListBoxList.h"
#include "app/MessageLoop.h"
#include "catalogue/DomainTable.h"
#include "catalogue/SelectionMirror.h"
#include "controls/ShellApi.h"
#include "framework/AppModule.h"
#include "framework/DpiApi.h"
#include "res/ButtonPictures.h"

// Out of line: its members' release is made once, here.
DomainBrowserDialog::~DomainBrowserDialog() = default;

BOOL DomainBrowserDialog::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result, DWORD mapId)
{
    using Map = MessageMap<DomainBrowserDialog>;
    static constexpr Map::Entry entries[] = {
        Map::Message(WM_INITDIALOG, &DomainBrowserDialog::OnInitDialog),
        Map::Message(WM_DPICHANGED_MESSAGE, &DomainBrowserDialog::OnDpiChanged),
        Map::PassToChildren(WM_SYSCOLORCHANGE),
        Map::CommandId(ID_APP_ABOUT, &DomainBrowserDialog::OnAbout),
        Map::CommandId(IDOK, &DomainBrowserDialog::OnOk),
        Map::CommandId(IDCANCEL, &DomainBrowserDialog::OnCancel),
        Map::CommandId(IDC_VISIT, &DomainBrowserDialog::OnVisit),
        Map::CommandCode(LBN_SELCHANGE, &DomainBrowserDialog::OnSelChangeCommand),
        Map::CommandCode(LBN_DBLCLK, &DomainBrowserDialog::OnDblClkCommand),
        // Owner-draw requests go back to the Icon buttons, which draw themselves.
        Map::Reflect(),
    };
    return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
}

BOOL DomainBrowserDialog::PreTranslateMessage(MSG* msg)
{
    // The dialog manager's keyboard handling (Tab, arrows, Enter, Escape)
    // reaches a modeless dialog only through IsDialogMessage.
    return IsDialogMessageA(msg);
}

BOOL DomainBrowserDialog::OnIdle()
{
    return FALSE;
}

LRESULT DomainBrowserDialog::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    scaling.Attach(hWnd, DIALOG_BASE_WIDTH_AT_100);
    banner.SubclassWindow(GetDlgItem(IDC_MAIN_BANNER));
    banner.SetAccessibleNameId(IDS_MAIN_BANNER);

    // No owner and no parent: centred in the work area.
    CenterWindow();
    LoadIcons();

    visitState = VisitState();
    codeList = GetDlgItem(IDC_CODE_LIST);
    descriptionList = GetDlgItem(IDC_DESCRIPTION_LIST);
    codeListBox.SubclassWindow(codeList);
    descriptionListBox.SubclassWindow(descriptionList);
    domainCount = domainTableSize;
    FillLists();
    ::SendMessageA(codeList, LB_SETCURSEL, 0, 0);
    SyncSelection(false);

    aboutButton.SubclassWindow(GetDlgItem(ID_APP_ABOUT));
    exitButton.SubclassWindow(GetDlgItem(IDCANCEL));
    visitButton.SubclassWindow(GetDlgItem(IDC_VISIT));
    LoadPictures();

    if (MessageLoop* loop = appModule.GetMessageLoop(::GetCurrentThreadId())) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    // The dialog manager puts the focus on the first tab stop, "Exit".
    return TRUE;
}

LRESULT DomainBrowserDialog::OnDpiChanged(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The controls follow from there; the window's own icons are the dialog's.
    scaling.Rescale(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
    LoadIcons();
    return 0;
}

void DomainBrowserDialog::LoadPictures()
{
    banner.LoadScaled(MAKEINTRESOURCEA(IDR_BANNER_MAIN), MAKEINTRESOURCEA(IDR_BANNER_MAIN_2X), RT_JPEG,
                      scaling.GetScaleNumerator(), scaling.GetScaleDenominator());
    banner.RenderPicture();
    aboutButton.LoadImages(ButtonPictures::about, ButtonPictures::maskColour, scaling.GetDpi());
    exitButton.LoadImages(ButtonPictures::exit, ButtonPictures::maskColour, scaling.GetDpi());
    visitButton.LoadImages(ButtonPictures::visit, ButtonPictures::maskColour, scaling.GetDpi());
}

void DomainBrowserDialog::LoadIcons()
{
    ShowIcon(largeIcon, TRUE);
    ShowIcon(smallIcon, FALSE);
}

HICON DomainBrowserDialog::LoadWindowIcon(BOOL big, UINT dpi)
{
    const int width = DpiApi::GetSystemMetricsForDpi(big ? SM_CXICON : SM_CXSMICON, dpi);
    const int height = DpiApi::GetSystemMetricsForDpi(big ? SM_CYICON : SM_CYSMICON, dpi);
    return static_cast<HICON>(::LoadImageA(appModule.GetResourceInstance(), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                                           width, height, LR_DEFAULTCOLOR));
}

// The window borrows the icon it shows, so the one it showed before is
// released only once it shows the new one. Without a new icon the old stays.
void DomainBrowserDialog::ShowIcon(OwnedIcon& owned, BOOL big)
{
    OwnedIcon loaded(LoadWindowIcon(big, scaling.GetDpi()));
    if (loaded == nullptr)
        return;
    SetIcon(loaded, big);
    OwnedIcon previous(owned.Detach());
    if (previous.Reset()) {
        owned.Attach(loaded.Detach());
        return;
    }
    // The old icon could not be destroyed: the window shows it again, and the new one goes.
    SetIcon(previous, big);
    owned.Attach(previous.Detach());
}

void DomainBrowserDialog::FillLists()
{
    // Both list boxes sort what they receive, so an item's index in one list
    // says nothing about its index in the other.
    // With redrawing on, a list box recomputes its scroll bar after every
    // insertion, which costs more than the insertions themselves; off, it
    // does so once when redrawing comes back on. The lists are not visible
    // yet, so nothing the user sees changes.
    ::SendMessageA(codeList, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(descriptionList, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < domainCount; ++i) {
        ::SendMessageA(codeList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(domainTable[i].code));
        ::SendMessageA(descriptionList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(domainTable[i].description));
    }
    ::SendMessageA(descriptionList, WM_SETREDRAW, TRUE, 0);
    ::SendMessageA(codeList, WM_SETREDRAW, TRUE, 0);
}

void DomainBrowserDialog::SyncSelection(bool fromDescriptions)
{
    ListBoxList codes(codeList);
    ListBoxList descriptions(descriptionList);
    ::SyncSelection(codes, descriptions, fromDescriptions, domainTable, domainCount, *this);
}

void DomainBrowserDialog::SetVisitEnabled(bool enabled)
{
    if (!visitState.Update(enabled))
        return;
    HWND button = GetDlgItem(IDC_VISIT);
    // The button paints itself on the new text and again on the new state;
    // with its redrawing off it is painted once, below, in its final look.
    if (button != nullptr)
        ::SendMessageA(button, WM_SETREDRAW, FALSE, 0);
    SetDlgItemTextA(IDC_VISIT, VisitState::Caption(enabled));
    ::EnableWindow(button, enabled);
    // Repaint at once: the caption and the greyed icon change together. The
    // handle comes from the dialog, not from visitButton, which may not be
    // attached yet; RedrawWindow on NULL would repaint the whole desktop.
    if (button != nullptr) {
        ::SendMessageA(button, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ::UpdateWindow(button);
    }
}

LRESULT DomainBrowserDialog::OnAbout(WORD, WORD, HWND, BOOL&)
{
    AboutDialog about;
    about.DoModal(::GetActiveWindow(), 0);
    return 0;
}

LRESULT DomainBrowserDialog::OnOk(WORD, WORD, HWND, BOOL&)
{
    CloseDialog(IDOK);
    return 0;
}

LRESULT DomainBrowserDialog::OnCancel(WORD, WORD, HWND, BOOL&)
{
    CloseDialog(IDCANCEL);
    return 0;
}

LRESULT DomainBrowserDialog::OnVisit(WORD, WORD, HWND, BOOL&)
{
    VisitRegistrar();
    return 0;
}

// The one road to the shell, for the Visit button and for a double-click.
void DomainBrowserDialog::VisitRegistrar()
{
    // Web addresses open in the default browser, mailto: in the mail program.
    // A failure is not reported; the dialog stays as it is.
    ShellApi::ShellExecuteA(nullptr, "open", currentUrl, nullptr, nullptr, SW_SHOWNORMAL);
}

// Other controls send these codes too (STN_DBLCLK is 1, BN_HILITE 2): theirs
// pass on, to reflection.
LRESULT DomainBrowserDialog::OnSelChangeCommand(WORD, WORD id, HWND, BOOL& handled)
{
    if (id == IDC_CODE_LIST)
        SyncSelection(false);
    else if (id == IDC_DESCRIPTION_LIST)
        SyncSelection(true);
    else
        handled = FALSE;
    return 0;
}

LRESULT DomainBrowserDialog::OnDblClkCommand(WORD, WORD id, HWND, BOOL& handled)
{
    if (id != IDC_CODE_LIST && id != IDC_DESCRIPTION_LIST) {
        handled = FALSE;
        return 0;
    }
    // Visit is a list item's default action. The first click's LBN_SELCHANGE
    // has already mirrored the selection, so the state is the new domain's.
    if (visitState.IsEnabled())
        VisitRegistrar();
    return 0;
}

void DomainBrowserDialog::CloseDialog(int exitCode)
{
    DestroyWindow();
    ::PostQuitMessage(exitCode);
}
