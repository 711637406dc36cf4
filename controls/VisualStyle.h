#pragma once

#include <windows.h>
#include <uxtheme.h>

// Which look an owner-drawn control draws, chosen once, when it is attached:
// through the visual-styles engine when the desktop's appearance scheme is
// not "Windows Standard", the engine is there and it has a theme for the
// control's class; the classic 3-D look otherwise.
class VisualStyle {
public:
    // FALSE (classic look) when the desktop's appearance scheme value holds
    // "Windows Standard", whatever its type, or when there is no appearance
    // key or the system is older than Windows 2000; TRUE otherwise.
    static BOOL IsStyledScheme();

    // The theme data of classList for window when the styled look is chosen,
    // for the caller to close; NULL for the classic look, also where visual
    // styles are switched off while the scheme asks for them (no theme can be
    // opened then, and drawing through none would leave the control blank).
    static HTHEME Choose(HWND window, LPCWSTR classList);
};
