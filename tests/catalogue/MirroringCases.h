#pragma once

// The selection-mirroring cases, written once for any list type: the native
// tests run them on SortedStringList, the Windows tests on real list boxes.

#include <doctest.h>

#include <string>
#include <string.h>

#include "catalogue/DomainTable.h"
#include "catalogue/SelectionMirror.h"
#include "catalogue/VisitState.h"

// Plays the dialog: keeps the address and touches the button (counted in
// applies) only when the visit state changes.
struct RecordingHost {
    std::string currentUrl;
    VisitState visit;
    std::string caption = VisitState::availableCaption;
    int enableCalls = 0;
    int applies = 0;

    void SetCurrentUrl(const char* url) { currentUrl = url; }
    void SetVisitEnabled(bool enabled)
    {
        ++enableCalls;
        if (visit.Update(enabled)) {
            ++applies;
            caption = VisitState::Caption(enabled);
        }
    }
};

inline const DomainRecord& RecordOf(const char* code)
{
    for (const DomainRecord& record : domainTable) {
        if (strcmp(record.code, code) == 0)
            return record;
    }
    FAIL("no record for " << code);
    return domainTable[0];
}

// Lists: members codes and descriptions of one List type, both filled from the
// table in table order, and
//   int Count(List&); void Add(List&, const char*); void Remove(List&, int index);
template <class Lists>
class Mirror {
public:
    using List = decltype(Lists::codes);

    explicit Mirror(Lists& lists) : lists(lists) {}

    Lists& lists;
    RecordingHost host;

    void Sync(bool fromDescriptions)
    {
        SyncSelection(lists.codes, lists.descriptions, fromDescriptions, domainTable, domainTableSize, host);
    }

    void Choose(bool fromDescriptions, int index)
    {
        (fromDescriptions ? lists.descriptions : lists.codes).SetCurSel(index);
        Sync(fromDescriptions);
    }

    void ChooseCode(const char* code) { Choose(false, IndexOf(lists.codes, code)); }
    void ChooseDescription(const char* description, int occurrence = 0)
    {
        Choose(true, IndexOf(lists.descriptions, description, occurrence));
    }

    std::string ItemAt(List& list, int index)
    {
        typename List::Text text;
        const char* item = list.ReadText(index, text);
        return item != nullptr ? item : "<unreadable>";
    }

    std::string Selected(List& list)
    {
        const int index = list.GetCurSel();
        return index < 0 ? "<none>" : ItemAt(list, index);
    }

    // Found by reading every item, independently of the prefix search under test.
    int IndexOf(List& list, const char* text, int occurrence = 0)
    {
        const int count = lists.Count(list);
        for (int i = 0; i < count; ++i) {
            if (ItemAt(list, i) == text && occurrence-- == 0)
                return i;
        }
        FAIL("no item " << text);
        return -1;
    }

    void CheckState(const char* code, const char* description, const DomainRecord& applied)
    {
        CHECK(Selected(lists.codes) == code);
        CHECK(Selected(lists.descriptions) == description);
        CHECK(host.currentUrl == applied.registrarUrl);
        CHECK(host.visit.IsEnabled() == (applied.registrarUrl[0] != '\0'));
    }
};

