#pragma once

#include <windows.h>

#include "app/IdleHandler.h"
#include "app/MessageFilter.h"
#include "catalogue/VisitState.h"
#include "controls/GroupedListBox.h"
#include "controls/IconButton.h"
#include "controls/PictureBanner.h"
#include "framework/DialogDpi.h"
#include "framework/DialogImpl.h"
#include "framework/MessageMap.h"
#include "framework/OwnedHandle.h"
#include "framework/String.h"
#include "res/resource.h"

// The main window: every domain by code and by description in two sorted
// list boxes kept in step, a button that opens the selected domain's
// registrar, the About box and Exit. Modeless; it ends the program by
// destroying itself and posting the quit message with the closing command.
class DomainBrowserDialog : public DialogImpl<DomainBrowserDialog>,
                            public MessageFilter,
                            public IdleHandler {
public:
    static constexpr UINT templateId = IDD_DOMAIN_BROWSER;

    DomainBrowserDialog() = default;
    ~DomainBrowserDialog() override;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnIdle() override;

    // Host operations of the selection mirroring.
    void SetCurrentUrl(const char* url) { currentUrl = url; }
    void SetVisitEnabled(bool enabled);

    // The window's big or small icon at the size the system gives for dpi,
    // for the caller to destroy; NULL when it cannot be loaded.
    static HICON LoadWindowIcon(BOOL big, UINT dpi);

private:
    friend struct MessageMap<DomainBrowserDialog>;

    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDpiChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnAbout(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT OnOk(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT OnCancel(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT OnVisit(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT OnSelChangeCommand(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT OnDblClkCommand(WORD code, WORD id, HWND control, BOOL& handled);

    // The window's big and small icons at the sizes the system gives for the
    // dialog's DPI.
    void LoadIcons();
    void ShowIcon(OwnedIcon& owned, BOOL big);
    // The banner and the button icons for the dialog's DPI and scale, which
    // they follow from then on.
    void LoadPictures();
    void FillLists();
    void SyncSelection(bool fromDescriptions);
    void CloseDialog(int exitCode);
    void VisitRegistrar();

    DialogDpi scaling;
    HWND codeList = nullptr;         // borrowed: a child of the dialog
    HWND descriptionList = nullptr;  // borrowed: a child of the dialog
    int domainCount = 0;
    String currentUrl;
    PictureBanner banner;
    IconButton aboutButton;
    IconButton exitButton;
    IconButton visitButton;
    GroupedListBox codeListBox;         // names codeList for screen readers
    GroupedListBox descriptionListBox;  // names descriptionList for screen readers
    VisitState visitState;
    OwnedIcon largeIcon;             // the window only borrows it
    OwnedIcon smallIcon;             // the window only borrows it
};
