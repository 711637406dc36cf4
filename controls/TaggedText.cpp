#include "controls/TaggedText.h"

#include <windows.h>

namespace {

bool IsTagAt(const char* text, int length, int position, const char* tag, int tagLength)
{
    // Compare only where the whole tag fits, so nothing past the end is read.
    return length - position >= tagLength
        && ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text + position, tagLength, tag,
                            tagLength) == CSTR_EQUAL;
}

} // namespace

TaggedParts SplitTaggedText(const char* text)
{
    TaggedParts parts;
    if (text == nullptr)
        return parts;
    const int length = ::lstrlenA(text);
    bool opened = false;
    for (int i = 0; i < length; ++i) {
        if (text[i] != '<')
            continue;
        if (!opened) {
            if (IsTagAt(text, length, i, "<A>", 3)) {
                if (i > 0) {
                    parts.before = text;
                    parts.beforeCount = i;
                }
                parts.link = text + i + 3;
                opened = true;
            }
        } else if (IsTagAt(text, length, i, "</A>", 4)) {
            parts.linkCount = i - parts.beforeCount - 3;
            if (i + 4 < length) {
                parts.after = text + i + 4;
                parts.afterCount = length - i - 4;
            }
            break;
        }
    }
    return parts;
}
