#pragma once

#include <windows.h>

#include <string>

namespace testing {

// A window's text: a control's caption, a top-level window's title.
std::string WindowText(HWND window);
// The first item with exactly this text; LB_ERR when there is none.
int FindItem(HWND list, const char* text);
// Scrolls the item to the top of the list (as far as the list scrolls) and
// returns its rectangle in the list's client coordinates.
RECT ScrollToItem(HWND list, int index);

} // namespace testing
