#include <doctest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "RunningDialog.h"
#include "res/AppLinks.h"
#include "res/resource.h"
#include "support/ShellLog.h"
#include "support/UserInput.h"

using testing::RunningDialog;

namespace {

const COLORREF unvisitedColour = RGB(0, 0, 255);
const COLORREF visitedColour = RGB(128, 0, 128);

// Steps run one per timer tick while the modal About box runs its own loop,
// so that the input they send is handled by that loop as a user's would be.
struct ModalScript {
    static ModalScript* active;
    std::vector<std::function<void(HWND)>> steps;
    size_t next = 0;
    HWND about = nullptr;
    int closeCommand = 0;
    bool busy = false;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalScript* script = active;
        // A step that waits pumps messages, and with them further ticks.
        if (script == nullptr || script->busy)
            return;
        HWND window = GetActiveWindow();
        char title[32] = {};
        GetWindowTextA(window, title, sizeof title);
        if (std::string(title) != "About")
            return;  // not up yet
        script->about = window;
        if (script->next < script->steps.size()) {
            script->busy = true;
            script->steps[script->next++](window);
            script->busy = false;
        }
    }

    // Records the command that ends the About box, sent (Enter, Escape) or
    // posted (the default processing of the close box).
    static void Record(HWND window, UINT message, WPARAM wParam)
    {
        if (active != nullptr && message == WM_COMMAND && window == active->about && active->closeCommand == 0)
            active->closeCommand = LOWORD(wParam);
    }
    static LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code >= 0)
            Record(call->hwnd, call->message, call->wParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK PostedHook(int code, WPARAM wParam, LPARAM lParam)
    {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (code >= 0 && wParam == PM_REMOVE)
            Record(msg->hwnd, msg->message, msg->wParam);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // Chooses "About program" in the running dialog, with the mouse or with
    // its mnemonic, and runs the steps inside the About box; returns when the
    // box has closed.
    void Run(RunningDialog& running, bool byKeyboard = false)
    {
        active = this;
        HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
        HHOOK posted = SetWindowsHookExA(WH_GETMESSAGE, PostedHook, nullptr, GetCurrentThreadId());
        const UINT_PTR timer = SetTimer(nullptr, 0, 200, Tick);
        if (byKeyboard) {
            testing::PressChord(VK_MENU, 'A');
            running.Pump(100);
        } else {
            running.ClickButton(ID_APP_ABOUT);
        }
        running.WaitUntil([&] { return about != nullptr && !IsWindow(about); }, 30000);
        KillTimer(nullptr, timer);
        UnhookWindowsHookEx(posted);
        UnhookWindowsHookEx(sent);
        active = nullptr;
    }
};
ModalScript* ModalScript::active = nullptr;

std::string Text(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Whether any pixel of the control, as on screen, has the colour.
bool ShowsColour(HWND control, COLORREF colour)
{
    UpdateWindow(control);
    RECT client;
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    bool found = false;
    for (int y = client.top; y < client.bottom && !found; ++y)
        for (int x = client.left; x < client.right && !found; ++x)
            found = GetPixel(dc, x, y) == colour;
    ReleaseDC(control, dc);
    return found;
}

void ClickLinkText(HWND about, int id)
{
    HWND link = GetDlgItem(about, id);
    // The link text is centred in the wide static; its middle is the static's middle.
    RECT client;
    GetClientRect(link, &client);
    testing::ClickClient(link, client);
}

} // namespace

TEST_CASE("the About box opens over the main dialog with its banner and both links")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    const std::string mailAddress = std::string(AppLinks::supportMailbox) + "@" + AppLinks::makerDomain;

    ModalScript script;
    bool checked = false;
    script.steps.push_back([&](HWND about) {
        CHECK(GetWindow(about, GW_OWNER) == running.Window());
        CHECK_FALSE(IsWindowEnabled(running.Window()));

        RECT mainRect, aboutRect;
        GetWindowRect(running.Window(), &mainRect);
        GetWindowRect(about, &aboutRect);
        const int width = aboutRect.right - aboutRect.left;
        const int height = aboutRect.bottom - aboutRect.top;
        CHECK(aboutRect.left == (mainRect.left + mainRect.right) / 2 - width / 2);
        CHECK(aboutRect.top == (mainRect.top + mainRect.bottom) / 2 - height / 2);

        RECT banner;
        GetWindowRect(GetDlgItem(about, IDC_ABOUT_BANNER), &banner);
        CHECK(banner.right - banner.left == 398);
        CHECK(banner.bottom - banner.top == 53);

        CHECK(Text(GetDlgItem(about, IDC_ABOUT_WEB_LINK)) == AppLinks::webAddress);
        CHECK(Text(GetDlgItem(about, IDC_ABOUT_MAIL_LINK)) == mailAddress);
        CHECK(Text(GetDlgItem(about, IDC_ABOUT_PRODUCT))
              == "Veltrano Zonarium 1.01 - complete information about top level domains");
        CHECK(ShowsColour(GetDlgItem(about, IDC_ABOUT_WEB_LINK), unvisitedColour));
        CHECK(ShowsColour(GetDlgItem(about, IDC_ABOUT_MAIL_LINK), unvisitedColour));
        checked = true;
        testing::PressKey(VK_ESCAPE);
    });
    script.Run(running);

    CHECK(checked);
    CHECK(script.closeCommand == IDCANCEL);
    CHECK(IsWindowEnabled(running.Window()));
    CHECK(running.QuitCode() == -1);  // the program goes on
}

