#pragma once

#include <windows.h>
#include <commctrl.h>

#include "controls/AccessibleControl.h"
#include "controls/TaggedText.h"
#include "framework/MessageMap.h"
#include "framework/OwnedHandle.h"
#include "framework/String.h"
#include "framework/Window.h"
#include "framework/WindowImpl.h"

// Style word of a HyperlinkLabel, fixed at construction. The tests are exact:
// notification needs both bits of LINK_NOTIFY, bold both bits of LINK_TAGGEDBOLD.
constexpr DWORD LINK_PLAIN = 0x01;          // link font not underlined
constexpr DWORD LINK_HOVERUNDERLINE = 0x02; // link font only while the pointer is over the link
constexpr DWORD LINK_COMMAND = 0x04;        // a click sends WM_COMMAND (BN_CLICKED) to the parent
constexpr DWORD LINK_NOTIFY = 0x0C;         // a click sends WM_NOTIFY (NM_CLICK) to the parent
constexpr DWORD LINK_TAGGED = 0x10;         // only the text between <A> and </A> is the link
constexpr DWORD LINK_TAGGEDBOLD = 0x30;     // tagged, link font bold instead of underlined
constexpr DWORD LINK_NOTIP = 0x40;          // the tooltip never shows

// A static control turned into a link: it paints its text in the link colours
// (the system's where those would not read on its background, or in high
// contrast: controls/LinkContrast) with the link font, shows the hand cursor
// and a tooltip over the text, and on a click (or a space or carriage return
// while focused) opens its target with the shell, or tells its parent.
// Statics that show a picture, frame or rectangle keep painting themselves;
// their whole client area is the link. To a screen reader it is a link: named
// by its text, its value the target, its default action the click.
class HyperlinkLabel : public WindowImpl, public AccessibleControl {
public:
    explicit HyperlinkLabel(DWORD linkStyle = 0);
    ~HyperlinkLabel() override;

    // Attaches to an existing control and, when that succeeds, sets it up: the
    // control's text becomes the shown text (unless SetLinkText came first) and,
    // without a target, the target as well; the colours are read from the
    // browser's settings.
    BOOL SubclassWindow(HWND window);

    // Both copy their text and may be called before attaching; an empty text
    // is none. false when the copy cannot be allocated; the old text is gone
    // then.
    bool SetLinkText(const char* text);
    bool SetLinkTarget(const char* target);

    // The click: notify or command the parent, or open the target with the
    // shell and mark the link visited. false when the shell refused the target
    // or there is none.
    bool Activate();

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId) override;

    LONG GetAccessibleRole() const override;
    bool GetAccessibleName(String& name) const override;
    bool GetAccessibleValue(String& value) const override;
    LONG GetAccessibleState() const override;
    const char* GetAccessibleAction() const override;
    // Posts the click to the control's own thread: a client's call must not
    // wait for the shell.
    bool DoAccessibleAction() override;

    // Where the link is and what became of it, for its tests; the colours and
    // fonts are read back from the screen.
    const RECT& GetLinkRect() const { return linkRect; }
    HWND GetTipWindow() const { return tipWindow.hWnd; }
    bool IsVisited() const { return (flags & visitedFlag) != 0; }

private:
    friend struct MessageMap<HyperlinkLabel>;

    enum Flags : BYTE { paintTextFlag = 1, visitedFlag = 2, hoverFlag = 4, ownsLinkFontFlag = 8 };

    void Initialize();
    void MakeLinkFont();
    // When the dialog was laid out for a new DPI (WM_DIALOG_RESCALED), after
    // WM_SETFONT, which alone keeps the link font and place: the link font is
    // made anew from the control's font, and the link measured again.
    void FollowFont();
    // The parts of the shown text, laid out for one line: the text before the
    // link from the client area's top left, the link in linkRect (which
    // MeasureLink sets, and painting takes), the text after it from the
    // link's top right. Untagged text is all link.
    TaggedParts Parts() const;
    bool MeasureLink();
    // The tool of this link (id 1), rectangle and text not filled in.
    TOOLINFOA LinkTool() const;
    void AddLinkTool();
    void UpdateToolRect();
    void RelayToTip(UINT message, WPARAM wParam, LPARAM lParam);
    // Fills the client area with the parent's WM_CTLCOLORSTATIC brush; the
    // colour the link is drawn on.
    COLORREF EraseBackground(HDC dc);
    void PaintLink(HDC dc, COLORREF background);
    void SetHover(bool hovering);
    void ReleaseLinkFont();

    const char* ShownText() const { return !labelText.IsEmpty() ? labelText : linkTarget; }
    UINT TextAlignment() const;
    bool IsOverActiveLink(POINT point) const;
    bool IsTagged() const { return (linkStyle & LINK_TAGGED) != 0; }
    bool UnderlinesOnHover() const { return (linkStyle & LINK_HOVERUNDERLINE) != 0; }

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM wParam, LPARAM, BOOL& handled);
    LRESULT OnFocus(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT OnChar(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnEnable(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetFont(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFont(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnUpdateUiState(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetText(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDialogRescaled(UINT, WPARAM, LPARAM, BOOL&);

    String labelText;               // what is shown; empty until set
    String linkTarget;              // what the shell opens and the tooltip shows; empty until set
    HCURSOR handCursor = nullptr;   // borrowed: shared system cursor, never destroyed
    OwnedFont linkFont;             // held while ownsLinkFontFlag is set
    HFONT normalFont = nullptr;     // borrowed: the parent's font or a stock font
    RECT linkRect;                  // client coordinates
    Window tipWindow;               // destroyed by the window system with the control
    COLORREF linkColor = RGB(0, 0, 255);
    COLORREF visitedColor = RGB(128, 0, 128);
    DWORD linkStyle;
    BYTE flags = paintTextFlag;
};
