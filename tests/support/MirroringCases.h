#pragma once

// The selection-mirroring cases, written once for any list type: the
// catalogue's tests run them on SortedStringList, the app's on real list boxes.

#include <doctest.h>

#include <string>

#include "catalogue/DomainTable.h"
#include "catalogue/SelectionMirror.h"
#include "catalogue/VisitState.h"
#include "support/RecordOf.h"

// Plays the dialog: keeps the address and touches the button (counted in
// applies) only when the visit state changes.
struct RecordingHost {
    std::string currentUrl;
    VisitState visit;
    int enableCalls = 0;
    int applies = 0;

    void SetCurrentUrl(const char* url) { currentUrl = url; }
    void SetVisitEnabled(bool enabled) { ++enableCalls; applies += visit.Update(enabled) ? 1 : 0; }
};

// Lists: members codes and descriptions of one List type, both filled from the
// table, and int Count(List&); void Remove(List&, int index).
template <class Lists>
struct Mirror {
    using List = decltype(Lists::codes);
    Lists& lists;
    RecordingHost host;

    void Choose(bool fromDescriptions, int index)
    {
        (fromDescriptions ? lists.descriptions : lists.codes).SetCurSel(index);
        SyncSelection(lists.codes, lists.descriptions, fromDescriptions, domainTable, domainTableSize, host);
    }
    void Pick(bool fromDescriptions, const char* text)
    {
        Choose(fromDescriptions, IndexOf(fromDescriptions ? lists.descriptions : lists.codes, text));
    }

    std::string ItemAt(List& list, int index)
    {
        typename List::Text text;
        const char* item = list.ReadText(index, text);
        return item != nullptr ? item : "<unreadable>";
    }
    std::string Selected(List& list) { return list.GetCurSel() < 0 ? "<none>" : ItemAt(list, list.GetCurSel()); }

    // Found by reading every item, independently of the prefix search under test.
    int IndexOf(List& list, const char* text, int occurrence = 0)
    {
        for (int i = 0; i < lists.Count(list); ++i) {
            if (ItemAt(list, i) == text && occurrence-- == 0)
                return i;
        }
        FAIL("no item " << text);
        return -1;
    }

    void CheckState(const char* code, const char* description, const char* appliedCode)
    {
        CHECK(Selected(lists.codes) == code);
        CHECK(Selected(lists.descriptions) == description);
        const char* url = RecordOf(appliedCode).registrarUrl;
        CHECK(host.currentUrl == url);
        CHECK(host.visit.IsEnabled() == (url[0] != '\0'));
    }
};

template <class Lists>
void CheckMirroring(Lists& lists)
{
    Mirror<Lists> mirror{lists, {}};
    REQUIRE(lists.Count(lists.codes) == domainTableSize);
    REQUIRE(lists.Count(lists.descriptions) == domainTableSize);

    // The dialog's start: the first code in sort order, mirrored.
    mirror.Choose(false, 0);
    mirror.CheckState("ac", "Ascension Island", "ac");
    CHECK(mirror.host.enableCalls == 1);
    CHECK(mirror.host.applies == 0);

    SUBCASE("a domain without a registrar makes the visit unavailable until one with a registrar")
    {
        mirror.Pick(false, "bj");
        mirror.CheckState("bj", "Benin", "bj");
        mirror.Pick(false, "bo");
        mirror.CheckState("bo", "Bolivia", "bo");
        CHECK(mirror.host.applies == 2);
    }

    SUBCASE("the search and the comparison land on the exact item, not on a longer one")
    {
        // A description that begins a later record's ("Niger", "Nigeria")
        // must not match that record too.
        const struct { bool fromDescriptions; const char* text; const char* code; const char* description; } picks[] = {
            {false, "ne", "ne", "Niger"},       {true, "Nigeria", "ng", "Nigeria"},
            {true, "Niger", "ne", "Niger"},     {true, "Guinea", "gn", "Guinea"},
            {true, "Dominica", "dm", "Dominica"}, {false, "co", "co", "Colombia"},
            {false, "com", "com", "Commercial"},
        };
        for (const auto& pick : picks) {
            CAPTURE(pick.text);
            mirror.Pick(pick.fromDescriptions, pick.text);
            mirror.CheckState(pick.code, pick.description, pick.code);
        }
    }

    SUBCASE("both United Kingdom items show uk; gb and uk show the first of them")
    {
        const int first = mirror.IndexOf(lists.descriptions, "United Kingdom");
        const int second = mirror.IndexOf(lists.descriptions, "United Kingdom", 1);
        for (int index : {second, first}) {
            mirror.Choose(true, index);
            mirror.CheckState("uk", "United Kingdom", "uk");
        }
        for (const char* code : {"gb", "uk"}) {
            mirror.Choose(true, second);
            mirror.Pick(false, code);
            CHECK(lists.descriptions.GetCurSel() == first);
        }
    }

    SUBCASE("a registrar reached by mail keeps the visit available")
    {
        mirror.Pick(false, "ci");
        mirror.CheckState("ci", "Cote d'Ivoire", "ci");
        CHECK(mirror.host.currentUrl.compare(0, 7, "mailto:") == 0);
        CHECK(mirror.host.applies == 0);
    }

    SUBCASE("nothing changes without a selection")
    {
        mirror.Pick(false, "bj");
        mirror.Choose(false, -1);
        CHECK(mirror.Selected(lists.descriptions) == "Benin");
        mirror.Choose(true, -1);
        CHECK(mirror.Selected(lists.codes) == "<none>");
        CHECK(mirror.host.enableCalls == 2);
    }

    SUBCASE("a target list without the item stops the scan, keeping what it applied")
    {
        SUBCASE("single match")
        {
            lists.Remove(lists.descriptions, mirror.IndexOf(lists.descriptions, "Benin"));
            mirror.Pick(false, "bj");
            mirror.CheckState("bj", "Ascension Island", "ac");
        }
        SUBCASE("the first of two matches is missing: the second is not tried")
        {
            lists.Remove(lists.codes, mirror.IndexOf(lists.codes, "gb"));
            mirror.Pick(true, "United Kingdom");
            mirror.CheckState("ac", "United Kingdom", "ac");
        }
        SUBCASE("the second of two matches is missing: the first stays applied")
        {
            lists.Remove(lists.codes, mirror.IndexOf(lists.codes, "uk"));
            mirror.Pick(true, "United Kingdom");
            mirror.CheckState("gb", "United Kingdom", "gb");
        }
    }
}
