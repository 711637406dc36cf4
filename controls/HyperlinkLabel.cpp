#include "controls/HyperlinkLabel.h"

#include <commctrl.h>
#include <oleacc.h>

#include <utility>

#include "controls/LinkColors.h"
#include "controls/LinkContrast.h"
#include "controls/ShellApi.h"
#include "framework/AppModule.h"
#include "framework/DialogDpi.h"
#include "framework/GdiScope.h"

namespace {

constexpr UINT_PTR linkToolId = 1;
// The click, posted to the control by a screen reader's default action. In
// the private range of the window class: the static defines none there.
constexpr UINT activateMessage = WM_USER + 0x100;

// The tooltip is told the full structure size, reserved pointer included.
static_assert(sizeof(TOOLINFOA) == 48, "TOOLINFOA must carry its trailing reserved pointer");

POINT PointFromLParam(LPARAM lParam)
{
    // Signed: a captured pointer left of or above the control has negative coordinates.
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool IsPictureStatic(DWORD style)
{
    // Icons, bitmaps, metafiles, owner-drawn statics, frames and rectangles
    // draw themselves. Only the type bits decide: SS_REALSIZECONTROL (0x40)
    // shares the low byte but does not make a picture static a text one.
    const DWORD type = style & SS_TYPEMASK;
    return (type >= SS_ICON && type <= SS_WHITEFRAME) || (type >= SS_OWNERDRAW && type <= SS_ENHMETAFILE);
}

} // namespace

HyperlinkLabel::HyperlinkLabel(DWORD linkStyle) : linkStyle(linkStyle)
{
    ::SetRectEmpty(&linkRect);
}

HyperlinkLabel::~HyperlinkLabel()
{
    // The texts first, then the link font; the members' own destruction
    // would take them the other way round.
    labelText = nullptr;
    linkTarget = nullptr;
    ReleaseLinkFont();
}

void HyperlinkLabel::ReleaseLinkFont()
{
    if ((flags & ownsLinkFontFlag) && linkFont.Reset())
        flags &= ~ownsLinkFontFlag;
}

BOOL HyperlinkLabel::SubclassWindow(HWND window)
{
    const BOOL attached = WindowImpl::SubclassWindow(window);
    if (attached)
        Initialize();
    return attached;
}

BOOL HyperlinkLabel::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result, DWORD mapId)
{
    using Map = MessageMap<HyperlinkLabel>;
    static constexpr Map::Entry entries[] = {
        Map::ChainBase<AccessibleControl>(),
        Map::Message(WM_CREATE, &HyperlinkLabel::OnCreate),
        Map::MessageRange(WM_MOUSEMOVE, WM_XBUTTONDBLCLK, &HyperlinkLabel::OnMouseMessage),
        Map::Message(WM_ERASEBKGND, &HyperlinkLabel::OnEraseBackground),
        Map::Message(WM_PAINT, &HyperlinkLabel::OnPaint),
        Map::Message(WM_PRINTCLIENT, &HyperlinkLabel::OnPaint),
        Map::Message(WM_SETFOCUS, &HyperlinkLabel::OnFocus),
        Map::Message(WM_KILLFOCUS, &HyperlinkLabel::OnFocus),
        Map::Message(WM_MOUSEMOVE, &HyperlinkLabel::OnMouseMove),
        Map::Message(WM_MOUSELEAVE, &HyperlinkLabel::OnMouseLeave),
        Map::Message(WM_LBUTTONDOWN, &HyperlinkLabel::OnLButtonDown),
        Map::Message(WM_LBUTTONUP, &HyperlinkLabel::OnLButtonUp),
        Map::Message(WM_CHAR, &HyperlinkLabel::OnChar),
        Map::Message(WM_GETDLGCODE, &HyperlinkLabel::OnGetDlgCode),
        Map::Message(WM_SETCURSOR, &HyperlinkLabel::OnSetCursor),
        Map::Message(WM_ENABLE, &HyperlinkLabel::OnEnable),
        Map::Message(WM_GETFONT, &HyperlinkLabel::OnGetFont),
        Map::Message(WM_SETFONT, &HyperlinkLabel::OnSetFont),
        Map::Message(WM_UPDATEUISTATE, &HyperlinkLabel::OnUpdateUiState),
        Map::Message(WM_SETTEXT, &HyperlinkLabel::OnSetText),
        Map::Message(activateMessage, &HyperlinkLabel::OnActivate),
        Map::Message(WM_DIALOG_RESCALED, &HyperlinkLabel::OnDialogRescaled),
    };
    return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
}

