#pragma once

#include <string>

#include "framework/MessageMap.h"
#include "framework/Reflection.h"
#include "framework/WindowImpl.h"

namespace testing {

// Messages the probes' maps take; no control of the system's is sent them.
enum ProbeMessage : UINT {
    passThenTake = WM_USER + 1,  // passed on by one handler, taken by the next
    onlyPasses = WM_USER + 2,    // passed on by its only handler
    destroySelf = WM_USER + 3,   // the object destroys its window inside it
    baseMessage = WM_USER + 10,  // answered by the base's maps 0 and 1
    afterChain = WM_USER + 12,   // declined by the chain, taken after it
};

// The base whose maps a MapProbe chains to. trail holds what the handlers
// of both did, in order.
class MapProbeBase : public WindowImpl {
public:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<MapProbeBase>;
        static constexpr Map::Entry entries[] = {
            Map::Message(baseMessage, &MapProbeBase::OnBaseDefault),
            Map::AlternateMap(1),
            Map::Message(baseMessage, &MapProbeBase::OnBaseAlternate),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnBaseDefault(UINT, WPARAM, LPARAM, BOOL&) { trail += "base0 "; return 100; }
    LRESULT OnBaseAlternate(UINT, WPARAM, LPARAM, BOOL&) { trail += "base1 "; return 101; }

    std::string trail;
};

// A window object for the framework's tests: its map asked directly, on a
// subclassed control, and as the control that reflected notifications reach.
class MapProbe : public MapProbeBase {
public:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<MapProbe>;
        static constexpr Map::Entry entries[] = {
            Map::Message(passThenTake, &MapProbe::OnPass),
            Map::Message(passThenTake, &MapProbe::OnTake),
            Map::Message(onlyPasses, &MapProbe::OnPass),
            Map::Message(destroySelf, &MapProbe::OnDestroySelf),
            Map::MessageRange(OCM__BASE, OCM__BASE + WM_USER - 1, &MapProbe::OnReflected),
            Map::ChainBase<MapProbeBase>(1),
            Map::Message(baseMessage, &MapProbe::OnAfterChain),
            Map::Message(afterChain, &MapProbe::OnAfterChain),
            Map::AlternateMap(3),
            Map::Message(passThenTake, &MapProbe::OnAlternate),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnPass(UINT, WPARAM, LPARAM, BOOL& handled) { trail += "pass "; handled = FALSE; return 1; }
    LRESULT OnTake(UINT, WPARAM, LPARAM, BOOL&) { trail += "take "; return 2; }
    LRESULT OnAfterChain(UINT, WPARAM, LPARAM, BOOL&) { trail += "after "; return 4; }
    LRESULT OnAlternate(UINT, WPARAM, LPARAM, BOOL&) { trail += "alt3 "; return 5; }
    LRESULT OnDestroySelf(UINT, WPARAM, LPARAM, BOOL&)
    {
        ::DestroyWindow(hWnd);
        windowAfterDestroy = hWnd;
        finalCallsAfterDestroy = finalCalls;
        return 5;
    }
    LRESULT OnReflected(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        reflected = {reflected.count + 1, message, wParam, lParam};
        return ReflectedAnswer(message);
    }
    static LRESULT ReflectedAnswer(UINT message) { return 0x700 + (message - OCM__BASE); }

    void OnFinalMessage(HWND window) override
    {
        ++finalCalls;
        finalWindow = window;
    }

    // The reflected notifications that reached the object: how many, and the last.
    struct Reflected {
        int count;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } reflected = {};
    int finalCalls = 0;
    HWND finalWindow = nullptr;
    HWND windowAfterDestroy = nullptr;
    int finalCallsAfterDestroy = -1;
};

} // namespace testing
