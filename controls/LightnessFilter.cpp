#include "controls/LightnessFilter.h"

#include "controls/HlsColour.h"

LightnessFilter::LightnessFilter(BOOL useMask, COLORREF mask, float delta)
    : ImageFilter(useMask, mask), delta(delta)
{
}

BOOL LightnessFilter::Apply(const Pixel* source, int sourceWidth, int sourceHeight,
                            Pixel* destination, int destinationWidth, int destinationHeight) const
{
    // Pictures repeat their colours pixel after pixel: a colour the pixel
    // before had is not converted again. The result depends on the colour
    // alone, so it is the same either way.
    return ApplyPerPixel(source, sourceWidth, sourceHeight, destination, destinationWidth, destinationHeight,
                         [this, known = false, from = Pixel(), to = Pixel()](const Pixel& in, Pixel& out) mutable {
        if (!known || in.red != from.red || in.green != from.green || in.blue != from.blue) {
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
            // A colour whose lightness stayed is written back without a conversion.
            colour.ToRgb();
            from = in;
            to.red = colour.GetRed();
            to.green = colour.GetGreen();
            to.blue = colour.GetBlue();
            known = true;
        }
        // The reserved byte keeps what the buffer was cleared to.
        out.red = to.red;
        out.green = to.green;
        out.blue = to.blue;
    });
}
