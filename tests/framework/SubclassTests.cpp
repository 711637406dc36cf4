// Subclassing real windows: what reaches the map, what reaches the procedure
// underneath, and how the object lets go of a window that is destroyed.
#include <doctest.h>

#include "support/MapProbe.h"
#include "support/TestWindows.h"

using namespace testing;

namespace {

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
const LONG laterProcedure = reinterpret_cast<LONG>(&LaterSubclassProc);

// A probe control in a host, subclassed by object; the host is destroyed last.
struct Subclassed {
    HWND host = CreateHost(0, 0, 200, 100);
    HWND control = CreateProbeControl(host);
    MapProbe object;
    LONG stub = 0;

    Subclassed()
    {
        REQUIRE(object.SubclassWindow(control));
        stub = ProcedureOf(control);
        probeLog.Reset();
    }
    ~Subclassed() { DestroyWindow(host); }
};

} // namespace

TEST_CASE("a subclassed control's messages go through the map and on to its old procedure")
{
    Subclassed s;
    CHECK(s.object.hWnd == s.control);
    CHECK(s.stub != probeProcedure);
    CHECK(IsExecutable(reinterpret_cast<const void*>(s.stub)));

    CHECK(SendMessageA(s.control, passThenTake, 0, 0) == 2);
    CHECK(probeLog.lastUserMessage == 0);
    // Passed on by its only handler: the old procedure answers.
    CHECK(SendMessageA(s.control, onlyPasses, 0, 0) == 0x1002);

    // Destroyed with its parent: WM_NCDESTROY reaches the old procedure through the stub, once.
    DestroyWindow(s.host);
    CHECK(probeLog.ncDestroys == 1);
    CHECK(probeLog.procedureAtNcDestroy == s.stub);
    CHECK(s.object.hWnd == nullptr);
    CHECK(s.object.finalCalls == 1);
    CHECK(s.object.finalWindow == s.control);
}

// Once a window is gone its procedure cannot be read back, so the putting back
// is watched with a WM_NCDESTROY sent to a live control.
TEST_CASE("at WM_NCDESTROY the old procedure is put back while the object's stub is installed")
{
    Subclassed s;
    SendMessageA(s.control, WM_NCDESTROY, 0, 0);
    CHECK(probeLog.ncDestroys == 1);
    CHECK(ProcedureOf(s.control) == probeProcedure);
    CHECK(s.object.hWnd == nullptr);
    CHECK(s.object.finalCalls == 1);

    // The map would answer 2.
    CHECK(SendMessageA(s.control, passThenTake, 0, 0) == 0x1001);
    DestroyWindow(s.host);
    CHECK(s.object.finalCalls == 1);
}

TEST_CASE("a procedure that subclassed the control later is not cut out of the chain")
{
    Subclassed s;
    laterPrevious = reinterpret_cast<WNDPROC>(SetWindowLongA(s.control, GWL_WNDPROC, laterProcedure));
    REQUIRE(reinterpret_cast<LONG>(laterPrevious) == s.stub);
    laterNcDestroys = 0;

    SUBCASE("on a live control")
    {
        SendMessageA(s.control, WM_NCDESTROY, 0, 0);
        CHECK(laterNcDestroys == 1);
        CHECK(ProcedureOf(s.control) == laterProcedure);
        CHECK(s.object.hWnd == nullptr);
        CHECK(s.object.finalCalls == 1);
        laterMessages = 0;
        SendMessageA(s.control, WM_USER + 9, 0, 0);
        CHECK(laterMessages == 1);
        // Unhooked before the real destruction, which the detached object must not see.
        SetWindowLongA(s.control, GWL_WNDPROC, probeProcedure);
    }
    SUBCASE("when the parent is destroyed")
    {
        DestroyWindow(s.host);
        CHECK(laterNcDestroys == 1);
        CHECK(probeLog.ncDestroys == 1);
        CHECK(procedureAfterOlderNcDestroy == laterProcedure);
        CHECK(s.object.hWnd == nullptr);
        CHECK(s.object.finalCalls == 1);
    }
}

TEST_CASE("a window destroyed inside one of its own messages is let go when that message returns")
{
    Subclassed s;
    CHECK(SendMessageA(s.control, destroySelf, 0, 0) == 5);
    CHECK_FALSE(IsWindow(s.control));
    CHECK(probeLog.ncDestroys == 1);
    CHECK(s.object.windowAfterDestroy == s.control);
    CHECK(s.object.finalCallsAfterDestroy == 0);
    CHECK(s.object.hWnd == nullptr);
    CHECK(s.object.finalCalls == 1);
    CHECK(s.object.finalWindow == s.control);
}
