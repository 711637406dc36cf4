// Dispatch through message maps, asked directly: no window is needed to see
// which entries run and what the map answers.
#include <doctest.h>

#include "support/MapProbe.h"

using namespace testing;

TEST_CASE("handlers that clear the handled flag pass a message on; a chain asks the base's map of its own id; alternate maps answer only their own id")
{
    struct Row {
        UINT message;
        DWORD mapId;
        BOOL handled;
        const char* trail;
        LRESULT result;  // -1: none stored
    };
    const Row rows[] = {
        {passThenTake, 0, TRUE, "pass take ", 2},
        // Nobody keeps it: unhandled, with the last handler's result.
        {onlyPasses, 0, FALSE, "pass ", 1},
        // The base answers from its map 1 only; the entries after the chain are not reached.
        {baseMessage, 0, TRUE, "base1 ", 101},
        // Declined by the chain: dispatch goes on after it.
        {afterChain, 0, TRUE, "after ", 4},
        {passThenTake, 3, TRUE, "alt3 ", 5},
        {afterChain, 3, FALSE, "", -1},
        {passThenTake, 7, FALSE, "", -1},
    };
    for (const Row& row : rows) {
        CAPTURE(row.message);
        CAPTURE(row.mapId);
        MapProbe map;
        LRESULT result = -1;
        CHECK(map.ProcessWindowMessage(nullptr, row.message, 0, 0, result, row.mapId) == row.handled);
        CHECK(map.trail == row.trail);
        CHECK(result == row.result);
    }
}
