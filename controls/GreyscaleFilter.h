#pragma once

#include "controls/ImageFilter.h"

// Turns every pixel into the grey (3 red + 6 green + blue) / 10, with the
// reserved byte 0.
class GreyscaleFilter : public ImageFilter {
public:
    GreyscaleFilter(BOOL useMask, COLORREF mask);

    BOOL Apply(const Pixel* source, int sourceWidth, int sourceHeight,
               Pixel* destination, int destinationWidth, int destinationHeight) const override;
};
