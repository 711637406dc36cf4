// Dispatch through message maps, asked directly: no window is needed to see
// which entries run and what the map answers.
#include <doctest.h>

#include <string>

#include "framework/MessageMap.h"
#include "framework/WindowImpl.h"

namespace {

const UINT passThenTake = WM_USER + 1;
const UINT onlyPasses = WM_USER + 2;
const UINT baseMessage = WM_USER + 10;
const UINT afterChain = WM_USER + 12;

class MapBase : public WindowImpl {
public:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<MapBase>;
        static constexpr Map::Entry entries[] = {
            Map::Message(baseMessage, &MapBase::OnBaseDefault),
            Map::AlternateMap(1),
            Map::Message(baseMessage, &MapBase::OnBaseAlternate),
        };
        return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
    }

    LRESULT OnBaseDefault(UINT, WPARAM, LPARAM, BOOL&) { trail += "base0 "; return 100; }
    LRESULT OnBaseAlternate(UINT, WPARAM, LPARAM, BOOL&) { trail += "base1 "; return 101; }

    std::string trail;
};

class MapProbe : public MapBase {
public:
    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        using Map = MessageMap<MapProbe>;
        static constexpr Map::Entry entries[] = {
            Map::Message(passThenTake, &MapProbe::OnPass),
            Map::Message(passThenTake, &MapProbe::OnTake),
            Map::Message(onlyPasses, &MapProbe::OnPass),
            Map::ChainBase<MapBase>(1),
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

    // Asks map mapId and returns whether it handled the message.
    BOOL Ask(UINT message, DWORD mapId = 0)
    {
        trail.clear();
        result = -1;
        return ProcessWindowMessage(nullptr, message, 0, 0, result, mapId);
    }

    LRESULT result = -1;
};

} // namespace

TEST_CASE("a handler that clears the handled flag lets the later entries see the message")
{
    MapProbe map;
    CHECK(map.Ask(passThenTake));
    CHECK(map.trail == "pass take ");
    CHECK(map.result == 2);

    // Nobody keeps it: unhandled, with the last handler's result.
    CHECK_FALSE(map.Ask(onlyPasses));
    CHECK(map.trail == "pass ");
    CHECK(map.result == 1);
}

TEST_CASE("a chain asks the base's map of its own id; alternate maps answer only their own id")
{
    MapProbe map;
    // The base answers from its map 1 only; the entries after the chain are not reached.
    CHECK(map.Ask(baseMessage));
    CHECK(map.trail == "base1 ");
    CHECK(map.result == 101);

    // Declined by the chain: dispatch goes on after them.
    CHECK(map.Ask(afterChain));
    CHECK(map.trail == "after ");

    CHECK(map.Ask(passThenTake, 3));
    CHECK(map.trail == "alt3 ");
    CHECK(map.result == 5);
    CHECK_FALSE(map.Ask(afterChain, 3));
    CHECK_FALSE(map.Ask(passThenTake, 7));
    CHECK(map.trail.empty());
}