template <class Lists>
void CheckMirroring(Lists& lists)
{
    Mirror<Lists> mirror(lists);
    RecordingHost& host = mirror.host;
    REQUIRE(lists.Count(lists.codes) == domainTableSize);
    REQUIRE(lists.Count(lists.descriptions) == domainTableSize);

    // The dialog's start: the first code in sort order, mirrored.
    mirror.Choose(false, 0);
    mirror.CheckState("ac", "Ascension Island", RecordOf("ac"));
    CHECK(host.enableCalls == 1);
    CHECK(host.applies == 0);

    SUBCASE("a domain without a registrar makes the visit unavailable until one with a registrar")
    {
        mirror.ChooseCode("bj");
        mirror.CheckState("bj", "Benin", RecordOf("bj"));
        CHECK(host.applies == 1);
        CHECK(host.caption == VisitState::unavailableCaption);

        mirror.ChooseCode("bo");
        mirror.CheckState("bo", "Bolivia", RecordOf("bo"));
        CHECK(host.applies == 2);
        CHECK(host.caption == VisitState::availableCaption);
    }

    SUBCASE("the prefix search lands on the exact item, not on a longer one")
    {
        mirror.ChooseCode("ne");
        mirror.CheckState("ne", "Niger", RecordOf("ne"));
        CHECK_FALSE(host.visit.IsEnabled());

        mirror.ChooseDescription("Nigeria");
        mirror.CheckState("ng", "Nigeria", RecordOf("ng"));

        mirror.ChooseCode("co");
        mirror.CheckState("co", "Colombia", RecordOf("co"));
        mirror.ChooseCode("com");
        mirror.CheckState("com", "Commercial", RecordOf("com"));
        mirror.ChooseDescription("Guinea");
        mirror.CheckState("gn", "Guinea", RecordOf("gn"));
        mirror.ChooseDescription("Dominica");
        mirror.CheckState("dm", "Dominica", RecordOf("dm"));
    }

    SUBCASE("every item finds its partner; of two equal descriptions the later record wins")
    {
        for (const DomainRecord& record : domainTable) {
            CAPTURE(record.code);
            mirror.ChooseCode(record.code);
            CHECK(mirror.Selected(lists.codes) == record.code);
            // Equal descriptions: the prefix search stops at the first of them.
            CHECK(lists.descriptions.GetCurSel() == mirror.IndexOf(lists.descriptions, record.description));
            CHECK(host.currentUrl == record.registrarUrl);
        }
        for (int i = 0; i < domainTableSize; ++i) {
            CAPTURE(i);
            mirror.Choose(true, i);
            const std::string description = mirror.Selected(lists.descriptions);
            const DomainRecord* last = nullptr;
            for (const DomainRecord& record : domainTable) {
                if (description == record.description)
                    last = &record;
            }
            REQUIRE(last != nullptr);
            mirror.CheckState(last->code, description.c_str(), *last);
        }
    }

    SUBCASE("both United Kingdom items show uk; gb and uk show the first of them")
    {
        const int first = mirror.IndexOf(lists.descriptions, "United Kingdom");
        const int second = mirror.IndexOf(lists.descriptions, "United Kingdom", 1);
        mirror.Choose(true, second);
        CHECK(mirror.Selected(lists.codes) == "uk");
        mirror.Choose(true, first);
        CHECK(mirror.Selected(lists.codes) == "uk");
        CHECK(host.currentUrl == RecordOf("uk").registrarUrl);

        mirror.ChooseCode("gb");
        CHECK(lists.descriptions.GetCurSel() == first);
        mirror.Choose(true, second);
        mirror.ChooseCode("uk");
        CHECK(lists.descriptions.GetCurSel() == first);
    }

    SUBCASE("moving between domains of one kind leaves the visit button alone")
    {
        mirror.ChooseCode("de");
        mirror.ChooseDescription("France");
        mirror.CheckState("fr", "France", RecordOf("fr"));
        CHECK(host.enableCalls == 3);
        CHECK(host.applies == 0);

        mirror.ChooseCode("bj");
        mirror.ChooseCode("ne");
        CHECK(host.applies == 1);
        CHECK(host.caption == VisitState::unavailableCaption);
    }

    SUBCASE("a registrar reached by mail keeps the visit available")
    {
        mirror.ChooseCode("ci");
        mirror.CheckState("ci", "Cote d'Ivoire", RecordOf("ci"));
        CHECK(host.currentUrl.compare(0, 7, "mailto:") == 0);
        CHECK(host.visit.IsEnabled());
        CHECK(host.applies == 0);
    }

    SUBCASE("nothing changes without a selection")
    {
        mirror.ChooseCode("bj");
        lists.codes.SetCurSel(-1);
        mirror.Sync(false);
        CHECK(mirror.Selected(lists.descriptions) == "Benin");
        lists.descriptions.SetCurSel(-1);
        mirror.Sync(true);
        CHECK(mirror.Selected(lists.codes) == "<none>");
        CHECK(host.currentUrl.empty());
        CHECK(host.enableCalls == 2);
    }

    SUBCASE("an item that no record carries exactly changes nothing")
    {
        for (const char* item : {"zz", "DE"})
            lists.Add(lists.codes, item);
        for (const char* item : {"Atlantis", "germany", "Niger "})
            lists.Add(lists.descriptions, item);

        for (const char* item : {"Atlantis", "germany", "Niger "}) {
            mirror.ChooseDescription(item);
            CHECK(mirror.Selected(lists.codes) == "ac");
        }
        for (const char* item : {"zz", "DE"}) {
            mirror.ChooseCode(item);
            CHECK(mirror.Selected(lists.descriptions) == "Niger ");
        }
        CHECK(host.currentUrl == RecordOf("ac").registrarUrl);
        CHECK(host.enableCalls == 1);
    }

    SUBCASE("a target list without the item stops the scan, keeping what it applied")
    {
        SUBCASE("single match")
        {
            lists.Remove(lists.descriptions, mirror.IndexOf(lists.descriptions, "Benin"));
            mirror.ChooseCode("bj");
            mirror.CheckState("bj", "Ascension Island", RecordOf("ac"));
            CHECK(host.enableCalls == 1);
        }
        SUBCASE("the first of two matches is missing: the second is not tried")
        {
            lists.Remove(lists.codes, mirror.IndexOf(lists.codes, "gb"));
            mirror.ChooseDescription("United Kingdom");
            mirror.CheckState("ac", "United Kingdom", RecordOf("ac"));
        }
        SUBCASE("the second of two matches is missing: the first stays applied")
        {
            lists.Remove(lists.codes, mirror.IndexOf(lists.codes, "uk"));
            mirror.ChooseDescription("United Kingdom");
            mirror.CheckState("gb", "United Kingdom", RecordOf("gb"));
        }
    }
}
