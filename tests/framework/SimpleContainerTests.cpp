// The growable array and the map of parallel arrays.
#include <doctest.h>

#include <string>

#include "framework/SimpleArray.h"
#include "framework/SimpleMap.h"

TEST_CASE("SimpleArray doubles its capacity from one")
{
    SimpleArray<int> array;
    const int expected[] = {1, 2, 4, 4, 8};
    for (int i = 0; i < 5; ++i) {
        REQUIRE(array.Add(10 * i));
        CHECK(array.GetCapacity() == expected[i]);
    }
    for (int i = 0; i < 5; ++i)
        CHECK(array[i] == 10 * i);
}

TEST_CASE("SimpleMap keeps the order of the remaining pairs")
{
    SimpleMap<DWORD, const char*> map;
    for (DWORD key : {3, 1, 2})
        CHECK(map.Add(key, "first"));
    CHECK(map.Add(1, "again"));

    CHECK(map.Remove(1));
    CHECK(map.GetSize() == 3);
    CHECK(map.GetKeyAt(0) == 3);
    CHECK(map.GetKeyAt(1) == 2);
    CHECK(map.GetKeyAt(2) == 1);
    CHECK(std::string(map.GetValueAt(2)) == "again");
    CHECK_FALSE(map.Remove(9));
}

// Growing moves the storage, so an element passed from the container itself
// must be copied before the old block goes.
TEST_CASE("adding an element taken from the container itself")
{
    SimpleArray<int> array;
    REQUIRE(array.Add(41));
    SimpleMap<int, int> map;
    REQUIRE(map.Add(7, 700));
    for (int i = 0; i < 8; ++i) {
        REQUIRE(array.Add(array[i]));
        REQUIRE(map.Add(map.GetKeyAt(i), map.GetValueAt(i)));
    }
    for (int i = 0; i < 9; ++i) {
        CHECK(array[i] == 41);
        CHECK(map.GetKeyAt(i) == 7);
        CHECK(map.GetValueAt(i) == 700);
    }
}
