#pragma once

#include "controls/ImageFilter.h"

// Adds delta (which may be negative) to every pixel's HLS lightness, clamped
// to 0..1. The reserved byte of a processed pixel is left as the destination
// had it.
class LightnessFilter : public ImageFilter {
public:
    LightnessFilter(BOOL useMask, COLORREF mask, float delta);

    BOOL Apply(const Pixel* source, int sourceWidth, int sourceHeight,
               Pixel* destination, int destinationWidth, int destinationHeight) const override;

private:
    float delta;
};
