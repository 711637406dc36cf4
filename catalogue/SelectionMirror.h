#pragma once

#include <string.h>

#include "catalogue/DomainRecord.h"

// Keeps the code list and the description list in step.
//
// List: int GetCurSel();                      -1 when nothing is selected
//       const char* ReadText(int index, typename List::Text& text);
//                                             the item's text, held by text
//                                             (up to 259 characters), or
//                                             nullptr when it cannot be read
//       int FindString(const char* prefix);   first item from the top that
//                                             begins with prefix, ignoring
//                                             case; -1 when none does
//       void SetCurSel(int index);            must not notify a selection
//                                             change, or mirroring would recurse
// Host: void SetCurrentUrl(const char* url);
//       void SetVisitEnabled(bool enabled);
//
// Every record whose key equals the selected text exactly is applied in table
// order, so the last match decides (both "United Kingdom" items end on "uk").
// A prefix search lands on the exact item only because the lists are sorted
// and an item sorts before every longer item that it begins ("co" before
// "com"). When the target list lacks a matching record's item the scan stops
// there and whatever earlier matches applied stays.
template <class List, class Host>
void SyncSelection(List& codes, List& descriptions, bool fromDescriptions,
                   const DomainRecord* table, int count, Host& host)
{
    List& source = fromDescriptions ? descriptions : codes;
    List& target = fromDescriptions ? codes : descriptions;

    const int selected = source.GetCurSel();
    if (selected < 0)
        return;

    typename List::Text text;
    const char* selectedText = source.ReadText(selected, text);
    if (selectedText == nullptr)
        return;

    for (int i = 0; i < count; ++i) {
        const DomainRecord& record = table[i];
        const char* key = fromDescriptions ? record.description : record.code;
        if (strcmp(key, selectedText) != 0)
            continue;

        const char* other = fromDescriptions ? record.code : record.description;
        const int found = target.FindString(other);
        if (found < 0)
            return;
        target.SetCurSel(found);
        host.SetCurrentUrl(record.registrarUrl);
        host.SetVisitEnabled(record.registrarUrl[0] != '\0');
    }
}
