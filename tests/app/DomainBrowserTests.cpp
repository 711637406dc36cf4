#include <doctest.h>

#include <windows.h>

#include <string.h>

#include "RunningDialog.h"
#include "catalogue/DomainTable.h"
#include "res/resource.h"
#include "support/ShellLog.h"
#include "support/UserInput.h"

using testing::RunningDialog;

namespace {

const char* const availableCaption = "Visit site of domain registrar";
const char* const unavailableCaption = "Information about domain registrar is unavailable";

const char* RegistrarOf(const char* code)
{
    for (const DomainRecord& record : domainTable)
        if (strcmp(record.code, code) == 0)
            return record.registrarUrl;
    return nullptr;
}

// Counts what reaches the visit button after the program's own subclassing.
struct ButtonSpy {
    static ButtonSpy* active;
    WNDPROC previous = nullptr;
    HWND button = nullptr;
    int texts = 0;
    int paints = 0;

    explicit ButtonSpy(HWND window) : button(window)
    {
        active = this;
        previous = reinterpret_cast<WNDPROC>(SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(Proc)));
    }
    ~ButtonSpy()
    {
        if (IsWindow(button))
            SetWindowLongA(button, GWL_WNDPROC, reinterpret_cast<LONG>(previous));
        active = nullptr;
    }
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_SETTEXT)
            ++active->texts;
        if (message == WM_PAINT)
            ++active->paints;
        return CallWindowProcA(active->previous, window, message, wParam, lParam);
    }
};
ButtonSpy* ButtonSpy::active = nullptr;

} // namespace

TEST_CASE("the dialog opens with every domain, ac selected and the registrar available")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);

    CHECK(running.ItemCount(IDC_CODE_LIST) == 259);
    CHECK(running.ItemCount(IDC_DESCRIPTION_LIST) == 259);
    CHECK(running.SelectedText(IDC_CODE_LIST) == "ac");
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Ascension Island");
    CHECK(running.ButtonText(IDC_VISIT) == availableCaption);
    CHECK(IsWindowEnabled(running.Item(IDC_VISIT)));
    CHECK(std::string(running.Dialog().GetCurrentUrl()) == RegistrarOf("ac"));
    CHECK(GetFocus() == running.Item(IDCANCEL));

    char title[64];
    GetWindowTextA(running.Window(), title, sizeof title);
    CHECK(std::string(title) == "Veltrano Zonarium 1.01");
    CHECK(SendMessageA(running.Window(), WM_GETICON, ICON_BIG, 0) != 0);
    CHECK(SendMessageA(running.Window(), WM_GETICON, ICON_SMALL, 0) != 0);
}

TEST_CASE("choosing with the mouse keeps both lists and the visit button in step")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);

    SUBCASE("a domain without registrar disables the button, the next one enables it")
    {
        running.ClickItem(IDC_CODE_LIST, "bj");
        CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Benin");
        CHECK(running.ButtonText(IDC_VISIT) == unavailableCaption);
        CHECK_FALSE(IsWindowEnabled(running.Item(IDC_VISIT)));

        running.ClickItem(IDC_CODE_LIST, "bo");
        CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Bolivia");
        CHECK(running.ButtonText(IDC_VISIT) == availableCaption);
        CHECK(IsWindowEnabled(running.Item(IDC_VISIT)));
    }
    SUBCASE("a code that begins another code finds its own description")
    {
        running.ClickItem(IDC_CODE_LIST, "ne");
        CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Niger");
        CHECK_FALSE(IsWindowEnabled(running.Item(IDC_VISIT)));
        running.ClickItem(IDC_DESCRIPTION_LIST, "Nigeria");
        CHECK(running.SelectedText(IDC_CODE_LIST) == "ng");
        CHECK(IsWindowEnabled(running.Item(IDC_VISIT)));

        running.ClickItem(IDC_CODE_LIST, "co");
        CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Colombia");
        running.ClickItem(IDC_CODE_LIST, "com");
        CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Commercial");
    }
    SUBCASE("both United Kingdom items end on uk; gb selects the first of them")
    {
        HWND descriptions = running.Item(IDC_DESCRIPTION_LIST);
        const int first = static_cast<int>(SendMessageA(descriptions, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                        reinterpret_cast<LPARAM>("United Kingdom")));
        REQUIRE(first >= 0);
        running.ClickItem(IDC_DESCRIPTION_LIST, first + 1);
        CHECK(running.SelectedText(IDC_CODE_LIST) == "uk");
        running.ClickItem(IDC_DESCRIPTION_LIST, first);
        CHECK(running.SelectedText(IDC_CODE_LIST) == "uk");

        running.ClickItem(IDC_CODE_LIST, "gb");
        CHECK(SendMessageA(descriptions, LB_GETCURSEL, 0, 0) == first);
    }
    SUBCASE("a registrar reached by mail keeps the button available")
    {
        running.ClickItem(IDC_CODE_LIST, "ci");
        CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Cote d'Ivoire");
        CHECK(IsWindowEnabled(running.Item(IDC_VISIT)));
        CHECK(strncmp(running.Dialog().GetCurrentUrl(), "mailto:", 7) == 0);
    }
}

