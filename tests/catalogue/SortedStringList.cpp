#include "SortedStringList.h"

#include <string.h>

namespace {

// ASCII folding is enough: every item is printable ASCII.
unsigned char Fold(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

int CompareIgnoringCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const unsigned char x = Fold(*a);
        const unsigned char y = Fold(*b);
        if (x != y || x == '\0')
            return x < y ? -1 : (x > y ? 1 : 0);
    }
}

bool BeginsWithIgnoringCase(const char* text, const char* prefix)
{
    for (; *prefix != '\0'; ++text, ++prefix) {
        if (Fold(*text) != Fold(*prefix))
            return false;
    }
    return true;
}

} // namespace

int SortedStringList::AddString(const char* item)
{
    int index = 0;
    while (index < GetCount() && CompareIgnoringCase(items[index].c_str(), item) <= 0)
        ++index;
    items.insert(items.begin() + index, item);
    if (selected >= index)
        ++selected;
    return index;
}

bool SortedStringList::DeleteString(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    items.erase(items.begin() + index);
    if (selected == index)
        selected = -1;
    else if (selected > index)
        --selected;
    return true;
}

void SortedStringList::SetCurSel(int index)
{
    if (index == -1 || (index >= 0 && index < GetCount()))
        selected = index;
}

const char* SortedStringList::ReadText(int index, Text& text)
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    const std::string& item = items[index];
    if (item.size() >= sizeof text.buffer)
        return nullptr;
    memcpy(text.buffer, item.c_str(), item.size() + 1);
    return text.buffer;
}

int SortedStringList::FindString(const char* prefix)
{
    for (int index = 0; index < GetCount(); ++index) {
        if (BeginsWithIgnoringCase(items[index].c_str(), prefix))
            return index;
    }
    return -1;
}