void HyperlinkLabel::Initialize()
{
    // Eight characters: "static" is all that must be recognised.
    char className[8];
    if (::GetClassNameA(hWnd, className, sizeof className) != 0 && ::lstrcmpiA(className, "static") == 0) {
        // Without SS_NOTIFY a static is transparent to the mouse (HTTRANSPARENT).
        ModifyStyle(0, SS_NOTIFY);
        if (IsPictureStatic(GetStyle()))
            flags &= ~paintTextFlag;
    }

    handCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)); // IDC_HAND

    if (flags & paintTextFlag) {
        normalFont = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));
        if (normalFont == nullptr)
            normalFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
        MakeLinkFont();
        // Before the text is set below: on a visible static, setting it
        // paints at once, and that paint must already have the user's colours.
        ReadLinkColors(linkColor, visitedColor);
    }

    tipWindow.Create(TOOLTIPS_CLASSA, hWnd, nullptr, nullptr, 0);

    if (labelText.IsEmpty()) {
        const int length = GetWindowTextLengthA();
        String text;
        char* buffer = length > 0 ? text.GetBuffer(length) : nullptr;
        if (buffer != nullptr && GetWindowTextA(buffer, length + 1) != 0) {
            text.ReleaseBuffer();
            SetLinkText(text);
        }
    }

    MeasureLink();

    if (!linkTarget.IsEmpty() || (linkStyle & LINK_COMMAND)) {
        tipWindow.SendMessageA(TTM_ACTIVATE, TRUE, 0);
        AddLinkTool();
    } else if (!labelText.IsEmpty()) {
        SetLinkTarget(labelText);
    }

    // A static already on the screen shows its own drawing until it is
    // painted again; text given before attaching sets no window text, which
    // would have repainted it.
    if (flags & paintTextFlag)
        InvalidateRect(nullptr, TRUE);
}

void HyperlinkLabel::MakeLinkFont()
{
    if (normalFont == nullptr || linkFont != nullptr)
        return;
    LOGFONTA font = {};
    ::GetObjectA(normalFont, sizeof font, &font);
    if ((linkStyle & LINK_TAGGEDBOLD) == LINK_TAGGEDBOLD)
        font.lfWeight = FW_BOLD;
    else if (!(linkStyle & LINK_PLAIN))
        font.lfUnderline = TRUE;
    // None is held (checked above), so nothing is released first.
    linkFont.Attach(::CreateFontIndirectA(&font));
    if (linkFont != nullptr)
        flags |= ownsLinkFontFlag;
}

void HyperlinkLabel::FollowFont()
{
    if (!(flags & paintTextFlag))
        return;
    // The old link font goes before the new one is made; one that cannot be
    // released stays in use.
    ReleaseLinkFont();
    MakeLinkFont();
    MeasureLink();
    InvalidateRect(nullptr, TRUE);
}

bool HyperlinkLabel::SetLinkText(const char* text)
{
    labelText = text;
    // A copy that cannot be allocated leaves the value empty.
    if (text != nullptr && *text != '\0' && labelText.IsEmpty())
        return false;
    MeasureLink();
    if (hWnd != nullptr)
        SetWindowTextA(labelText);
    return true;
}

bool HyperlinkLabel::SetLinkTarget(const char* target)
{
    linkTarget = target;
    if (target != nullptr && *target != '\0' && linkTarget.IsEmpty())
        return false;
    if (labelText.IsEmpty())
        MeasureLink();
    if (tipWindow.IsWindow()) {
        tipWindow.SendMessageA(TTM_ACTIVATE, TRUE, 0);
        AddLinkTool();
    }
    return true;
}

UINT HyperlinkLabel::TextAlignment() const
{
    const DWORD style = GetStyle();
    if (style & SS_CENTER)
        return DT_CENTER;
    if (style & SS_RIGHT)
        return DT_RIGHT;
    return DT_LEFT;
}

TaggedParts HyperlinkLabel::Parts() const
{
    const char* shown = ShownText();
    if (IsTagged())
        return SplitTaggedText(shown);
    TaggedParts parts;
    parts.link = shown;
    parts.linkCount = ::lstrlenA(shown);
    return parts;
}

