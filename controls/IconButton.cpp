#include "controls/IconButton.h"

#include <vssym32.h>

#include "controls/ThemeApi.h"
#include "controls/VisualStyle.h"
#include "framework/AppModule.h"
#include "framework/DialogDpi.h"
#include "framework/DpiApi.h"
#include "framework/MessageMap.h"

namespace {

// The caption buffer: at most 99 characters are drawn.
constexpr int captionSize = 100;
// Icon and text placement for a button with a caption, for a 16-pixel icon;
// they grow with the icon.
constexpr int iconLeft = 6;
constexpr int textLeft = 20;
constexpr int baseIconSize = 16;

constexpr DWORD buttonTypeBits = 0x400F; // BS_NOTIFY | BS_TYPEMASK

} // namespace

IconButton::IconButton()
{
    // Asked early so that the answer is known before the first button draws.
    ThemeApi::IsAvailable();
}

IconButton::~IconButton()
{
    theme.Reset();
    ReleaseImages();
}

void IconButton::ReleaseImages()
{
    hotImages.Reset();
    disabledImages.Reset();
    normalImages.Reset();
    normalBitmap.DeleteBitmap();
    disabledBitmap.DeleteBitmap();
    sourceBitmap.Reset();
}

BOOL IconButton::SubclassWindow(HWND window)
{
    const BOOL attached = WindowImpl::SubclassWindow(window);
    if (attached)
        InitAppearance();
    return attached;
}

BOOL IconButton::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result, DWORD mapId)
{
    using Map = MessageMap<IconButton>;
    static constexpr Map::Entry entries[] = {
        Map::ChainBase<OwnerDraw<IconButton>>(1),
        Map::Message(WM_CREATE, &IconButton::OnCreate),
        Map::Message(WM_MOUSEMOVE, &IconButton::OnMouseMove),
        Map::Message(WM_MOUSELEAVE, &IconButton::OnMouseLeave),
        Map::Message(WM_GETDLGCODE, &IconButton::OnGetDlgCode),
        Map::Message(BM_SETSTYLE, &IconButton::OnSetStyle),
        Map::Message(WM_DIALOG_RESCALED, &IconButton::OnDialogRescaled),
    };
    return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
}

LRESULT IconButton::OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    const LRESULT result = DefaultWindowProc(message, wParam, lParam);
    InitAppearance();
    return result;
}

LRESULT IconButton::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (!hover) {
        hover = TRUE;
        RedrawIfThemed();
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hWnd, 0};
        _TrackMouseEvent(&track);
    }
    handled = FALSE;
    return 0;
}

LRESULT IconButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (hover) {
        hover = FALSE;
        RedrawIfThemed();
    }
    handled = FALSE;
    return 0;
}

