#pragma once

#include <windows.h>

// Which colour a link is drawn in so that it can be read on its background.
// Contrast is the ratio of the two colours' relative luminances (sRGB
// linearised), (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21
// for black on white. Text wants at least 4.5.

double ContrastRatio(COLORREF first, COLORREF second);

// The configured colour while high contrast is off and it reaches 4.5
// against background. Otherwise the system's hot-tracking colour where that
// reaches 4.5, else whichever of it and the window text colour contrasts
// better. The system is asked at each call: a scheme changed while the
// program runs counts from the next paint on.
COLORREF ReadableLinkColor(COLORREF configured, COLORREF background);
