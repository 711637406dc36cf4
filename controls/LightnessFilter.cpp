#include "controls/LightnessFilter.h"

#include "controls/HlsColour.h"

LightnessFilter::LightnessFilter(BOOL useMask, COLORREF mask, float delta)
    : ImageFilter(useMask, mask), delta(delta)
{
}

BOOL LightnessFilter::Apply(const Pixel* source, int sourceWidth, int sourceHeight,
                            Pixel* destination, int destinationWidth, int destinationHeight) const
{
    return ApplyPerPixel(source, sourceWidth, sourceHeight, destination, destinationWidth, destinationHeight,
                         [this](const Pixel& in, Pixel& out) {
        HlsColour colour(in.red, in.green, in.blue);
        colour.ToHls();
        const float lightness = colour.GetLightness();
        // Both operands are single precision, so their double sum is exact;
        // the float argument is where it is rounded.
        if (delta > 0.0f && lightness < 1.0f) {
            const double raised = static_cast<double>(lightness) + delta;
            colour.SetLightness(static_cast<float>(raised < 1.0 ? raised : 1.0));
        } else if (delta < 0.0f && lightness > 0.0f) {
            const double lowered = static_cast<double>(lightness) + delta;
            colour.SetLightness(static_cast<float>(lowered > 0.0 ? lowered : 0.0));
        }
        // A colour whose lightness stayed is written back without a conversion;
        // the reserved byte keeps what the buffer was cleared to.
        colour.ToRgb();
        out.red = colour.GetRed();
        out.green = colour.GetGreen();
        out.blue = colour.GetBlue();
    });
}