LRESULT IconButton::OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&)
{
    // An owner-drawn button answers DLGC_BUTTON alone, and IsDialogMessage
    // then turns Enter on it into IDOK. A push button that is the default
    // gets Enter as its own click; the focused one is the default, and only
    // while it has the focus, so that Enter elsewhere keeps its meaning.
    return DLGC_BUTTON | (::GetFocus() == hWnd ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT IconButton::OnSetStyle(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The dialog manager moves the default with BM_SETSTYLE(BS_DEFPUSHBUTTON
    // or BS_PUSHBUTTON), which would replace the owner-draw type: the button
    // keeps drawing itself, and the default follows the focus (above).
    return DefaultWindowProc(message, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW, lParam);
}

void IconButton::RedrawIfThemed()
{
    // The classic face shows hover only through the icon; it waits for the
    // next repaint with another cause.
    if (!themed)
        return;
    InvalidateRect(nullptr, TRUE);
    UpdateWindow();
}

void IconButton::InitAppearance()
{
    // Writes nothing when the style is already so, and moves nothing.
    ModifyStyle(buttonTypeBits, BS_OWNERDRAW);

    // Attached again to a new window: the theme opened for the old one goes.
    theme.Attach(VisualStyle::Choose(hWnd, L"Button"));
    themed = theme != nullptr;
}

LRESULT IconButton::OnDialogRescaled(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (bitmapIds != nullptr)
        LoadImages(*bitmapIds, maskColour, static_cast<UINT>(wParam));
    return 0;
}

void IconButton::LoadImages(const UINT (&ids)[iconSizeCount], COLORREF mask, UINT dpi)
{
    bitmapIds = &ids;
    maskColour = mask;
    const int wanted = MulDiv(baseIconSize, static_cast<int>(dpi), static_cast<int>(DpiApi::dpiAt100));
    int chosen = 0;
    for (int i = 1; i < iconSizeCount; ++i)
        if (iconSizes[i] <= wanted)
            chosen = i;
    LoadImagesAt(ids[chosen], mask, iconSizes[chosen]);
    if (iconWidth == 0 && chosen != 0)
        LoadImagesAt(ids[0], mask, iconSizes[0]);
}

void IconButton::LoadImagesAt(UINT bitmapId, COLORREF maskColour, int size)
{
    ReleaseImages();
    iconSize = size;
    sourceBitmap.Attach(LoadBitmapA(appModule.GetResourceInstance(), MAKEINTRESOURCEA(bitmapId)));
    BITMAP info = {};
    int width = 0;
    int height = 0;
    if (sourceBitmap != nullptr && GetObjectA(sourceBitmap, sizeof(info), &info) != 0) {
        width = info.bmWidth;
        height = info.bmHeight;
    }
    iconWidth = width;
    iconHeight = height;

    // One load serves all three variants. ImageList_AddMasked blackens the
    // masked pixels of the bitmap it is given, so the filters read the loaded
    // pixels before the hot list takes them.
    normalBitmap.MakeNormalImage(maskColour, sourceBitmap);
    disabledBitmap.MakeDisabledImage(maskColour, sourceBitmap);
    hotImages.Attach(MakeImageList(sourceBitmap, maskColour));
    normalImages.Attach(MakeVariantList(normalBitmap, maskColour));
    disabledImages.Attach(MakeVariantList(disabledBitmap, maskColour));
}

HIMAGELIST IconButton::MakeVariantList(const FilterBitmap& variant, COLORREF maskColour) const
{
    // A variant whose filters failed shows the icon unaltered, as the hot
    // list holds it.
    if (variant.GetBitmap() == nullptr)
        return ImageList_Duplicate(hotImages);
    return MakeImageList(variant.GetBitmap(), maskColour);
}

HIMAGELIST IconButton::MakeImageList(HBITMAP bitmap, COLORREF maskColour) const
{
    HIMAGELIST images = ImageList_Create(iconWidth, iconHeight, ILC_COLOR24 | ILC_MASK, 1, 1);
    ImageList_AddMasked(images, bitmap, maskColour);
    return images;
}

void IconButton::DrawItem(DRAWITEMSTRUCT* item)
{
    HDC dc = item->hDC;
    const BOOL pressed = (item->itemState & ODS_SELECTED) != 0;
    const BOOL focused = (item->itemState & ODS_FOCUS) != 0;
    const BOOL disabled = (item->itemState & ODS_DISABLED) != 0;
    const BOOL showFocus = (item->itemState & ODS_NOFOCUSRECT) == 0;
    RECT face = item->rcItem;

    SetBkMode(dc, TRANSPARENT);
    if (themed) {
        int state = PBS_NORMAL;
        if (focused)
            state = PBS_DEFAULTED;
        if (hover)
            state = PBS_HOT;
        if (disabled)
            state = PBS_DISABLED;
        if (pressed)
            state = PBS_PRESSED;
        ThemeApi::DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &face, nullptr);
    } else {
        if (focused) {
            const OwnedBrush black(CreateSolidBrush(RGB(0, 0, 0)));
            FrameRect(dc, &face, black);
            InflateRect(&face, -1, -1);
        }
        FillRect(dc, &face, OwnedBrush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))));
        if (pressed) {
            FrameRect(dc, &face, OwnedBrush(CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW))));
        } else {
            DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (hover ? DFCS_HOT : 0));
        }
    }

    char caption[captionSize] = {};
    GetWindowTextA(caption, captionSize);
    const BOOL hasCaption = caption[0] != '\0';
    RECT text = item->rcItem;
    DrawIcon(dc, hasCaption, item->rcItem, text, pressed, disabled);
    if (hasCaption)
        DrawCaption(dc, caption, text, pressed, disabled);

    if (focused && showFocus) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

POINT IconButton::GetIconPosition(BOOL hasCaption, const RECT& item, RECT& text, BOOL pressed) const
{
    POINT position;
    if (hasCaption) {
        position.x = MulDiv(iconLeft, iconSize, baseIconSize);
        position.y = item.top + (item.bottom - item.top - iconHeight) / 2;
        text.right = text.right - text.left;
        text.left = MulDiv(textLeft, iconSize, baseIconSize);
    } else {
        position.x = (text.right - text.left - iconWidth) / 2;
        position.y = (text.bottom - text.top - iconHeight) / 2;
    }
    if (!themed && pressed) {
        ++position.x;
        ++position.y;
    }
    return position;
}

void IconButton::DrawIcon(HDC dc, BOOL hasCaption, const RECT& item, RECT& text, BOOL pressed, BOOL disabled)
{
    const POINT at = GetIconPosition(hasCaption, item, text, pressed);
    ImageList_Draw(hover ? hotImages : normalImages, 0, dc, at.x, at.y, ILD_TRANSPARENT);
    if (disabled)
        ImageList_Draw(disabledImages, 0, dc, at.x, at.y, ILD_TRANSPARENT);
}

void IconButton::DrawCaption(HDC dc, const char* caption, RECT text, BOOL pressed, BOOL disabled)
{
    if (!themed && pressed)
        OffsetRect(&text, 1, 1);
    const RECT area = text;
    DrawTextA(dc, caption, -1, &text, DT_CALCRECT | DT_WORDBREAK | DT_RIGHT);
    OffsetRect(&text, (area.right - area.left - (text.right - text.left)) / 2,
               (area.bottom - area.top - (text.bottom - text.top)) / 2);

    if (themed) {
        // A caption holds at most 99 characters, and no code page makes more
        // UTF-16 units than bytes out of them.
        wchar_t wide[captionSize];
        const int units = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, caption, -1, nullptr, 0);
        if (units <= 0 || units > captionSize)
            return;
        if (MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, caption, -1, wide, units) == 0)
            return;
        ThemeApi::DrawThemeText(theme, dc, BP_PUSHBUTTON, PBS_NORMAL, wide, units - 1,
                                DT_SINGLELINE | DT_VCENTER, 0, &text);
        return;
    }
    if (!disabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, caption, -1, &text, DT_WORDBREAK | DT_RIGHT);
        return;
    }
    // Embossed: a highlight copy one pixel down and right under the shadow.
    OffsetRect(&text, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, caption, -1, &text, DT_WORDBREAK | DT_RIGHT);
    OffsetRect(&text, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(dc, caption, -1, &text, DT_WORDBREAK | DT_RIGHT);
}
