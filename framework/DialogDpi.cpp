#include "framework/DialogDpi.h"

#include "framework/DpiApi.h"
#include "framework/GdiScope.h"

namespace {

constexpr int pointsPerInch = 72;

// Dialog base units of a font, as the dialog manager takes them: the average
// width of the 52 Latin letters, rounded, and the character height.
SIZE BaseUnits(HFONT font)
{
    SIZE units = {0, 0};
    WindowDC screen(nullptr);
    if (screen == nullptr)
        return units;
    const SelectedObject selected(screen, font);
    TEXTMETRICA metrics = {};
    SIZE letters = {};
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    if (::GetTextMetricsA(screen, &metrics) && ::GetTextExtentPoint32A(screen, alphabet, 52, &letters)) {
        units.cx = (letters.cx / 26 + 1) / 2;
        units.cy = metrics.tmHeight;
    }
    return units;
}

// A font like model at size points for dpi; NULL on failure.
HFONT MakeFont(LOGFONTA model, int points, UINT dpi)
{
    model.lfHeight = -::MulDiv(points, static_cast<int>(dpi), pointsPerInch);
    model.lfWidth = 0;
    return ::CreateFontIndirectA(&model);
}

// A coordinate in pixels of one base unit, in pixels of another. Through
// dialog units, as the template has it: placed there by the dialog manager,
// it comes back exactly, so that moving back and forth gains nothing.
int Convert(int pixels, int unitsPerBase, int from, int to)
{
    return ::MulDiv(::MulDiv(pixels, unitsPerBase, from), to, unitsPerBase);
}

} // namespace

HFONT DialogDpi::GetControlFont() const
{
    return font != nullptr ? font.Get() : reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
}

void DialogDpi::Attach(HWND window, int widthAt100)
{
    dialog = window;
    DpiApi::DisableDialogScaling(window);
    dpi = DpiApi::GetDpiForWindow(window);

    LOGFONTA logFont = {};
    const HFONT current = GetControlFont();
    if (current == nullptr || ::GetObjectA(current, sizeof logFont, &logFont) == 0)
        return;  // no template font: nothing to make anew
    // The units the dialog manager laid the dialog out in, as it keeps them:
    // 4 x 8 dialog units are one base unit each way. Asked, not measured
    // again, since the font is the one it measured.
    RECT units = {0, 0, 4, 8};
    if (!::MapDialogRect(window, &units) || units.right <= 0 || units.bottom <= 0)
        return;
    baseUnits = {units.right, units.bottom};
    baseWidthAt100 = dpi == DpiApi::dpiAt100 || widthAt100 <= 0 ? baseUnits.cx : widthAt100;
    pointSize = ::MulDiv(logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight, pointsPerInch,
                         static_cast<int>(dpi));
}

BOOL DialogDpi::Rescale(UINT newDpi, const RECT& suggested)
{
    ::SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LOGFONTA logFont = {};
    const HFONT current = GetControlFont();
    if (pointSize == 0 || newDpi == 0 || current == nullptr || ::GetObjectA(current, sizeof logFont, &logFont) == 0)
        return FALSE;
    OwnedFont made(MakeFont(logFont, pointSize, newDpi));
    const SIZE units = made != nullptr ? BaseUnits(made) : SIZE{0, 0};
    if (units.cx <= 0 || units.cy <= 0)
        return FALSE;

    // Each control that draws for the scale follows it (WM_DIALOG_RESCALED)
    // once it has its new font and place: one path for all of them.
    const DialogScale scale = {units.cx, baseWidthAt100};
    // Direct children only: the controls of the template.
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        ::GetWindowRect(child, &place);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        // Dialog units are a quarter of the base width and an eighth of the base height.
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(made.Get()), FALSE);
        ::SetWindowPos(child, nullptr, Convert(place.left, 4, baseUnits.cx, units.cx),
                       Convert(place.top, 8, baseUnits.cy, units.cy),
                       Convert(place.right - place.left, 4, baseUnits.cx, units.cx),
                       Convert(place.bottom - place.top, 8, baseUnits.cy, units.cy),
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageA(child, WM_DIALOG_RESCALED, newDpi, reinterpret_cast<LPARAM>(&scale));
    }
    // No control holds the font of the previous DPI any more.
    const OwnedFont previous(font.Detach());
    font.Attach(made.Detach());
    baseUnits = units;
    dpi = newDpi;
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return TRUE;
}
