#pragma once

#include <stddef.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

// An in-memory stand-in for a sorted, single-selection list box, so that the
// selection mirroring can be exercised without a window system. Items are
// kept in ascending order ignoring case (ASCII folding: every item is
// printable ASCII); an item sorts before every longer item that it begins,
// and equal items keep the order in which they came.
class SortedStringList {
public:
    struct Text {
        char buffer[260];
    };

    // Returns the index at which the item landed.
    int AddString(const char* item)
    {
        const auto at = std::upper_bound(items.begin(), items.end(), std::string(item),
                                         [](const std::string& a, const std::string& b) {
                                             return Compare(a.c_str(), b.c_str(), a.size() + 1) < 0;
                                         });
        const int index = static_cast<int>(at - items.begin());
        items.insert(at, item);
        selected += selected >= index;
        return index;
    }
    // Returns false when index names no item. Like a list box, the selection
    // follows its item and is lost when that item goes.
    bool DeleteString(int index)
    {
        if (!Has(index))
            return false;
        items.erase(items.begin() + index);
        selected = selected == index ? -1 : selected - (selected > index);
        return true;
    }
    int GetCount() const { return static_cast<int>(items.size()); }

    int GetCurSel() { return selected; }
    // -1 clears the selection; any other index outside the list is ignored.
    void SetCurSel(int index)
    {
        if (index == -1 || Has(index))
            selected = index;
    }
    // nullptr when index names no item or the item does not fit text.buffer.
    const char* ReadText(int index, Text& text)
    {
        if (!Has(index) || items[index].size() >= sizeof text.buffer)
            return nullptr;
        return strcpy(text.buffer, items[index].c_str());
    }
    int FindString(const char* prefix)
    {
        for (int index = 0; index < GetCount(); ++index)
            if (Compare(items[index].c_str(), prefix, strlen(prefix)) == 0)
                return index;
        return -1;
    }

private:
    // At most count characters of each, ignoring case; a text ends before any character.
    static int Compare(const char* a, const char* b, size_t count)
    {
        for (; count > 0; ++a, ++b, --count) {
            const int x = Fold(*a), y = Fold(*b);
            if (x != y || x == 0)
                return x - y;
        }
        return 0;
    }
    static int Fold(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : static_cast<unsigned char>(c); }
    bool Has(int index) const { return index >= 0 && index < GetCount(); }

    std::vector<std::string> items;
    int selected = -1;
};
