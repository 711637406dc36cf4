#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "controls/AccessibleControl.h"
#include "framework/ComPtr.h"
#include "framework/OwnedHandle.h"
#include "framework/WindowImpl.h"

// Turns a static control into a picture: decodes an encoded image (a JPEG
// resource) once, resizes the control to the picture's size in screen pixels
// (times the banner's scale), keeps the picture drawn in an off-screen bitmap
// and copies that bitmap to the control on every paint.
//
// Owns the picture reference, the memory DC and the bitmap selected into it;
// the control belongs to the dialog. To a screen reader it is a graphic, named
// by a string of the program's.
class PictureBanner : public WindowImpl, public AccessibleControl {
public:
    PictureBanner() = default;
    ~PictureBanner() override;

    // Decodes the resource name of type type from the program's resource
    // module. FALSE with the banner unchanged when the resource is missing or
    // cannot be copied; otherwise as LoadFromGlobal.
    BOOL LoadFromResource(LPCSTR name, LPCSTR type);
    // Decodes byteCount bytes of an encoded image held in block, replacing
    // whatever the banner showed: after a failure the banner is empty. The
    // banner takes the picture's size times the scale of the last LoadScaled
    // (1/1 before). The caller keeps the block.
    BOOL LoadFromGlobal(HGLOBAL block, LONG byteCount);
    // Shows the picture name at numerator / denominator of its size, drawn
    // from the smallest source at least that large: name itself up to its own
    // size (1/1 shows its very pixels), beyond that doubleName, the same
    // picture at twice the size, shrunk with an area filter. Without a double
    // (NULL, or missing) name is enlarged. The names are kept (resource
    // ordinals, or strings that outlive the banner): when the dialog is laid
    // out for another DPI (WM_DIALOG_RESCALED), the banner shows them anew at
    // its scale.
    BOOL LoadScaled(LPCSTR name, LPCSTR doubleName, LPCSTR type, int numerator, int denominator);
    // Resizes the control to width x height (kept even if a later step fails)
    // and makes the off-screen surface, filled with the menu colour.
    BOOL CreateSurface(int width, int height);
    // Draws the picture into the surface and invalidates the control. FALSE,
    // without invalidating, when there is nothing to draw or drawing failed.
    BOOL RenderPicture();
    // Releases the picture and the surface.
    void Clear();

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapId) override;

    // The string resource that says what the picture shows.
    void SetAccessibleNameId(UINT stringId) { nameId = stringId; }
    LONG GetAccessibleRole() const override;
    bool GetAccessibleName(String& name) const override;

    BOOL HasPicture() const { return picture ? TRUE : FALSE; }
    BOOL IsSurfaceReady() const { return surfaceReady; }
    SIZE GetPictureSize() const { return {pictureWidth, pictureHeight}; }

private:
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDialogRescaled(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // Draws the picture at its own size and resizes its pixels into the surface.
    BOOL RenderResized(OLE_XSIZE_HIMETRIC width, OLE_YSIZE_HIMETRIC height);

    ComPtr<IPicture> picture;          // NULL while nothing is loaded
    LONG pictureWidth = 0;             // screen pixels, as the banner shows it
    LONG pictureHeight = 0;
    LONG sourceWidth = 0;              // screen pixels, as decoded
    LONG sourceHeight = 0;
    int scaleNumerator = 1;            // banner size over decoded size
    int scaleDenominator = 1;
    OwnedMemoryDC surfaceDC;
    OwnedBitmap surfaceBitmap;         // selected into surfaceDC
    HGDIOBJ previousBitmap = nullptr;  // borrowed: the DC's own bitmap, selected back before deleting it
    BOOL surfaceReady = FALSE;         // surfaceDC and surfaceBitmap both exist
    UINT nameId = 0;                   // string resource, 0 for none
    LPCSTR shownName = nullptr;        // borrowed: the last LoadScaled's names
    LPCSTR shownDoubleName = nullptr;
    LPCSTR shownType = nullptr;
};
