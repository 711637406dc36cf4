#include "controls/ScalePixels.h"

#include <new>

#include "controls/PixelBuffer.h"

namespace {

// A line of count samples resampled into newCount. On a common axis of
// count x newCount units, source sample i covers [i x newCount, (i + 1) x
// newCount) and destination sample j covers [j x count, (j + 1) x count): the
// weights of one destination sample add up to count. They depend on the two
// lengths alone, so they are worked out once per axis (in 64 bits, which the
// products of long lines need) and every line of that axis reuses them; a
// sample then costs one 32-bit product and sum per source pixel and channel.
class AxisWeights {
public:
    AxisWeights() = default;
    ~AxisWeights()
    {
        delete[] spans;
        delete[] weights;
    }
    AxisWeights(const AxisWeights&) = delete;
    AxisWeights& operator=(const AxisWeights&) = delete;

    // FALSE without memory, or for a line so long that a channel's weighted
    // sum (count x 255) could pass 32 bits.
    BOOL Make(int lineCount, int lineNewCount)
    {
        count = lineCount;
        newCount = lineNewCount;
        if (static_cast<unsigned long long>(count) * 255 + count / 2 > 0xFFFFFFFFull)
            return FALSE;
        // Above 1, where 2^32 itself would not fit.
        if (count > 1 && count < reciprocalLimit)
            reciprocal = 0xFFFFFFFFu / static_cast<unsigned int>(count) + 1;
        // Each destination sample takes its first source sample and one more
        // for every newCount units it reaches beyond: at most count +
        // newCount weights in all.
        spans = new (std::nothrow) Span[newCount];
        weights = new (std::nothrow) unsigned int[static_cast<size_t>(count) + newCount];
        if (spans == nullptr || weights == nullptr)
            return FALSE;
        unsigned int* next = weights;
        for (int j = 0; j < newCount; ++j) {
            const long long start = static_cast<long long>(j) * count;
            const long long end = start + count;
            Span& span = spans[j];
            span.first = static_cast<int>(start / newCount);
            span.weights = next;
            for (long long i = span.first; i < count && i * newCount < end; ++i) {
                const long long from = i * newCount > start ? i * newCount : start;
                const long long to = (i + 1) * newCount < end ? (i + 1) * newCount : end;
                *next++ = static_cast<unsigned int>(to - from);
            }
            span.count = static_cast<int>(next - span.weights);
        }
        return TRUE;
    }

    // Resamples one line, its samples step pixels apart in both buffers.
    void Apply(const Pixel* source, size_t sourceStep, Pixel* destination, size_t destinationStep) const
    {
        const unsigned int half = static_cast<unsigned int>(count) / 2;
        for (int j = 0; j < newCount; ++j) {
            const Span& span = spans[j];
            const Pixel* pixel = source + static_cast<size_t>(span.first) * sourceStep;
            unsigned int blue = 0, green = 0, red = 0;
            for (int k = 0; k < span.count; ++k, pixel += sourceStep) {
                const unsigned int weight = span.weights[k];
                blue += weight * pixel->blue;
                green += weight * pixel->green;
                red += weight * pixel->red;
            }
            Pixel& out = destination[static_cast<size_t>(j) * destinationStep];
            out.blue = static_cast<BYTE>(Divide(blue + half));
            out.green = static_cast<BYTE>(Divide(green + half));
            out.red = static_cast<BYTE>(Divide(red + half));
            out.reserved = 0;
        }
    }

private:
    // A division by count is a product with its reciprocal, m = 2^32 / count
    // rounded up (exactly 2^32 / count for a power of two), taking the high
    // word: for n = q x count + r, n x m / 2^32 lies below q + 1 as long as
    // n < 2^32 / count, which every sum here (at most 256 x count) is when
    // count is below 4096. Longer lines divide.
    static constexpr int reciprocalLimit = 4096;

    unsigned int Divide(unsigned int sum) const
    {
        if (reciprocal == 0)
            return sum / static_cast<unsigned int>(count);
        return static_cast<unsigned int>((static_cast<unsigned long long>(sum) * reciprocal) >> 32);
    }

    struct Span {
        int first;                    // the first source sample
        int count;                    // how many follow it, itself included
        const unsigned int* weights;  // theirs, in order
    };

    int count = 0;
    int newCount = 0;
    unsigned int reciprocal = 0;  // 0: divide
    Span* spans = nullptr;            // owned, one per destination sample
    unsigned int* weights = nullptr;  // owned, all spans' weights
};

} // namespace

BOOL ScalePixels(const Pixel* source, int sourceWidth, int sourceHeight, Pixel* destination, int width, int height)
{
    size_t sourceCount = 0, count = 0;
    if (source == nullptr || destination == nullptr || !CountPixels(sourceWidth, sourceHeight, sourceCount)
        || !CountPixels(width, height, count))
        return FALSE;
    AxisWeights across, down;
    if (!across.Make(sourceWidth, width) || !down.Make(sourceHeight, height))
        return FALSE;
    // The rows at their new width first, then the columns at their new height.
    const PixelBuffer rows(PixelBuffer::Allocate(width, sourceHeight));
    if (rows.Get() == nullptr)
        return FALSE;
    for (int y = 0; y < sourceHeight; ++y)
        across.Apply(source + static_cast<size_t>(y) * sourceWidth, 1, rows.Get() + static_cast<size_t>(y) * width, 1);
    for (int x = 0; x < width; ++x)
        down.Apply(rows.Get() + x, width, destination + x, width);
    return TRUE;
}
