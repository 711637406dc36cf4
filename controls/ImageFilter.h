#pragma once

#include <windows.h>

#include "controls/Pixel.h"

// One per-pixel step of a filter chain. A filter keeps no state that changes
// while it runs, so one object may stand several times in a chain. With
// useMask set, pixels of the mask colour (red, green and blue equal; the
// reserved byte is ignored) pass unchanged, which keeps a key colour
// transparent after filtering.
class ImageFilter {
public:
    ImageFilter(BOOL useMask, COLORREF mask);
    virtual ~ImageFilter();

    // The size of the image that Apply makes from an input of the given size.
    // This base and every filter derived here keep the size.
    virtual SIZE& GetOutputSize(SIZE& size, int width, int height) const;

    // Reads sourceWidth x sourceHeight pixels and writes the destination,
    // which the caller sized with GetOutputSize and cleared beforehand.
    // The base copies the pixels unchanged. FALSE leaves the result unusable.
    virtual BOOL Apply(const Pixel* source, int sourceWidth, int sourceHeight,
                       Pixel* destination, int destinationWidth, int destinationHeight) const;

    BOOL IsMaskPixel(const Pixel& pixel) const;

protected:
    // The frame of a same-size, per-pixel filter: checks the sizes, copies
    // mask pixels whole and hands every other pixel to change(in, out).
    template <class Change>
    BOOL ApplyPerPixel(const Pixel* source, int sourceWidth, int sourceHeight, Pixel* destination,
                       int destinationWidth, int destinationHeight, Change change) const
    {
        size_t count = 0;
        if (source == nullptr || destination == nullptr || destinationWidth != sourceWidth
            || destinationHeight != sourceHeight || !CountPixels(sourceWidth, sourceHeight, count))
            return FALSE;
        for (size_t i = 0; i < count; ++i) {
            if (IsMaskPixel(source[i]))
                destination[i] = source[i];
            else
                change(source[i], destination[i]);
        }
        return TRUE;
    }

private:
    BOOL useMask;
    int maskRed;
    int maskGreen;
    int maskBlue;
};
