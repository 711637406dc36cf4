#pragma once

#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include "controls/FilterBitmap.h"
#include "controls/OwnerDraw.h"
#include "controls/ThemeApi.h"
#include "framework/OwnedHandle.h"
#include "framework/WindowImpl.h"

// A push button that draws itself: a small icon at its left, paled unless the
// mouse is over it, and the caption centred in the rest of the face, with
// visual styles when the desktop uses them and classic 3-D frames otherwise
// (controls/VisualStyle chooses).
// Its parent must reflect WM_DRAWITEM to it (OCM_DRAWITEM). To the dialog
// manager it is a push button, the default one while it has the focus, so
// that Enter on it does what a click does.
//
// Owns the theme handle, the three image lists and the bitmaps they were made
// from, and releases them in that order; the window belongs to the dialog.
class IconButton : public WindowImpl, public OwnerDraw<IconButton> {
public:
    IconButton();
    ~IconButton() override;

    // Attaches to an existing button and makes it owner-drawn; the look
    // (themed or classic) is chosen here, once.
    BOOL SubclassWindow(HWND window);

    // The icon sizes a button has pictures for: 16 pixels at 100%, 125%,
    // 150% and 200% display scaling.
    static constexpr int iconSizeCount = 4;
    static constexpr int iconSizes[iconSizeCount] = {16, 20, 24, 32};

    // Builds the hot, normal and disabled icons from the bitmap resource made
    // for dpi, whose pixels of maskColour are transparent: bitmapIds (kept,
    // for as long as the button) hold one picture per size of iconSizes, in
    // that order, and the largest size not beyond 16 pixels at that DPI is
    // taken; the icon's and the caption's offsets grow with it. A bitmap of
    // that size that cannot be loaded gives the 16-pixel one; when that cannot
    // be loaded either, the button has no icon. Called again, and when its
    // dialog is laid out for another DPI (WM_DIALOG_RESCALED), it releases
    // what it made before.
    void LoadImages(const UINT (&bitmapIds)[iconSizeCount], COLORREF maskColour, UINT dpi);

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId) override;

    BOOL IsThemed() const { return themed; }
    HTHEME GetTheme() const { return theme.Get(); }
    BOOL IsHover() const { return hover; }

private:
    // Calls DrawItem for the reflected draw requests.
    friend class OwnerDraw<IconButton>;

    void DrawItem(DRAWITEMSTRUCT* item);

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseLeave(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnGetDlgCode(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetStyle(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDialogRescaled(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    void LoadImagesAt(UINT bitmapId, COLORREF maskColour, int size);
    void InitAppearance();
    void RedrawIfThemed();
    // In the order the button releases them: the image lists, then the
    // bitmaps they were made from.
    void ReleaseImages();
    // A one-image masked list of the icon's size holding bitmap.
    HIMAGELIST MakeImageList(HBITMAP bitmap, COLORREF maskColour) const;
    // The list of a filtered variant; made after hotImages.
    HIMAGELIST MakeVariantList(const FilterBitmap& variant, COLORREF maskColour) const;
    // Places the icon and narrows text to the area right of it when there is a caption.
    POINT GetIconPosition(BOOL hasCaption, const RECT& item, RECT& text, BOOL pressed) const;
    void DrawIcon(HDC dc, BOOL hasCaption, const RECT& item, RECT& text, BOOL pressed, BOOL disabled);
    void DrawCaption(HDC dc, const char* caption, RECT text, BOOL pressed, BOOL disabled);

    OwnedTheme theme;                    // "Button" class data; NULL for the classic look
    BOOL themed = FALSE;                 // fixed when attached
    int iconWidth = 0;
    int iconHeight = 0;
    int iconSize = 16;                   // the size the offsets are made for
    BOOL hover = FALSE;                  // from the first mouse move until the mouse leaves
    OwnedImageList hotImages;            // the bitmap as stored
    OwnedImageList disabledImages;       // grey, drawn over the icon of a disabled button
    OwnedImageList normalImages;         // lightened
    OwnedBitmap sourceBitmap;            // loaded once, the variants are filtered from it
    FilterBitmap disabledBitmap;         // owns the grey bitmap
    FilterBitmap normalBitmap;           // owns the lightened bitmap
    const UINT (*bitmapIds)[iconSizeCount] = nullptr;  // borrowed: the last LoadImages's, for a new DPI
    COLORREF maskColour = 0;
};
