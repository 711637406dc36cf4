#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/MessageLoop.h"
#include "res/resource.h"
#include "res/version.h"
#include "support/MessageSpy.h"
#include "support/TestProcess.h"
#include "support/TestWindows.h"
#include "support/UserInput.h"
#include "support/WindowContents.h"
#include "support/WinePaths.h"

using testing::TestProcess;

namespace {

// Records what the loop does, in order: "idle" for each idle pass and the
// number of each message it takes. Each idle pass posts the next step, so the
// sequence does not depend on timing.
struct Script : MessageFilter, IdleHandler {
    std::vector<std::string> events;
    int idlePasses = 0;
    DWORD threadId = GetCurrentThreadId();

    BOOL PreTranslateMessage(MSG* msg) override
    {
        char name[16];
        wsprintfA(name, "%x", msg->message);
        events.push_back(name);
        return FALSE;
    }
    BOOL OnIdle() override
    {
        events.push_back("idle");
        switch (++idlePasses) {
        case 1:
            // None of these re-arms idle processing; only the late WM_APP does.
            for (UINT message : {UINT(WM_MOUSEMOVE), UINT(WM_PAINT), UINT(0x0118), UINT(WM_NCMOUSEMOVE)})
                PostThreadMessageA(threadId, message, 0, 0);
            CloseHandle(CreateThread(nullptr, 0, PostAppLater, this, 0, nullptr));
            break;
        case 2:
            // A click re-arms; the mouse move after it does not take that back.
            PostThreadMessageA(threadId, WM_LBUTTONDOWN, 0, 0);
            PostThreadMessageA(threadId, WM_MOUSEMOVE, 0, 0);
            break;
        default:
            PostThreadMessageA(threadId, WM_QUIT, 7, 0);
        }
        return TRUE;  // the loop ignores it
    }
    // Not a wait for a state: the pause only makes the message late enough to
    // find the loop waiting with an empty queue, which is when a loop that
    // re-armed on the messages before would run an idle pass. A message that
    // came early would weaken the check, never fail it.
    static DWORD WINAPI PostAppLater(void* param)
    {
        Sleep(300);
        PostThreadMessageA(static_cast<Script*>(param)->threadId, WM_APP, 0, 0);
        return 0;
    }
};

// Notes each WM_APP+n message it is asked about; consumes one of them.
struct RecordingFilter : MessageFilter {
    std::string* order;
    char name;
    UINT consumes;
    RecordingFilter(std::string* o, char n, UINT c) : order(o), name(n), consumes(c) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message >= WM_APP)
            *order += name;
        return msg->message == consumes;
    }
};

// The DPI awareness of a window as the system keeps it (2: per monitor), from
// functions of newer systems.
int WindowAwareness(HWND window)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto context = reinterpret_cast<HANDLE(WINAPI*)(HWND)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    const auto awareness = reinterpret_cast<int(WINAPI*)(HANDLE)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    REQUIRE((context != nullptr && awareness != nullptr));
    return awareness(context(window));
}

} // namespace

TEST_CASE("only input re-arms idle processing")
{
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before posting
    MessageLoop loop;
    Script script;
    loop.AddMessageFilter(&script);
    loop.AddIdleHandler(nullptr);  // skipped
    loop.AddIdleHandler(&script);
    CHECK(loop.Run() == 7);
    CHECK(script.events == std::vector<std::string>{"idle", "200", "f", "118", "a0", "8000", "idle",
                                                    "201", "200", "idle"});
}

TEST_CASE("filters are asked last-registered first and the first to consume stops the rest")
{
    std::string order;
    RecordingFilter early(&order, 'e', WM_APP + 1);
    RecordingFilter late(&order, 'l', WM_APP + 2);
    MessageLoop loop;
    loop.AddMessageFilter(&early);
    loop.AddMessageFilter(nullptr);  // skipped
    loop.AddMessageFilter(&late);

    HWND target = testing::CreateHost(0, 0, 10, 10, nullptr, WS_POPUP);
    REQUIRE(target != nullptr);
    int dispatched = 0;
    const testing::MessageSpy spy(target, [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        dispatched += message >= WM_APP;
        return false;
    });
    for (UINT n = 0; n < 3; ++n)
        PostMessageA(target, WM_APP + n, 0, 0);  // dispatched; consumed by early; consumed by late
    PostQuitMessage(3);
    CHECK(loop.Run() == 3);
    CHECK(order == "lelel");
    CHECK(dispatched == 1);
    DestroyWindow(target);
}

TEST_CASE("zvx.exe ends with the code of the command that closed it, from each focus stop")
{
    // Tabs from the first focus (Exit), then a click on a code, then the key.
    struct Row { const char* name; int tabs; int tabbedTo; const char* code; int focus; WORD key; DWORD exitCode; };
    const Row rows[] = {
        {"Escape", 0, IDCANCEL, nullptr, IDCANCEL, VK_ESCAPE, 2},
        {"Enter on Exit, the first focus", 0, IDCANCEL, nullptr, IDCANCEL, VK_RETURN, 2},
        {"Space on Exit", 0, IDCANCEL, nullptr, IDCANCEL, VK_SPACE, 2},
        {"Enter in a list chosen by a click", 0, IDCANCEL, "ae", IDC_CODE_LIST, VK_RETURN, 1},
        {"Enter in a list reached by Tab over a button", 2, IDC_CODE_LIST, nullptr, IDC_CODE_LIST, VK_RETURN, 1},
        // The visit button had the focus (the default then) and is disabled by the choice.
        {"Enter in a list chosen after the visit button", 4, IDC_VISIT, "bj", IDC_CODE_LIST, VK_RETURN, 1},
    };
    for (const Row& row : rows) {
        const std::string name = row.name;
        CAPTURE(name);
        TestProcess program(testing::ProgramPath());
        REQUIRE(program.Started());
        HWND dialog = program.FindWindowTitled(ZVX_TITLE);
        REQUIRE(dialog != nullptr);
        CHECK(program.WaitIdle());
        // Its manifest makes it per-monitor aware: drawn for the monitor's DPI,
        // never stretched by the system.
        CHECK(WindowAwareness(dialog) == 2);
        testing::Activate(dialog);
        for (int i = 0; i < row.tabs; ++i)
            testing::PressKey(VK_TAB);
        CHECK(testing::WaitUntil(
            [&] { return testing::InputStateOf(dialog).hwndFocus == GetDlgItem(dialog, row.tabbedTo); }));
        if (row.code != nullptr) {
            HWND codes = GetDlgItem(dialog, IDC_CODE_LIST);
            const int index = testing::FindItem(codes, row.code);
            testing::ClickClient(codes, testing::ScrollToItem(codes, index));
            // Chosen, focused and released: the key then goes to the list.
            CHECK(testing::WaitUntil([&] {
                const GUITHREADINFO input = testing::InputStateOf(dialog);
                return input.hwndFocus == codes && input.hwndCapture == nullptr
                       && SendMessageA(codes, LB_GETCURSEL, 0, 0) == index;
            }));
            // The list tells the dialog of the choice only after it lets go of
            // the mouse; a message sent to the dialog is taken once that is done.
            SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
        }
        CHECK(testing::InputStateOf(dialog).hwndFocus == GetDlgItem(dialog, row.focus));
        CHECK(IsWindowEnabled(GetDlgItem(dialog, IDC_VISIT)) == (row.code == nullptr || std::string(row.code) != "bj"));
        testing::PressKey(row.key);
        CHECK(program.WaitExit() == row.exitCode);
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
