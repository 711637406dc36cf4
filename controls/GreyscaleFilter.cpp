#include "controls/GreyscaleFilter.h"

GreyscaleFilter::GreyscaleFilter(BOOL useMask, COLORREF mask)
    : ImageFilter(useMask, mask)
{
}

BOOL GreyscaleFilter::Apply(const Pixel* source, int sourceWidth, int sourceHeight,
                            Pixel* destination, int destinationWidth, int destinationHeight) const
{
    size_t count = 0;
    if (source == nullptr || destination == nullptr || destinationWidth != sourceWidth
        || destinationHeight != sourceHeight || !CountPixels(sourceWidth, sourceHeight, count))
        return FALSE;

    for (size_t i = 0; i < count; ++i) {
        const Pixel& in = source[i];
        Pixel& out = destination[i];
        if (IsMaskPixel(in)) {
            out = in;
            continue;
        }
        const BYTE grey = static_cast<BYTE>((3 * in.red + 6 * in.green + in.blue) / 10);
        out.red = grey;
        out.green = grey;
        out.blue = grey;
        out.reserved = 0;
    }
    return TRUE;
}
