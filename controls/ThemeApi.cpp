#include "controls/ThemeApi.h"

#include "framework/AppModule.h"
#include "framework/CriticalSection.h"
#include "framework/SystemLibrary.h"

namespace {

using OpenThemeDataProc = HTHEME(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataProc = HRESULT(WINAPI*)(HTHEME);
using DrawThemeBackgroundProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using DrawThemeTextProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);

enum BindState { notTried, bound, unavailable };

SystemLibrary uxtheme("uxtheme.dll");
// Published with interlocked operations after the entry points are stored, so
// that a thread reading it without the lock never sees "bound" before them.
LONG bindState = notTried;
OpenThemeDataProc openThemeData = nullptr;
CloseThemeDataProc closeThemeData = nullptr;
DrawThemeBackgroundProc drawThemeBackground = nullptr;
DrawThemeTextProc drawThemeText = nullptr;

} // namespace

BOOL ThemeApi::IsAvailable()
{
    const LONG known = InterlockedCompareExchange(&bindState, notTried, notTried);
    if (known != notTried)
        return known == bound;
    ScopedLock lock(appModule.GetStaticDataLock());
    if (bindState == notTried) {
        openThemeData = uxtheme.Find<OpenThemeDataProc>("OpenThemeData");
        closeThemeData = uxtheme.Find<CloseThemeDataProc>("CloseThemeData");
        drawThemeBackground = uxtheme.Find<DrawThemeBackgroundProc>("DrawThemeBackground");
        drawThemeText = uxtheme.Find<DrawThemeTextProc>("DrawThemeText");
        // All four or none: a theme must not be opened that cannot be drawn or closed.
        const BOOL complete = openThemeData != nullptr && closeThemeData != nullptr
            && drawThemeBackground != nullptr && drawThemeText != nullptr;
        InterlockedExchange(&bindState, complete ? bound : unavailable);
    }
    return bindState == bound;
}

HTHEME ThemeApi::OpenThemeData(HWND window, LPCWSTR classList)
{
    return IsAvailable() ? openThemeData(window, classList) : nullptr;
}

HRESULT ThemeApi::CloseThemeData(HTHEME theme)
{
    return IsAvailable() ? closeThemeData(theme) : E_NOTIMPL;
}

HRESULT ThemeApi::DrawThemeBackground(HTHEME theme, HDC dc, int partId, int stateId,
                                      const RECT* rect, const RECT* clipRect)
{
    return IsAvailable() ? drawThemeBackground(theme, dc, partId, stateId, rect, clipRect) : E_NOTIMPL;
}

HRESULT ThemeApi::DrawThemeText(HTHEME theme, HDC dc, int partId, int stateId, LPCWSTR text,
                                int charCount, DWORD textFlags, DWORD textFlags2, const RECT* rect)
{
    return IsAvailable() ? drawThemeText(theme, dc, partId, stateId, text, charCount, textFlags, textFlags2, rect)
                  : E_NOTIMPL;
}
