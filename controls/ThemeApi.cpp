#include "controls/ThemeApi.h"

#include "framework/SystemFunctions.h"

namespace {

using OpenThemeDataProc = HTHEME(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataProc = HRESULT(WINAPI*)(HTHEME);
using DrawThemeBackgroundProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using DrawThemeTextProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);

enum Call { openThemeData, closeThemeData, drawThemeBackground, drawThemeText, callCount };
const char* const names[callCount] = {"OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText"};
SystemFunctions<callCount> uxtheme("uxtheme.dll", names);

} // namespace

BOOL ThemeApi::IsAvailable()
{
    // All four or none: a theme must not be opened that cannot be drawn or closed.
    return uxtheme.HasAll();
}

HTHEME ThemeApi::OpenThemeData(HWND window, LPCWSTR classList)
{
    return IsAvailable() ? uxtheme.Get<OpenThemeDataProc>(openThemeData)(window, classList) : nullptr;
}

HRESULT ThemeApi::CloseThemeData(HTHEME theme)
{
    return IsAvailable() ? uxtheme.Get<CloseThemeDataProc>(closeThemeData)(theme) : E_NOTIMPL;
}

HRESULT ThemeApi::DrawThemeBackground(HTHEME theme, HDC dc, int partId, int stateId,
                                      const RECT* rect, const RECT* clipRect)
{
    return IsAvailable()
        ? uxtheme.Get<DrawThemeBackgroundProc>(drawThemeBackground)(theme, dc, partId, stateId, rect, clipRect)
        : E_NOTIMPL;
}

HRESULT ThemeApi::DrawThemeText(HTHEME theme, HDC dc, int partId, int stateId, LPCWSTR text,
                                int charCount, DWORD textFlags, DWORD textFlags2, const RECT* rect)
{
    return IsAvailable() ? uxtheme.Get<DrawThemeTextProc>(drawThemeText)(theme, dc, partId, stateId, text, charCount,
                                                                          textFlags, textFlags2, rect)
                         : E_NOTIMPL;
}
