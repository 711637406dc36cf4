#pragma once

#include <windows.h>
#include <uxtheme.h>

#include "framework/OwnedHandle.h"

// The four visual-styles calls of the icon button, bound to uxtheme.dll on
// their first use. The program must start where that library is missing, so
// it is never imported statically; there every call fails as if the theme
// could not be opened (NULL handle, E_NOTIMPL).
class ThemeApi {
public:
    // Whether the visual-styles library loads, from the system folder only,
    // with all four calls: the process's one answer, found when first asked
    // (by a call below or directly).
    static BOOL IsAvailable();

    static HTHEME OpenThemeData(HWND window, LPCWSTR classList);
    static HRESULT CloseThemeData(HTHEME theme);
    static HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int partId, int stateId,
                                       const RECT* rect, const RECT* clipRect);
    static HRESULT DrawThemeText(HTHEME theme, HDC dc, int partId, int stateId, LPCWSTR text,
                                 int charCount, DWORD textFlags, DWORD textFlags2, const RECT* rect);
};

struct ThemeRelease {
    using Handle = HTHEME;
    static bool Release(HTHEME theme) { return SUCCEEDED(ThemeApi::CloseThemeData(theme)); }
};
using OwnedTheme = OwnedHandle<ThemeRelease>;