bool HyperlinkLabel::MeasureLink()
{
    if (!IsWindow() || (labelText.IsEmpty() && linkTarget.IsEmpty()))
        return false;

    WindowDC dc(hWnd);
    RECT client;
    GetClientRect(&client);
    linkRect = client;
    if (flags & paintTextFlag) {
        // The layout that Parts() gives and PaintLink() draws.
        const TaggedParts parts = Parts();
        if (parts.before != nullptr) {
            const SelectedObject normal(dc, normalFont);
            RECT before = client;
            ::DrawTextA(dc, parts.before, parts.beforeCount, &before, DT_CALCRECT | DT_WORDBREAK);
            linkRect.left = before.right;
        }
        const UINT alignment = IsTagged() ? DT_LEFT : TextAlignment();
        if (parts.linkCount > 0) {
            // A NULL link font selects nothing: the DC's font measures instead.
            const SelectedObject link(dc, linkFont);
            ::DrawTextA(dc, parts.link, parts.linkCount, &linkRect, DT_CALCRECT | DT_WORDBREAK | alignment);
        } else {
            // No link text: nothing may react to the mouse.
            linkRect.right = linkRect.left;
            linkRect.bottom = linkRect.top;
        }
        // DT_CALCRECT keeps the left edge whatever the alignment; place it here.
        if (alignment == DT_CENTER)
            ::OffsetRect(&linkRect, (client.right - linkRect.right) / 2, 0);
        else if (alignment == DT_RIGHT)
            ::OffsetRect(&linkRect, client.right - linkRect.right, 0);
    }
    UpdateToolRect();
    return true;
}

TOOLINFOA HyperlinkLabel::LinkTool() const
{
    TOOLINFOA tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = hWnd;
    tool.uId = linkToolId;
    return tool;
}

