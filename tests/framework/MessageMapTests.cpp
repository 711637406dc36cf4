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
const UINT rangeFirst = WM_USER + 20;
const UINT rangeLast = WM_USER + 29;
const UINT helperMessage = WM_USER + 40;

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
            Map::MessageRange(rangeFirst, rangeLast, &MapProbe::OnRange),
            Map::Command(IDOK, BN_CLICKED, &MapProbe::OnBoth),
            Map::CommandId(IDOK, &MapProbe::OnId),
            Map::CommandCode(EN_CHANGE, &MapProbe::OnCode),
            Map::Chain(&MapProbe::Helper, 2),
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
    LRESULT OnRange(UINT message, WPARAM, LPARAM, BOOL&) { lastMessage = message; return 3; }
    LRESULT OnAfterChain(UINT, WPARAM, LPARAM, BOOL&) { trail += "after "; return 4; }
    LRESULT OnAlternate(UINT, WPARAM, LPARAM, BOOL&) { trail += "alt3 "; return 5; }
    LRESULT OnBoth(WORD code, WORD id, HWND control, BOOL&) { return Command("both", code, id, control); }
    LRESULT OnId(WORD code, WORD id, HWND control, BOOL&) { return Command("id", code, id, control); }
    LRESULT OnCode(WORD code, WORD id, HWND control, BOOL&) { return Command("code", code, id, control); }

    static BOOL Helper(MapProbe& self, HWND, UINT message, WPARAM, LPARAM, LRESULT& result, DWORD mapId)
    {
        self.helperMapId = mapId;
        if (message != helperMessage)
            return FALSE;
        result = 300;
        return TRUE;
    }

    LRESULT Command(const char* entry, WORD code, WORD id, HWND control)
    {
        trail += entry;
        lastCode = code;
        lastId = id;
        lastControl = control;
        return 7;
    }

    // Asks map mapId and returns whether it handled the message.
    BOOL Ask(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, DWORD mapId = 0)
    {
        trail.clear();
        result = -1;
        return ProcessWindowMessage(nullptr, message, wParam, lParam, result, mapId);
    }

    LRESULT result = -1;
    UINT lastMessage = 0;
    WORD lastCode = 0;
    WORD lastId = 0;
    HWND lastControl = nullptr;
    DWORD helperMapId = 99;
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

TEST_CASE("a message range includes both of its ends")
{
    MapProbe map;
    CHECK(map.Ask(rangeFirst));
    CHECK(map.lastMessage == rangeFirst);
    CHECK(map.Ask(rangeLast));
    CHECK(map.lastMessage == rangeLast);
    CHECK(map.result == 3);
    CHECK_FALSE(map.Ask(rangeFirst - 1));
    CHECK_FALSE(map.Ask(rangeLast + 1));
}

TEST_CASE("command entries match the control id, the notification code or both")
{
    MapProbe map;
    HWND control = reinterpret_cast<HWND>(0x1234);

    CHECK(map.Ask(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(control)));
    CHECK(map.trail == "both");

    CHECK(map.Ask(WM_COMMAND, MAKEWPARAM(IDOK, BN_SETFOCUS), reinterpret_cast<LPARAM>(control)));
    CHECK(map.trail == "id");
    CHECK(map.lastCode == BN_SETFOCUS);
    CHECK(map.lastId == IDOK);
    CHECK(map.lastControl == control);
    CHECK(map.result == 7);

    CHECK(map.Ask(WM_COMMAND, MAKEWPARAM(1001, EN_CHANGE), 0));
    CHECK(map.trail == "code");
    CHECK(map.lastId == 1001);
    CHECK(map.lastControl == nullptr);

    CHECK_FALSE(map.Ask(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0));
    // The same wParam in another message is no command.
    CHECK_FALSE(map.Ask(WM_NOTIFY, MAKEWPARAM(IDOK, BN_CLICKED), 0));
}

TEST_CASE("chains ask another map with their own map id")
{
    MapProbe map;
    CHECK(map.Ask(helperMessage));
    CHECK(map.helperMapId == 2);
    CHECK(map.result == 300);

    // The base answers from its map 1 only; its default entry stays silent and
    // the entries after the chain are not reached.
    CHECK(map.Ask(baseMessage));
    CHECK(map.trail == "base1 ");
    CHECK(map.result == 101);

    // Declined by both chains: dispatch goes on after them.
    CHECK(map.Ask(afterChain));
    CHECK(map.trail == "after ");
    CHECK(map.result == 4);
}

TEST_CASE("alternate maps answer only their own id")
{
    MapProbe map;
    CHECK(map.Ask(passThenTake, 0, 0, 3));
    CHECK(map.trail == "alt3 ");
    CHECK(map.result == 5);

    CHECK_FALSE(map.Ask(rangeFirst, 0, 0, 3));
    CHECK_FALSE(map.Ask(passThenTake, 0, 0, 7));
    CHECK(map.trail.empty());

    MapBase base;
    LRESULT result = 0;
    CHECK(base.ProcessWindowMessage(nullptr, baseMessage, 0, 0, result, 0));
    CHECK(result == 100);
    CHECK_FALSE(base.ProcessWindowMessage(nullptr, baseMessage, 0, 0, result, 2));
}
