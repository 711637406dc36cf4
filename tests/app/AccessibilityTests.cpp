// What a screen reader hears of zvx.exe, asked from this process as a screen
// reader asks: the objects the program hands out for its own controls.
#include <doctest.h>

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "framework/ComPtr.h"
#include "res/AppLinks.h"
#include "res/resource.h"
#include "res/version.h"
#include "support/ComApartment.h"
#include "support/ShellLog.h"
#include "support/TestProcess.h"
#include "support/UserInput.h"
#include "support/WinePaths.h"

namespace {

const VARIANT self = {{{VT_I4, 0, 0, 0, {CHILDID_SELF}}}};

std::string Text(BSTR text)
{
    char converted[512] = {};
    if (text != nullptr)
        WideCharToMultiByte(CP_ACP, 0, text, -1, converted, sizeof converted - 1, nullptr, nullptr);
    SysFreeString(text);
    return converted;
}

// What one control's object answers about the control itself.
struct Heard {
    LONG role = 0;
    std::string name, value, action;
    LONG state = 0;
};

Heard Ask(IAccessible* object)
{
    Heard heard;
    VARIANT answer = {};
    if (object->get_accRole(self, &answer) == S_OK && answer.vt == VT_I4)
        heard.role = answer.lVal;
    if (object->get_accState(self, &answer) == S_OK && answer.vt == VT_I4)
        heard.state = answer.lVal;
    BSTR text = nullptr;
    if (object->get_accName(self, &text) == S_OK)
        heard.name = Text(text);
    if (object->get_accValue(self, &text) == S_OK)
        heard.value = Text(text);
    if (object->get_accDefaultAction(self, &text) == S_OK)
        heard.action = Text(text);
    return heard;
}

// A string of the program's own file.
std::string ProgramString(UINT id)
{
    HMODULE program = LoadLibraryExA(testing::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[256] = {};
    LoadStringA(program, id, text, sizeof text);
    FreeLibrary(program);
    return text;
}

} // namespace

TEST_CASE("a screen reader in another process hears what each control is, and can follow a link")
{
    const testing::ComApartment apartment;
    testing::TestProcess program(testing::ProgramPath());
    REQUIRE(program.Started());
    HWND dialog = program.FindWindowTitled(ZVX_TITLE);
    REQUIRE(dialog != nullptr);
    CHECK(program.WaitIdle());
    testing::Activate(dialog);
    testing::PressChord(VK_MENU, 'A');
    HWND about = program.FindWindowTitled("About");
    REQUIRE(about != nullptr);

    const std::string address = std::string(AppLinks::supportMailbox) + "@" + AppLinks::makerDomain;
    const LONG link = STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE;
    // The lists' roles and states stay the system's: not asked.
    const struct { HWND window; int id; LONG role; std::string name, value, action; LONG state; } controls[] = {
        {dialog, IDC_MAIN_BANNER, ROLE_SYSTEM_GRAPHIC, ProgramString(IDS_MAIN_BANNER), "", "", 0},
        {dialog, IDC_CODE_LIST, 0, "Domains", "", "", 0},
        {dialog, IDC_DESCRIPTION_LIST, 0, "Domain country/type", "", "", 0},
        {about, IDC_ABOUT_BANNER, ROLE_SYSTEM_GRAPHIC, ProgramString(IDS_ABOUT_BANNER), "", "", 0},
        {about, IDC_ABOUT_WEB_LINK, ROLE_SYSTEM_LINK, AppLinks::webAddress, AppLinks::webAddress, "Jump", link},
        {about, IDC_ABOUT_MAIL_LINK, ROLE_SYSTEM_LINK, address, "mailto:" + address, "Jump", link},
    };
    ComPtr<IAccessible> mail;
    for (const auto& control : controls) {
        CAPTURE(control.id);
        ComPtr<IAccessible> object;
        REQUIRE(AccessibleObjectFromWindow(GetDlgItem(control.window, control.id), OBJID_CLIENT, IID_IAccessible,
                                           reinterpret_cast<void**>(object.Receive())) == S_OK);
        const Heard heard = Ask(object.Get());
        CHECK(heard.name == control.name);
        CHECK_FALSE(heard.name.empty());
        if (control.role != 0)
            CHECK(heard.role == control.role);
        CHECK(heard.value == control.value);
        CHECK(heard.action == control.action);
        CHECK((heard.state & control.state) == control.state);
        CHECK((heard.state & STATE_SYSTEM_TRAVERSED) == 0);
        if (control.id == IDC_ABOUT_MAIL_LINK)
            object->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(mail.Receive()));
    }

    // The default action opens the link as a click does, and marks it followed.
    REQUIRE(mail);
    const testing::ShellLog log;
    CHECK(mail->accDoDefaultAction(self) == S_OK);
    CHECK(log.WaitFor("mailto:" + address));
    CHECK(testing::WaitUntil([&] { return (Ask(mail.Get()).state & STATE_SYSTEM_TRAVERSED) != 0; }));

    // Kept after its window is gone, the object answers with an error, and
    // the program lives on.
    testing::Activate(about);
    testing::PressKey(VK_ESCAPE);
    CHECK(testing::WaitUntil([&] { return !IsWindow(about); }));
    BSTR name = nullptr;
    CHECK(FAILED(mail->get_accName(self, &name)));
    VARIANT state = {};
    CHECK(FAILED(mail->get_accState(self, &state)));
    CHECK(FAILED(mail->accDoDefaultAction(self)));
    CHECK(program.WaitExit(0) == STILL_ACTIVE);
    mail.Reset();
    testing::Activate(dialog);
    testing::PressKey(VK_ESCAPE);
    CHECK(program.WaitExit() == 2);
}