void HyperlinkLabel::AddLinkTool()
{
    // One tool per link: a tool added before under the same id goes first,
    // otherwise the tooltip would keep showing the first target over the
    // first rectangle.
    TOOLINFOA tool = LinkTool();
    tipWindow.SendMessageA(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    tool.rect = linkRect;
    tool.hinst = appModule.GetResourceInstance();
    // The tooltip keeps its own copy; none without a target.
    tool.lpszText = linkTarget.IsEmpty() ? nullptr : const_cast<char*>(linkTarget.c_str());
    tipWindow.SendMessageA(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void HyperlinkLabel::UpdateToolRect()
{
    // Keeps the tip over the text after it was measured anew; a tooltip
    // without the tool ignores this.
    if (!tipWindow.IsWindow())
        return;
    TOOLINFOA tool = LinkTool();
    tool.rect = linkRect;
    tipWindow.SendMessageA(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void HyperlinkLabel::RelayToTip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!tipWindow.IsWindow() || (linkStyle & LINK_NOTIP))
        return;
    MSG relayed = {hWnd, message, wParam, lParam, 0, {0, 0}};
    tipWindow.SendMessageA(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

COLORREF HyperlinkLabel::EraseBackground(HDC dc)
{
    const HBRUSH brush = reinterpret_cast<HBRUSH>(
        ::SendMessageA(GetParent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hWnd)));
    // A brush that is not solid, or none, leaves the background colour the
    // parent set in the DC as the best guess.
    LOGBRUSH fill = {};
    if (brush == nullptr || ::GetObjectA(brush, sizeof fill, &fill) != sizeof fill || fill.lbStyle != BS_SOLID)
        fill.lbColor = ::GetBkColor(dc);
    if (brush != nullptr) {
        RECT client;
        GetClientRect(&client);
        ::FillRect(dc, &client, brush);
    }
    return fill.lbColor;
}

void HyperlinkLabel::PaintLink(HDC dc, COLORREF background)
{
    COLORREF colour = ::GetSysColor(COLOR_GRAYTEXT);
    if (IsWindowEnabled())
        colour = ReadableLinkColor((flags & visitedFlag) ? visitedColor : linkColor, background);
    const HFONT font =
        linkFont != nullptr && (!UnderlinesOnHover() || (flags & hoverFlag)) ? linkFont.Get() : normalFont;

    // Where MeasureLink put the parts. The text around the link keeps the
    // colour the parent's WM_CTLCOLORSTATIC left in the DC.
    const TaggedParts parts = Parts();
    RECT client;
    GetClientRect(&client);
    ::SetBkMode(dc, TRANSPARENT);
    const SelectedObject normal(dc, normalFont);
    if (parts.before != nullptr) {
        RECT rect = client;
        ::DrawTextA(dc, parts.before, parts.beforeCount, &rect, DT_WORDBREAK);
    }
    if (parts.linkCount > 0) {
        const COLORREF previousColour = ::SetTextColor(dc, colour);
        {
            const SelectedObject link(dc, font);
            RECT rect = linkRect;
            ::DrawTextA(dc, parts.link, parts.linkCount, &rect, DT_WORDBREAK | (IsTagged() ? 0 : TextAlignment()));
        }
        ::SetTextColor(dc, previousColour);
    }
    if (parts.after != nullptr) {
        RECT rect = {linkRect.right, linkRect.top, client.right, client.bottom};
        ::DrawTextA(dc, parts.after, parts.afterCount, &rect, DT_WORDBREAK);
    }
    if (::GetFocus() == hWnd)
        ::DrawFocusRect(dc, &linkRect);
}

bool HyperlinkLabel::IsOverActiveLink(POINT point) const
{
    return (!linkTarget.IsEmpty() || (linkStyle & LINK_COMMAND)) && ::PtInRect(&linkRect, point);
}

void HyperlinkLabel::SetHover(bool hovering)
{
    if (!UnderlinesOnHover() || hovering == ((flags & hoverFlag) != 0))
        return;
    if (hovering)
        flags |= hoverFlag;
    else
        flags &= ~hoverFlag;
    InvalidateRect(&linkRect, TRUE);
    UpdateWindow();
}

bool HyperlinkLabel::Activate()
{
    if ((linkStyle & LINK_NOTIFY) == LINK_NOTIFY) {
        const int id = GetDlgCtrlID();
        NMHDR header = {hWnd, static_cast<UINT_PTR>(id), static_cast<UINT>(NM_CLICK)};
        ::SendMessageA(GetParent(), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
        return true;
    }
    if (linkStyle & LINK_COMMAND) {
        ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                       reinterpret_cast<LPARAM>(hWnd));
        return true;
    }
    // A label that never had text has no target; the shell is not asked to open nothing.
    if (linkTarget.IsEmpty())
        return false;
    const HINSTANCE opened = ShellApi::ShellExecuteA(nullptr, "open", linkTarget, nullptr, nullptr, SW_SHOWNORMAL);
    // Values up to 32 are error codes.
    if (reinterpret_cast<UINT_PTR>(opened) <= 32)
        return false;
    flags |= visitedFlag;
    if (hWnd != nullptr)
        InvalidateRect(nullptr, TRUE);
    return true;
}

LONG HyperlinkLabel::GetAccessibleRole() const
{
    return ROLE_SYSTEM_LINK;
}

bool HyperlinkLabel::GetAccessibleName(String& name) const
{
    // What the user sees: in tagged text, the parts without their tags.
    const char* shown = ShownText();
    if (*shown == '\0')
        return false;
    if (!IsTagged()) {
        name = shown;
        return true;
    }
    const TaggedParts parts = SplitTaggedText(shown);
    const int length = parts.beforeCount + parts.linkCount + parts.afterCount;
    char* text = name.GetBuffer(length);
    if (text == nullptr)
        return false;
    int at = 0;
    for (const auto& part : {std::make_pair(parts.before, parts.beforeCount), std::make_pair(parts.link, parts.linkCount),
                             std::make_pair(parts.after, parts.afterCount)}) {
        if (part.second > 0)
            CopyMemory(text + at, part.first, part.second);
        at += part.second;
    }
    name.ReleaseBuffer(length);
    return true;
}

bool HyperlinkLabel::GetAccessibleValue(String& value) const
{
    if (linkTarget.IsEmpty())
        return false;
    value = linkTarget;
    return true;
}

LONG HyperlinkLabel::GetAccessibleState() const
{
    return STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE | ((flags & visitedFlag) ? STATE_SYSTEM_TRAVERSED : 0);
}

const char* HyperlinkLabel::GetAccessibleAction() const
{
    return "Jump";
}

bool HyperlinkLabel::DoAccessibleAction()
{
    return hWnd != nullptr && PostMessageA(activateMessage);
}

LRESULT HyperlinkLabel::OnActivate(UINT, WPARAM, LPARAM, BOOL&)
{
    Activate();
    return 0;
}

LRESULT HyperlinkLabel::OnDialogRescaled(UINT, WPARAM, LPARAM, BOOL&)
{
    FollowFont();
    return 0;
}

LRESULT HyperlinkLabel::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    Initialize();
    return 0;
}

LRESULT HyperlinkLabel::OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    RelayToTip(message, wParam, lParam);
    handled = FALSE;
    return 0;
}

LRESULT HyperlinkLabel::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&)
{
    // Painting fills the background itself, in one go with the text.
    return 1;
}

LRESULT HyperlinkLabel::OnPaint(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (!(flags & paintTextFlag)) {
        handled = FALSE;
        return 0;
    }
    // WM_PRINTCLIENT, and WM_PAINT from some callers, bring the DC to draw into.
    PAINTSTRUCT paint;
    const HDC dc = wParam != 0 ? reinterpret_cast<HDC>(wParam) : BeginPaint(&paint);
    if (dc != nullptr)
        PaintLink(dc, EraseBackground(dc));
    if (wParam == 0)
        EndPaint(&paint);
    return 0;
}

LRESULT HyperlinkLabel::OnFocus(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (!(flags & paintTextFlag)) {
        handled = FALSE;
        return 0;
    }
    // The focus rectangle comes and goes with the next paint.
    InvalidateRect(nullptr, TRUE);
    return 0;
}

LRESULT HyperlinkLabel::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    if (!IsOverActiveLink(PointFromLParam(lParam))) {
        SetHover(false);
        handled = FALSE;
        return 0;
    }
    ::SetCursor(handCursor);
    if (UnderlinesOnHover() && !(flags & hoverFlag)) {
        SetHover(true);
        // WM_MOUSELEAVE clears the hover when the pointer leaves the control quickly.
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hWnd, 0};
        ::_TrackMouseEvent(&track);
    }
    return 0;
}

