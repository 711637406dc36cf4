#include "quality/ProgramRun.h"

#include "res/resource.h"
#include "support/UserInput.h"

namespace testing {

namespace {

const char* const mainTitle = "Veltrano Zonarium 1.01";

// Wide messages both ways: under Wine, LB_GETTEXT sent with the ANSI function
// from another process comes back in the list box's own UTF-16.
std::wstring Wide(const char* text)
{
    std::wstring wide;
    for (; *text != '\0'; ++text)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return wide;
}

std::string SelectedText(HWND list)
{
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (index == LB_ERR || length == LB_ERR || length > 255)
        return std::string();
    wchar_t text[256] = {};
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    std::string narrow;
    for (const wchar_t* c = text; *c != L'\0'; ++c)
        narrow += *c < 0x80 ? static_cast<char>(*c) : '?';
    return narrow;
}

} // namespace

void PostKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 0x00000001);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

ProgramRun::ProgramRun(const std::string& program) : unmanaged(program), process(program)
{
    if (!process.Started())
        return;
    HWND found = process.FindWindowTitled(mainTitle);
    if (found != nullptr && process.WaitIdle())
        dialog = found;
}

std::string ProgramRun::Choose(int listId, const char* text)
{
    HWND list = GetDlgItem(dialog, listId);
    const std::wstring wide = Wide(text);
    const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wide.c_str()));
    if (index == LB_ERR)
        return std::string();
    SendMessageA(list, LB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    const int otherId = listId == IDC_CODE_LIST ? IDC_DESCRIPTION_LIST : IDC_CODE_LIST;
    return SelectedText(GetDlgItem(dialog, otherId));
}

bool ProgramRun::VisitEnabled() const
{
    return IsWindowEnabled(GetDlgItem(dialog, IDC_VISIT)) != FALSE;
}

HWND ProgramRun::OpenAbout()
{
    // Posted: the command runs the box's modal loop and returns only when it ends.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, ID_APP_ABOUT)));
    HWND about = process.FindWindowTitled("About", 10000);
    if (about != nullptr)
        process.WaitIdle(5000);
    return about;
}

bool ProgramRun::CloseAbout(HWND about)
{
    PostKey(about, VK_ESCAPE);
    return WaitUntil([&] { return !IsWindow(about) && IsWindowEnabled(dialog); }, 10000);
}

DWORD ProgramRun::EndWithEscape()
{
    PostKey(dialog, VK_ESCAPE);
    return process.WaitExit(10000);
}

} // namespace testing
