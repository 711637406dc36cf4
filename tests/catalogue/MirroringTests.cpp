#include <doctest.h>

#include "SortedStringList.h"
#include "support/MirroringCases.h"

namespace {

struct SortedLists {
    SortedStringList codes;
    SortedStringList descriptions;

    SortedLists()
    {
        for (const DomainRecord& record : domainTable) {
            codes.AddString(record.code);
            descriptions.AddString(record.description);
        }
    }

    int Count(SortedStringList& list) { return list.GetCount(); }
    void Remove(SortedStringList& list, int index) { REQUIRE(list.DeleteString(index)); }
};

} // namespace

TEST_CASE("selection mirroring between two sorted string lists")
{
    SortedLists lists;
    CheckMirroring(lists);
}
