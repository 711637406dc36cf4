// Subclassing real windows: what reaches the map, what reaches the procedure
// underneath, and how the object lets go of a window that is destroyed.
#include <doctest.h>

#include <string>

#include "TestWindows.h"
#include "framework/MessageMap.h"
#include "framework/WindowImpl.h"

namespace {

const UINT passThenTake = WM_USER + 1;
const UINT passToDefault = WM_USER + 2;
const UINT destroySelf = WM_USER + 3;
const UINT forwardCurrent = WM_USER + 4;

class Subclasser : public WindowImpl {
public:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<Subclasser>;
        static constexpr Map::Entry entries[] = {
            Map::Message(passThenTake, &Subclasser::OnPass),
            Map::Message(passThenTake, &Subclasser::OnTake),
            Map::Message(passToDefault, &Subclasser::OnPass),
            Map::Message(WM_SETTEXT, &Subclasser::OnPass),
            Map::Message(destroySelf, &Subclasser::OnDestroySelf),
            Map::Message(forwardCurrent, &Subclasser::OnForwardCurrent),
        };
        ++seen;
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnPass(UINT message, WPARAM, LPARAM, BOOL& handled)
    {
        lastPassed = message;
        handled = FALSE;
        return 1;
    }
    LRESULT OnTake(UINT, WPARAM, LPARAM, BOOL&) { return 2; }
    LRESULT OnDestroySelf(UINT, WPARAM, LPARAM, BOOL&)
    {
        ::DestroyWindow(hWnd);
        windowAfterDestroy = hWnd;
        finalCallsAfterDestroy = finalCalls;
        return 5;
    }
    LRESULT OnForwardCurrent(UINT message, WPARAM wParam, LPARAM, BOOL&)
    {
        const MSG* current = GetCurrentMessage();
        currentWasThis = current != nullptr && current->message == message && current->wParam == wParam;
        // Asks the procedure underneath for the answer to another message first;
        // the current message must still be the outer one afterwards.
        DefaultWindowProc(passToDefault, 0, 0);
        return DefaultWindowProc() + 1;
    }

    void OnFinalMessage(HWND window) override
    {
        ++finalCalls;
        finalWindow = window;
    }

    int seen = 0;
    UINT lastPassed = 0;
    int finalCalls = 0;
    HWND finalWindow = nullptr;
    HWND windowAfterDestroy = nullptr;
    int finalCallsAfterDestroy = -1;
    bool currentWasThis = false;
};

// A procedure that subclasses the control after the object did.
WNDPROC laterPrevious = nullptr;
int laterNcDestroys = 0;
int laterMessages = 0;
LONG procedureAfterOlderNcDestroy = 0;

LRESULT CALLBACK LaterSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++laterMessages;
    const LRESULT result = CallWindowProcA(laterPrevious, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ++laterNcDestroys;
        procedureAfterOlderNcDestroy = GetWindowLongA(window, GWL_WNDPROC);
    }
    return result;
}

LONG ProcedureOf(HWND window)
{
    return GetWindowLongA(window, GWL_WNDPROC);
}

const LONG probeProcedure = reinterpret_cast<LONG>(&ProbeControlProc);

} // namespace

TEST_CASE("a subclassed control's messages go through the map and on to its old procedure")
{
    HWND host = CreateHost(0, 0, 200, 100);
    HWND control = CreateProbeControl(host);
    Subclasser object;
    probeLog.Reset();

    REQUIRE(object.SubclassWindow(control));
    CHECK(probeLog.messages == 0);  // attaching sends nothing
    CHECK(object.hWnd == control);
    const LONG installed = ProcedureOf(control);
    CHECK(installed != probeProcedure);
    CHECK(IsExecutable(reinterpret_cast<const void*>(installed)));

    CHECK(SendMessageA(control, passThenTake, 0, 0) == 2);
    CHECK(probeLog.lastUserMessage == 0);

    // Passed on by its only handler: the old procedure answers.
    CHECK(SendMessageA(control, passToDefault, 0, 0) == 0x1002);
    CHECK(probeLog.lastUserMessage == passToDefault);
    CHECK(object.lastPassed == passToDefault);

    CHECK(SendMessageA(control, forwardCurrent, 7, 0) == 0x1004 + 1);
    CHECK(object.currentWasThis);
    CHECK(object.GetCurrentMessage() == nullptr);
    CHECK(object.DefaultWindowProc() == 0);

    DestroyWindow(host);
}

TEST_CASE("destroying the parent hands WM_NCDESTROY to the old procedure and lets go once")
{
    HWND host = CreateHost(0, 0, 200, 100);
    HWND control = CreateProbeControl(host);
    Subclasser object;
    REQUIRE(object.SubclassWindow(control));
    const LONG thunk = ProcedureOf(control);
    probeLog.Reset();

    DestroyWindow(host);
    CHECK(probeLog.ncDestroys == 1);
    CHECK(probeLog.procedureAtNcDestroy == thunk);
    CHECK(object.hWnd == nullptr);
    CHECK(object.finalCalls == 1);
    CHECK(object.finalWindow == control);

    SUBCASE("the object can be attached again, through the same entry stub")
    {
        HWND second = CreateHost(0, 0, 200, 100);
        HWND other = CreateProbeControl(second);
        REQUIRE(object.SubclassWindow(other));
        CHECK(ProcedureOf(other) == thunk);
        CHECK(SendMessageA(other, passThenTake, 0, 0) == 2);
        DestroyWindow(second);
        CHECK(object.hWnd == nullptr);
        CHECK(object.finalCalls == 2);
        CHECK(object.finalWindow == other);
    }
}

