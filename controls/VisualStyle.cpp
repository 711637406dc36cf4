#include "controls/VisualStyle.h"

#include "controls/ThemeApi.h"
#include "framework/RegKey.h"

BOOL VisualStyle::IsStyledScheme()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExA(&version) || version.dwMajorVersion < 5)
        return FALSE;

    RegKey appearance;
    if (appearance.Open(HKEY_CURRENT_USER, "Control Panel\\Appearance", KEY_READ) != ERROR_SUCCESS)
        return FALSE;
    // Whatever bytes the value holds are compared, of any type. One byte short
    // of the buffer, so that the zeroed end always terminates them. A value
    // that is missing or too long leaves the buffer undefined: a scheme other
    // than the standard one.
    char scheme[200] = {};
    DWORD size = sizeof(scheme) - 1;
    if (RegQueryValueExA(appearance.GetHandle(), "Current", nullptr, nullptr, reinterpret_cast<BYTE*>(scheme),
                         &size) != ERROR_SUCCESS)
        return TRUE;
    return lstrcmpiA(scheme, "Windows Standard") != 0;
}

HTHEME VisualStyle::Choose(HWND window, LPCWSTR classList)
{
    if (!IsStyledScheme() || !ThemeApi::IsAvailable())
        return nullptr;
    return ThemeApi::OpenThemeData(window, classList);
}
