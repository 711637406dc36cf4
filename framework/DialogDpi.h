#pragma once

#include <windows.h>

#include "framework/DpiApi.h"
#include "framework/OwnedHandle.h"

// How much larger a dialog is than at 100%, as DialogDpi measures it
// (GetScaleNumerator, GetScaleDenominator).
struct DialogScale {
    int numerator;
    int denominator;
};

// What DialogDpi tells each control of a dialog it has laid out anew for
// another DPI, once the control has its new font and place: wParam the new
// DPI, lParam a const DialogScale*. A control that draws for the scale (its
// own fonts, its pictures) follows it there; the others' default processing
// ignores the message. In the application's range: the standard controls
// give it no meaning.
constexpr UINT WM_DIALOG_RESCALED = WM_APP + 0x02E0;

// A dialog laid out for its window's DPI. The dialog manager lays a dialog
// out once, in dialog units of the font that its template asks for at the
// window's DPI. When the window moves to a monitor of another scale
// (WM_DPICHANGED), this lays it out anew the same way: the template's font at
// the new DPI, and every control placed in dialog units of that font.
//
// Owns the font it made for a new DPI; the controls borrow it. The dialog
// manager's own font stays the dialog manager's: the dialog's WM_GETFONT
// keeps answering with it. The controls learn of a new DPI from it alone
// (WM_DIALOG_RESCALED).
class DialogDpi {
public:
    DialogDpi() = default;

    DialogDpi(const DialogDpi&) = delete;
    DialogDpi& operator=(const DialogDpi&) = delete;

    // At WM_INITDIALOG: the DPI the dialog was made for. baseWidthAt100 is
    // the horizontal dialog base unit of the template's font at 96 DPI (a
    // dialog made at 96 DPI measures its own instead). Takes the relayout on
    // DPI changes over from a dialog manager that would do its own, so that
    // nothing is scaled twice.
    void Attach(HWND dialog, int baseWidthAt100);

    UINT GetDpi() const { return dpi; }
    // How much larger the dialog is than at 100% (96 DPI), as a fraction: the
    // horizontal dialog base unit of its font now over that at 96 DPI. A
    // dialog grows with its font, and a font's size does not follow the DPI
    // exactly (a bitmap font comes in a few sizes only: Wine's 8-point MS Sans
    // Serif is as large at 200% as at 150%), so what must keep its share of
    // the dialog scales by this. 1/1 at 100%.
    int GetScaleNumerator() const { return baseUnits.cx; }
    int GetScaleDenominator() const { return baseWidthAt100; }

    // WM_DPICHANGED: the dialog takes the suggested window rectangle, and its
    // controls take the font for the new DPI and their places in it, and are
    // told (WM_DIALOG_RESCALED). FALSE when the font cannot be made: the
    // controls then stay as they were.
    BOOL Rescale(UINT newDpi, const RECT& suggested);

private:
    HFONT GetControlFont() const;

    HWND dialog = nullptr;            // borrowed
    UINT dpi = DpiApi::dpiAt100;
    int pointSize = 0;                // of the template's font; 0 when the dialog has none
    SIZE baseUnits = {1, 1};          // of the controls' font now
    int baseWidthAt100 = 1;           // horizontal base unit of the template's font at 96 DPI, at least 1
    OwnedFont font;                   // made for the last DPI change; NULL before
};