LRESULT HyperlinkLabel::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&)
{
    SetHover(false);
    return 0;
}

LRESULT HyperlinkLabel::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    const POINT point = PointFromLParam(lParam);
    if (::PtInRect(&linkRect, point)) {
        SetFocus();
        SetCapture();
    }
    return 0;
}

LRESULT HyperlinkLabel::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    // Only a press that began on the link ends in a click, and only if the
    // button comes up on the link again.
    if (::GetCapture() != hWnd)
        return 0;
    ::ReleaseCapture();
    const POINT point = PointFromLParam(lParam);
    if (::PtInRect(&linkRect, point))
        Activate();
    return 0;
}

LRESULT HyperlinkLabel::OnChar(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam == '\r' || wParam == ' ')
        Activate();
    return 0;
}

LRESULT HyperlinkLabel::OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&)
{
    // Characters only: the dialog keeps Tab, Enter, Esc and the arrows.
    return DLGC_WANTCHARS;
}

LRESULT HyperlinkLabel::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled)
{
    // The hand was set on the last move; TRUE keeps it there. Elsewhere the
    // static shows its class cursor.
    POINT point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (IsOverActiveLink(point))
        return TRUE;
    handled = FALSE;
    return 0;
}

LRESULT HyperlinkLabel::OnEnable(UINT, WPARAM, LPARAM, BOOL&)
{
    InvalidateRect(nullptr, TRUE);
    UpdateWindow();
    return 0;
}

LRESULT HyperlinkLabel::OnGetFont(UINT, WPARAM, LPARAM, BOOL&)
{
    return reinterpret_cast<LRESULT>(normalFont);
}

LRESULT HyperlinkLabel::OnSetFont(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The link font stays the one made at attaching, and the link is not
    // measured anew.
    normalFont = reinterpret_cast<HFONT>(wParam);
    if (lParam != 0) {
        InvalidateRect(nullptr, TRUE);
        UpdateWindow();
    }
    return 0;
}

LRESULT HyperlinkLabel::OnSetText(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The static stores the text, and some static implementations (Wine's)
    // draw it at once through their own DC, without WM_PAINT: paint the link
    // over it again.
    const LRESULT result = DefaultWindowProc(message, wParam, lParam);
    if (flags & paintTextFlag) {
        InvalidateRect(nullptr, TRUE);
        UpdateWindow();
    }
    return result;
}

LRESULT HyperlinkLabel::OnUpdateUiState(UINT, WPARAM, LPARAM, BOOL&)
{
    // The static would repaint itself over the link.
    return 0;
}
