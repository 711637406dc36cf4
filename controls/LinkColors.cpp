#include "controls/LinkColors.h"

#include <limits.h>

#include "framework/RegKey.h"

namespace {

bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// atoi's reading, but saturating where atoi would overflow. Stops at the first
// character that is no digit, so at a comma or the terminator at the latest.
int ReadNumber(const char* text)
{
    while (IsBlank(*text))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value <= INT_MAX)
            value = value * 10 + (*text - '0');
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// The first comma at or after text, NULL when the text ends first. CharNextA
// keeps a double-byte character whole and does not step over the terminator.
const char* FindComma(const char* text)
{
    while (*text != '\0' && *text != ',')
        text = ::CharNextA(text);
    return *text == ',' ? text : nullptr;
}

void ReadColorValue(RegKey& key, const char* name, COLORREF& colour)
{
    // Eleven characters and the terminator: "255,255,255". Longer values fail
    // with ERROR_MORE_DATA and are not colours.
    char buffer[12] = {};
    ULONG count = sizeof buffer;
    if (key.QueryStringValue(name, buffer, &count) != ERROR_SUCCESS || count == 0)
        return;
    const COLORREF parsed = ParseColorText(buffer);
    if (parsed != CLR_INVALID)
        colour = parsed;
}

} // namespace

COLORREF ParseColorText(const char* text)
{
    if (text == nullptr)
        return CLR_INVALID;
    int channels[2];
    const char* cursor = text;
    for (int& channel : channels) {
        const char* comma = FindComma(cursor);
        if (comma == nullptr)
            return CLR_INVALID;
        channel = ReadNumber(cursor);
        if (channel == -1)
            return CLR_INVALID;
        cursor = comma + 1;
    }
    if (*cursor == '\0')
        return CLR_INVALID;
    const int blue = ReadNumber(cursor);
    return RGB(static_cast<BYTE>(channels[0]), static_cast<BYTE>(channels[1]), static_cast<BYTE>(blue));
}

void ReadLinkColors(COLORREF& linkColor, COLORREF& visitedColor)
{
    // Read access is all this needs; asking for write access as well would
    // fail for users who may not change the browser's settings, and they would
    // lose their colours.
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Settings", KEY_READ)
        != ERROR_SUCCESS)
        return;
    ReadColorValue(key, "Anchor Color", linkColor);
    ReadColorValue(key, "Anchor Color Visited", visitedColor);
}
