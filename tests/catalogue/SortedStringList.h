#pragma once

#include <string>
#include <vector>

// An in-memory stand-in for a sorted, single-selection list box, so that the
// selection mirroring can be exercised without a window system. Items are
// kept in ascending order ignoring case; an item sorts before every longer
// item that it begins, and equal items keep the order in which they came.
class SortedStringList {
public:
    struct Text {
        char buffer[260];
    };

    // Returns the index at which the item landed.
    int AddString(const char* item);
    // Returns false when index names no item. Like a list box, the selection
    // follows its item and is lost when that item goes.
    bool DeleteString(int index);
    int GetCount() const { return static_cast<int>(items.size()); }

    int GetCurSel() { return selected; }
    // -1 clears the selection; any other index outside the list is ignored.
    void SetCurSel(int index);
    // nullptr when index names no item or the item does not fit text.buffer.
    const char* ReadText(int index, Text& text);
    int FindString(const char* prefix);

private:
    std::vector<std::string> items;
    int selected = -1;
};
