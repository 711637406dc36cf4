#include "controls/ScalePixels.h"

#include <new>

namespace {

// Resamples one line of count samples (step pixels apart) into newCount
// samples. On a common axis of count x newCount units, source sample i covers
// [i x newCount, (i + 1) x newCount) and destination sample j covers
// [j x count, (j + 1) x count): the weights of one destination sample add up
// to count.
void ResampleLine(const Pixel* source, int sourceStep, int count, Pixel* destination, int destinationStep,
                  int newCount)
{
    for (int j = 0; j < newCount; ++j) {
        const long long start = static_cast<long long>(j) * count;
        const long long end = start + count;
        unsigned long long blue = 0, green = 0, red = 0;
        for (long long i = start / newCount; i < count && i * newCount < end; ++i) {
            const long long from = i * newCount > start ? i * newCount : start;
            const long long to = (i + 1) * newCount < end ? (i + 1) * newCount : end;
            const unsigned long long weight = static_cast<unsigned long long>(to - from);
            const Pixel& pixel = source[i * sourceStep];
            blue += weight * pixel.blue;
            green += weight * pixel.green;
            red += weight * pixel.red;
        }
        Pixel& out = destination[static_cast<long long>(j) * destinationStep];
        const unsigned long long half = static_cast<unsigned long long>(count) / 2;
        out.blue = static_cast<BYTE>((blue + half) / count);
        out.green = static_cast<BYTE>((green + half) / count);
        out.red = static_cast<BYTE>((red + half) / count);
        out.reserved = 0;
    }
}

} // namespace

BOOL ScalePixels(const Pixel* source, int sourceWidth, int sourceHeight, Pixel* destination, int width, int height)
{
    size_t sourceCount = 0, count = 0, rowsCount = 0;
    if (source == nullptr || destination == nullptr || !CountPixels(sourceWidth, sourceHeight, sourceCount)
        || !CountPixels(width, height, count) || !CountPixels(width, sourceHeight, rowsCount))
        return FALSE;
    // The rows at their new width first, then the columns at their new height.
    Pixel* rows = new (std::nothrow) Pixel[rowsCount];
    if (rows == nullptr)
        return FALSE;
    for (int y = 0; y < sourceHeight; ++y)
        ResampleLine(source + static_cast<size_t>(y) * sourceWidth, 1, sourceWidth,
                     rows + static_cast<size_t>(y) * width, 1, width);
    for (int x = 0; x < width; ++x)
        ResampleLine(rows + x, width, sourceHeight, destination + x, width, height);
    delete[] rows;
    return TRUE;
}
