#include "controls/GreyscaleFilter.h"

GreyscaleFilter::GreyscaleFilter(BOOL useMask, COLORREF mask)
    : ImageFilter(useMask, mask)
{
}

BOOL GreyscaleFilter::Apply(const Pixel* source, int sourceWidth, int sourceHeight,
                            Pixel* destination, int destinationWidth, int destinationHeight) const
{
    return ApplyPerPixel(source, sourceWidth, sourceHeight, destination, destinationWidth, destinationHeight,
                         [](const Pixel& in, Pixel& out) {
                             const BYTE grey = static_cast<BYTE>((3 * in.red + 6 * in.green + in.blue) / 10);
                             out.red = grey;
                             out.green = grey;
                             out.blue = grey;
                             out.reserved = 0;
                         });
}
