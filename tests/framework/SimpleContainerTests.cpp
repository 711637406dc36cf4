// The growable array and the map of parallel arrays.
#include <doctest.h>

#include <string>

#include "framework/SimpleArray.h"
#include "framework/SimpleMap.h"

TEST_CASE("SimpleArray doubles its capacity from one")
{
    SimpleArray<int> array;
    CHECK(array.GetCapacity() == 0);
    int capacities[5] = {};
    for (int i = 0; i < 5; ++i) {
        REQUIRE(array.Add(10 * i));
        capacities[i] = array.GetCapacity();
    }
    // Grown when adding the 1st, 2nd, 3rd and 5th element.
    CHECK(capacities[0] == 1);
    CHECK(capacities[1] == 2);
    CHECK(capacities[2] == 4);
    CHECK(capacities[3] == 4);
    CHECK(capacities[4] == 8);
    CHECK(array.GetSize() == 5);
    for (int i = 0; i < 5; ++i)
        CHECK(array[i] == 10 * i);

    array.RemoveAll();
    CHECK(array.GetSize() == 0);
    CHECK(array.GetCapacity() == 0);
    CHECK(array.Add(7));
    CHECK(array.GetCapacity() == 1);
}

TEST_CASE("SimpleMap keeps the order of the remaining pairs")
{
    SimpleMap<DWORD, const char*> map;
    CHECK(map.Add(3, "three"));
    CHECK(map.Add(1, "one"));
    CHECK(map.Add(2, "two"));
    CHECK(map.Add(1, "one again"));

    CHECK(map.FindKey(1) == 1);
    CHECK(map.Remove(1));
    CHECK(map.GetSize() == 3);
    CHECK(map.GetKeyAt(0) == 3);
    CHECK(map.GetKeyAt(1) == 2);
    CHECK(map.GetKeyAt(2) == 1);
    CHECK(std::string(map.GetValueAt(2)) == "one again");
    CHECK(std::string(map.Lookup(2)) == "two");

    CHECK_FALSE(map.Remove(9));
    CHECK(map.GetSize() == 3);
    CHECK(map.Lookup(9) == nullptr);
    CHECK(map.FindKey(9) == -1);
}

TEST_CASE("SimpleMap removing its only pair leaves it empty")
{
    SimpleMap<int, int> map;
    CHECK(map.Lookup(5) == 0);
    CHECK_FALSE(map.Remove(5));
    CHECK(map.Add(5, 50));
    CHECK(map.Remove(5));
    CHECK(map.GetSize() == 0);
    CHECK(map.FindKey(5) == -1);
    CHECK(map.Lookup(5) == 0);
    CHECK(map.Add(6, 60));
    CHECK(map.Lookup(6) == 60);
}

// Growing moves the storage, so an element passed from the container itself
// must be copied before the old block goes.
TEST_CASE("adding an element taken from the container itself")
{
    SimpleArray<int> array;
    REQUIRE(array.Add(41));
    for (int i = 0; i < 8; ++i)
        REQUIRE(array.Add(array[i]));
    for (int i = 0; i < array.GetSize(); ++i)
        CHECK(array[i] == 41);

    SimpleMap<int, int> map;
    REQUIRE(map.Add(7, 700));
    for (int i = 0; i < 8; ++i)
        REQUIRE(map.Add(map.GetKeyAt(i), map.GetValueAt(i)));
    for (int i = 0; i < map.GetSize(); ++i) {
        CHECK(map.GetKeyAt(i) == 7);
        CHECK(map.GetValueAt(i) == 700);
    }
}