TEST_CASE("the keyboard moves the selection and the other list follows")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    running.ClickItem(IDC_CODE_LIST, "ac");
    REQUIRE(GetFocus() == running.Item(IDC_CODE_LIST));

    testing::PressKey(VK_DOWN);
    running.Pump(100);
    CHECK(running.SelectedText(IDC_CODE_LIST) == "ad");
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Andorra");

    testing::TypeText("n");
    running.Pump(100);
    CHECK(running.SelectedText(IDC_CODE_LIST) == "na");
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Namibia");

    testing::PressKey(VK_END);
    running.Pump(100);
    CHECK(running.SelectedText(IDC_CODE_LIST) == "zw");
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "Zimbabwe");

    // Tab goes on to the next tab stop through the dialog manager.
    testing::PressKey(VK_TAB);
    running.Pump(100);
    CHECK(GetFocus() == running.Item(IDC_DESCRIPTION_LIST));
}

TEST_CASE("the visit button is redrawn only when its availability changes")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);
    ButtonSpy spy(running.Item(IDC_VISIT));

    running.ClickItem(IDC_CODE_LIST, "de");
    running.ClickItem(IDC_CODE_LIST, "fr");
    CHECK(running.SelectedText(IDC_DESCRIPTION_LIST) == "France");
    CHECK(spy.texts == 0);
    CHECK(spy.paints == 0);

    running.ClickItem(IDC_CODE_LIST, "bj");
    CHECK(spy.texts == 1);
    CHECK(spy.paints >= 1);

    const int paintsAfterChange = spy.paints;
    running.ClickItem(IDC_CODE_LIST, "bv");  // also without registrar
    CHECK(spy.texts == 1);
    CHECK(spy.paints == paintsAfterChange);
}

TEST_CASE("Visit hands the registrar's address to the shell")
{
    RunningDialog running;
    REQUIRE(running.Window() != nullptr);

    SUBCASE("a web address")
    {
        running.ClickItem(IDC_CODE_LIST, "de");
        testing::ShellLog log;
        running.ClickButton(IDC_VISIT);
        CHECK(log.WaitFor(RegistrarOf("de")));
    }
    SUBCASE("a mail address")
    {
        running.ClickItem(IDC_DESCRIPTION_LIST, "Madagascar");
        testing::ShellLog log;
        running.ClickButton(IDC_VISIT);
        CHECK(log.WaitFor(RegistrarOf("mg")));
    }
    SUBCASE("nothing when the domain has no registrar")
    {
        running.ClickItem(IDC_CODE_LIST, "ye");
        testing::ShellLog log;
        running.ClickButton(IDC_VISIT);
        CHECK(log.StaysEmpty());
    }
}

TEST_CASE("Enter in a list closes the dialog with IDOK, Escape with IDCANCEL")
{
    SUBCASE("Enter")
    {
        RunningDialog running;
        REQUIRE(running.Window() != nullptr);
        running.ClickItem(IDC_DESCRIPTION_LIST, "Germany");
        testing::PressKey(VK_RETURN);
        CHECK(running.WaitUntil([&] { return running.QuitCode() != -1; }));
        CHECK(running.QuitCode() == IDOK);
        CHECK_FALSE(IsWindow(running.Window()));
    }
    SUBCASE("Escape")
    {
        RunningDialog running;
        REQUIRE(running.Window() != nullptr);
        testing::PressKey(VK_ESCAPE);
        CHECK(running.WaitUntil([&] { return running.QuitCode() != -1; }));
        CHECK(running.QuitCode() == IDCANCEL);
        CHECK_FALSE(IsWindow(running.Window()));
    }
}
