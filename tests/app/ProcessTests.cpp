#include <doctest.h>

#include <windows.h>

#include "res/resource.h"
#include "support/TestProcess.h"
#include "support/UserInput.h"
#include "support/WinePaths.h"

using testing::TestProcess;

namespace {

const char* const title = "Veltrano Zonarium 1.01";

// Starts the real program and waits for its dialog to be shown and idle.
HWND StartProgram(TestProcess& program)
{
    REQUIRE(program.Started());
    HWND dialog = program.FindWindowTitled(title);
    REQUIRE(dialog != nullptr);
    CHECK(program.WaitIdle());
    testing::Activate(dialog);
    return dialog;
}

void ClickChild(HWND dialog, int id)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    testing::ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

} // namespace

TEST_CASE("zvx.exe ends with the code of the command that closed it")
{
    TestProcess program(testing::ProgramPath());
    HWND dialog = StartProgram(program);

    SUBCASE("Escape gives 2")
    {
        testing::PressKey(VK_ESCAPE);
        CHECK(program.WaitExit() == 2);
    }
    SUBCASE("the Exit button gives 2")
    {
        ClickChild(dialog, IDCANCEL);
        CHECK(program.WaitExit() == 2);
    }
    SUBCASE("the window's Close command gives 2")
    {
        // What the title bar's close box and the system menu send.
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        CHECK(program.WaitExit() == 2);
    }
    SUBCASE("Enter in a list gives 1")
    {
        HWND codes = GetDlgItem(dialog, IDC_CODE_LIST);
        RECT item;
        SendMessageA(codes, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
        testing::ClickClient(codes, item);
        testing::PumpFor(100);
        testing::PressKey(VK_RETURN);
        CHECK(program.WaitExit() == 1);
    }
}

TEST_CASE("without its dialog template the program ends at once with 0 and shows nothing")
{
    const std::string copy = testing::CopyWithoutResource(testing::ProgramPath(), RT_DIALOG,
                                                          MAKEINTRESOURCEA(IDD_DOMAIN_BROWSER));
    REQUIRE_FALSE(copy.empty());
    TestProcess program(copy);
    REQUIRE(program.Started());
    CHECK(program.WaitExit(10000) == 0);
    CHECK(program.CountWindows() == 0);
    DeleteFileA(copy.c_str());
}
