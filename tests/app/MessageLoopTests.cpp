#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/MessageLoop.h"

namespace {

struct CountingIdle : IdleHandler {
    int calls = 0;
    BOOL OnIdle() override
    {
        ++calls;
        return TRUE;  // the loop ignores it
    }
};

struct RecordingFilter : MessageFilter {
    std::vector<std::string>* order;
    std::string name;
    UINT consumes;
    RecordingFilter(std::vector<std::string>* o, const char* n, UINT c) : order(o), name(n), consumes(c) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message >= WM_APP)
            order->push_back(name);
        return msg->message == consumes;
    }
};

int dispatched = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP)
        ++dispatched;
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeTarget()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZvxLoopTarget";
    RegisterClassA(&wc);
    return CreateWindowA("ZvxLoopTarget", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

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
            PostThreadMessageA(threadId, WM_MOUSEMOVE, 0, 0);
            PostThreadMessageA(threadId, WM_PAINT, 0, 0);
            PostThreadMessageA(threadId, 0x0118, 0, 0);
            PostThreadMessageA(threadId, WM_NCMOUSEMOVE, 0, 0);
            CloseHandle(CreateThread(nullptr, 0, PostAppLater, this, 0, nullptr));
            break;
        case 2:
            // A click re-arms; the mouse move after it does not take that back.
            PostThreadMessageA(threadId, WM_LBUTTONDOWN, 0, 0);
            PostThreadMessageA(threadId, WM_MOUSEMOVE, 0, 0);
            break;
        default:
            PostThreadMessageA(threadId, WM_QUIT, 7, 0);
            break;
        }
        return TRUE;  // the loop ignores it
    }
    static DWORD WINAPI PostAppLater(void* param)
    {
        Sleep(300);
        PostThreadMessageA(static_cast<Script*>(param)->threadId, WM_APP, 0, 0);
        return 0;
    }
};

bool IsIdle(UINT message)
{
    const MSG msg = {nullptr, message, 0, 0, 0, {0, 0}};
    return MessageLoop::IsIdleMessage(&msg) != FALSE;
}

} // namespace

TEST_CASE("mouse moves, paints and the system timer do not re-arm idle processing")
{
    CHECK_FALSE(IsIdle(WM_MOUSEMOVE));
    CHECK_FALSE(IsIdle(WM_NCMOUSEMOVE));
    CHECK_FALSE(IsIdle(WM_PAINT));
    CHECK_FALSE(IsIdle(0x0118));
    CHECK(IsIdle(WM_KEYDOWN));
    CHECK(IsIdle(WM_LBUTTONDOWN));

    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before posting
    MessageLoop loop;
    Script script;
    CountingIdle counter;
    loop.AddMessageFilter(&script);
    loop.AddIdleHandler(&script);
    loop.AddIdleHandler(nullptr);  // skipped
    loop.AddIdleHandler(&counter);

    CHECK(loop.Run() == 7);
    CHECK(script.events == std::vector<std::string>{"idle", "200", "f", "118", "a0", "8000", "idle",
                                                    "201", "200", "idle"});
    // Every idle handler runs once per idle pass, in the order added.
    CHECK(counter.calls == 3);
}

TEST_CASE("filters are asked last-registered first and the first to consume stops the rest")
{
    std::vector<std::string> order;
    RecordingFilter early(&order, "early", WM_APP + 1);
    RecordingFilter late(&order, "late", WM_APP + 2);
    MessageLoop loop;
    loop.AddMessageFilter(&early);
    loop.AddMessageFilter(nullptr);  // skipped
    loop.AddMessageFilter(&late);

    HWND target = MakeTarget();
    REQUIRE(target != nullptr);
    dispatched = 0;
    PostMessageA(target, WM_APP + 0, 0, 0);  // nobody consumes: dispatched
    PostMessageA(target, WM_APP + 1, 0, 0);  // early consumes: late asked first, not dispatched
    PostMessageA(target, WM_APP + 2, 0, 0);  // late consumes: early never asked
    PostQuitMessage(3);
    CHECK(loop.Run() == 3);

    CHECK(order == std::vector<std::string>{"late", "early", "late", "early", "late"});
    CHECK(dispatched == 1);
    DestroyWindow(target);
}
