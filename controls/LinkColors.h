#pragma once

#include <windows.h>

// The browser's link colours, as the user set them: under HKEY_CURRENT_USER,
// key "Software\Microsoft\Internet Explorer\Settings", the values "Anchor
// Color" and "Anchor Color Visited", each "red,green,blue" in decimal.

// Reads text of the form "red,green,blue". Each number is read as atoi reads
// it (leading blanks, optional sign, digits up to the first other character,
// no digits give 0) and cut to its low 8 bits, so "300,0,0" is red 44.
// CLR_INVALID when a comma is missing, nothing follows the second comma, or
// red or green is -1. Never reads past the terminator; NULL gives CLR_INVALID.
COLORREF ParseColorText(const char* text);

// Replaces each colour whose value is a string (REG_SZ or REG_EXPAND_SZ, taken
// literally) of at most 11 characters with its terminator stored, and parses
// as a colour; the other colour, or both, stay as they were. The key is opened
// for reading only: nothing is written back.
void ReadLinkColors(COLORREF& linkColor, COLORREF& visitedColor);