// Once a window is gone its procedure cannot be read back, so the putting back
// is watched with a WM_NCDESTROY sent to a live control.
TEST_CASE("at WM_NCDESTROY the old procedure is put back while the object's stub is installed")
{
    HWND host = CreateHost(0, 0, 200, 100);
    HWND control = CreateProbeControl(host);
    Subclasser object;
    REQUIRE(object.SubclassWindow(control));
    probeLog.Reset();

    SendMessageA(control, WM_NCDESTROY, 0, 0);
    CHECK(probeLog.ncDestroys == 1);
    CHECK(ProcedureOf(control) == probeProcedure);
    CHECK(object.hWnd == nullptr);
    CHECK(object.finalCalls == 1);

    const int seen = object.seen;
    CHECK(SendMessageA(control, passThenTake, 0, 0) == 0x1001);
    CHECK(object.seen == seen);

    DestroyWindow(host);
    CHECK(object.finalCalls == 1);
}

TEST_CASE("a procedure that subclassed the control later is not cut out of the chain")
{
    HWND host = CreateHost(0, 0, 200, 100);
    HWND control = CreateProbeControl(host);
    Subclasser object;
    REQUIRE(object.SubclassWindow(control));
    const LONG thunk = ProcedureOf(control);
    laterPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongA(control, GWL_WNDPROC, reinterpret_cast<LONG>(&LaterSubclassProc)));
    REQUIRE(reinterpret_cast<LONG>(laterPrevious) == thunk);
    laterNcDestroys = 0;
    laterMessages = 0;

    SUBCASE("on a live control")
    {
        SendMessageA(control, WM_NCDESTROY, 0, 0);
        CHECK(laterNcDestroys == 1);
        CHECK(ProcedureOf(control) == reinterpret_cast<LONG>(&LaterSubclassProc));
        CHECK(object.hWnd == nullptr);
        CHECK(object.finalCalls == 1);
        laterMessages = 0;
        SendMessageA(control, WM_USER + 9, 0, 0);
        CHECK(laterMessages == 1);
        // Unhook both before the real destruction, which the detached object
        // must not see a second time.
        SetWindowLongA(control, GWL_WNDPROC, probeProcedure);
        DestroyWindow(host);
    }
    SUBCASE("when the parent is destroyed")
    {
        probeLog.Reset();
        DestroyWindow(host);
        CHECK(laterNcDestroys == 1);
        CHECK(probeLog.ncDestroys == 1);
        CHECK(procedureAfterOlderNcDestroy == reinterpret_cast<LONG>(&LaterSubclassProc));
        CHECK(object.hWnd == nullptr);
        CHECK(object.finalCalls == 1);
        CHECK(object.finalWindow == control);
    }
}

TEST_CASE("a window destroyed inside one of its own messages is let go when that message returns")
{
    HWND host = CreateHost(0, 0, 200, 100);
    HWND control = CreateProbeControl(host);
    Subclasser object;
    REQUIRE(object.SubclassWindow(control));
    probeLog.Reset();

    CHECK(SendMessageA(control, destroySelf, 0, 0) == 5);
    CHECK_FALSE(IsWindow(control));
    CHECK(probeLog.ncDestroys == 1);
    CHECK(object.windowAfterDestroy == control);
    CHECK(object.finalCallsAfterDestroy == 0);
    CHECK(object.hWnd == nullptr);
    CHECK(object.finalCalls == 1);
    CHECK(object.finalWindow == control);
    DestroyWindow(host);
}

TEST_CASE("a real control keeps its look when subclassed and still does its own work")
{
    HWND host = CreateHost(0, 0, 200, 100);
    HWND button = CreateChild("BUTTON", host, 20, 30, 90, 24, 101, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, "Press");
    RECT before;
    GetWindowRect(button, &before);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE));
    Subclasser object;
    REQUIRE(object.SubclassWindow(button));

    char text[32] = "";
    GetWindowTextA(button, text, sizeof text);
    CHECK(std::string(text) == "Press");
    RECT after;
    GetWindowRect(button, &after);
    CHECK(EqualRect(&before, &after));
    CHECK(static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)) == style);

    SetWindowTextA(button, "Other");
    CHECK(object.lastPassed == WM_SETTEXT);
    GetWindowTextA(button, text, sizeof text);
    CHECK(std::string(text) == "Other");

    DestroyWindow(host);
    CHECK(object.hWnd == nullptr);
    CHECK(object.finalCalls == 1);
    CHECK(object.finalWindow == button);
}

TEST_CASE("SubclassWindow on a handle that is no window fails and leaves the object detached")
{
    Subclasser object;
    CHECK_FALSE(object.SubclassWindow(nullptr));
    CHECK(object.hWnd == nullptr);

    HWND gone = CreateHost(0, 0, 50, 50);
    DestroyWindow(gone);
    CHECK_FALSE(object.SubclassWindow(gone));
    CHECK(object.hWnd == nullptr);
}