TEST_CASE("a link opens its target, takes the focus, and Enter closes the box")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    const std::string mailTarget = std::string("mailto:") + AppLinks::supportMailbox + "@" + AppLinks::makerDomain;
    testing::ShellLog log;

    ModalScript script;
    script.steps.push_back([&](HWND about) { ClickLinkText(about, IDC_ABOUT_MAIL_LINK); });
    script.steps.push_back([&](HWND about) {
        CHECK(GetFocus() == GetDlgItem(about, IDC_ABOUT_MAIL_LINK));
        CHECK(log.WaitFor(mailTarget));
        CHECK(ShowsColour(GetDlgItem(about, IDC_ABOUT_MAIL_LINK), visitedColour));
        CHECK(ShowsColour(GetDlgItem(about, IDC_ABOUT_WEB_LINK), unvisitedColour));
        log.Skip();
        testing::PressKey(VK_SPACE);  // opens the focused link again
    });
    script.steps.push_back([&](HWND) {
        CHECK(log.WaitFor(mailTarget));
        testing::PressKey(VK_RETURN);
    });
    script.Run(running);

    CHECK(script.next == script.steps.size());
    CHECK(script.closeCommand == IDOK);
}

TEST_CASE("every opening starts with unvisited links")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    testing::ShellLog log;

    ModalScript first;
    first.steps.push_back([&](HWND about) { ClickLinkText(about, IDC_ABOUT_WEB_LINK); });
    first.steps.push_back([&](HWND about) {
        CHECK(log.WaitFor(AppLinks::webAddress));
        CHECK(ShowsColour(GetDlgItem(about, IDC_ABOUT_WEB_LINK), visitedColour));
        PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
    });
    first.Run(running);
    CHECK(first.closeCommand == IDCANCEL);

    ModalScript second;
    second.steps.push_back([&](HWND about) {
        CHECK(ShowsColour(GetDlgItem(about, IDC_ABOUT_WEB_LINK), unvisitedColour));
        CHECK_FALSE(ShowsColour(GetDlgItem(about, IDC_ABOUT_WEB_LINK), visitedColour));
        testing::PressKey(VK_ESCAPE);
    });
    second.Run(running);
    CHECK(second.closeCommand == IDCANCEL);
}

TEST_CASE("the About box is kept inside the work area")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT mainRect;
    GetWindowRect(running.Window(), &mainRect);
    // Most of the main dialog off the bottom right corner.
    SetWindowPos(running.Window(), nullptr, work.right - 60, work.bottom - 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    ModalScript script;
    script.steps.push_back([&](HWND about) {
        RECT aboutRect;
        GetWindowRect(about, &aboutRect);
        CHECK(aboutRect.right == work.right);
        CHECK(aboutRect.bottom == work.bottom);
        testing::PressKey(VK_ESCAPE);
    });
    script.Run(running, true);  // the About button is off the screen now
    CHECK(script.closeCommand == IDCANCEL);
}
