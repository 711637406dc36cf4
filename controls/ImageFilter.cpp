#include "controls/ImageFilter.h"

#include <string.h>

ImageFilter::ImageFilter(BOOL useMask, COLORREF mask)
    : useMask(useMask), maskRed(GetRValue(mask)), maskGreen(GetGValue(mask)), maskBlue(GetBValue(mask))
{
}

ImageFilter::~ImageFilter() = default;

SIZE& ImageFilter::GetOutputSize(SIZE& size, int width, int height) const
{
    size.cx = width;
    size.cy = height;
    return size;
}

BOOL ImageFilter::Apply(const Pixel* source, int sourceWidth, int sourceHeight,
                        Pixel* destination, int destinationWidth, int destinationHeight) const
{
    size_t count = 0;
    size_t sourceCount = 0;
    if (source == nullptr || destination == nullptr || !CountPixels(destinationWidth, destinationHeight, count)
        || !CountPixels(sourceWidth, sourceHeight, sourceCount))
        return FALSE;
    // The copy is sized by the destination; it must not read past the source.
    if (count > sourceCount)
        return FALSE;
    memcpy(destination, source, count * sizeof(Pixel));
    return TRUE;
}

BOOL ImageFilter::IsMaskPixel(const Pixel& pixel) const
{
    return useMask && pixel.red == maskRed && pixel.green == maskGreen && pixel.blue == maskBlue;
}
