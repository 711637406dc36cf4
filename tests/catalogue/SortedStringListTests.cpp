#include <doctest.h>

#include <string>

#include "catalogue/SortedStringList.h"

namespace {

std::string ItemAt(SortedStringList& list, int index)
{
    SortedStringList::Text text;
    const char* item = list.ReadText(index, text);
    return item != nullptr ? item : "<none>";
}

std::string Items(SortedStringList& list)
{
    std::string all;
    for (int i = 0; i < list.GetCount(); ++i)
        all += (i != 0 ? "|" : "") + ItemAt(list, i);
    return all;
}

} // namespace

TEST_CASE("a sorted string list keeps its items in case-blind order")
{
    SortedStringList list;
    for (const char* item : {"Nigeria", "com", "Niger", "co", "coop", "Colombia", "CO", "Benin"})
        list.AddString(item);
    // Equal items keep their arrival order; an item precedes the longer items it begins.
    CHECK(Items(list) == "Benin|co|CO|Colombia|com|coop|Niger|Nigeria");

    SUBCASE("the search by prefix finds the first item from the top, ignoring case")
    {
        CHECK(list.FindString("co") == 1);
        CHECK(list.FindString("COL") == 3);
        CHECK(list.FindString("nigeria") == 7);
        CHECK(list.FindString("") == 0);
        CHECK(list.FindString("Nigerian") == -1);
        CHECK(list.FindString("z") == -1);
    }

    SUBCASE("the selection follows its item and goes with it")
    {
        CHECK(list.GetCurSel() == -1);
        list.SetCurSel(6);
        list.AddString("Aruba");
        CHECK(list.GetCurSel() == 7);
        CHECK(ItemAt(list, 7) == "Niger");
        list.AddString("Zambia");
        CHECK(list.GetCurSel() == 7);

        CHECK(list.DeleteString(0));
        CHECK(list.GetCurSel() == 6);
        CHECK_FALSE(list.DeleteString(list.GetCount()));
        CHECK(list.DeleteString(6));
        CHECK(list.GetCurSel() == -1);
    }

    SUBCASE("a selection outside the list is ignored, -1 clears it")
    {
        list.SetCurSel(2);
        list.SetCurSel(list.GetCount());
        list.SetCurSel(-7);
        CHECK(list.GetCurSel() == 2);
        list.SetCurSel(-1);
        CHECK(list.GetCurSel() == -1);
    }

    SUBCASE("reading refuses what it cannot hold")
    {
        CHECK(ItemAt(list, -1) == "<none>");
        CHECK(ItemAt(list, list.GetCount()) == "<none>");

        const std::string fits(259, 'x');
        const std::string tooLong(260, 'y');
        CHECK(ItemAt(list, list.AddString(fits.c_str())) == fits);
        CHECK(ItemAt(list, list.AddString(tooLong.c_str())) == "<none>");
    }
}
