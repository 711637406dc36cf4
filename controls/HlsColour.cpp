#include "controls/HlsColour.h"

#include <float.h>

namespace {

// Nearest single-precision values to 1/510 and 1/60; the conversions multiply
// by these rather than divide, and the low bits of the results depend on it.
const float kInverse510 = 0x1.010102p-9f;
const float kInverse60 = 0x1.111112p-6f;

// The conversions form their sums and products in double precision and round
// to single precision where a value is stored. On the x87 unit (the default
// for this 32-bit build) registers carry a 64-bit significand, so a product
// would be rounded twice on its way to a double and could move a truncated
// byte by one. Switching the unit to 53-bit precision makes every step round
// exactly as SSE double arithmetic does; SSE code is not affected by it.
class DoublePrecisionScope {
public:
#if defined(__i386__) || defined(_M_IX86)
    DoublePrecisionScope() : saved(_controlfp(0, 0)) { _controlfp(_PC_53, _MCW_PC); }
    ~DoublePrecisionScope() { _controlfp(saved, _MCW_PC); }
#else
    DoublePrecisionScope() = default;
#endif
    DoublePrecisionScope(const DoublePrecisionScope&) = delete;
    DoublePrecisionScope& operator=(const DoublePrecisionScope&) = delete;

private:
#if defined(__i386__) || defined(_M_IX86)
    unsigned int saved;
#endif
};

// Rounds to single precision through memory: an x87 register would otherwise
// keep the excess precision of the value into the next step.
float StoreSingle(double value)
{
    volatile float stored = static_cast<float>(value);
    return stored;
}

int Largest(int a, int b, int c)
{
    const int ab = a > b ? a : b;
    return ab > c ? ab : c;
}

int Smallest(int a, int b, int c)
{
    const int ab = a < b ? a : b;
    return ab < c ? ab : c;
}

int ComponentFor(float m1, float m2, float hue)
{
    if (hue > 360.0f)
        hue = StoreSingle(static_cast<double>(hue) - 360.0);
    else if (hue < 0.0f)
        hue = StoreSingle(static_cast<double>(hue) + 360.0);

    const double low = m1;
    const double high = m2;
    double value;
    if (hue < 60.0f)
        value = low + (high - low) * static_cast<double>(hue) * kInverse60;
    else if (hue < 180.0f)
        value = high;
    else if (hue < 240.0f)
        value = low + (high - low) * (240.0 - static_cast<double>(hue)) * kInverse60;
    else
        value = low;
    // Truncation toward zero; the caller keeps the low byte.
    return static_cast<int>(value * 255.0);
}

} // namespace

HlsColour::HlsColour(BYTE red, BYTE green, BYTE blue)
    : red(red), green(green), blue(blue), rgbValid(true), hlsValid(false)
{
}

void HlsColour::ToHls()
{
    if (hlsValid)
        return;
    DoublePrecisionScope precision;

    const int mx = Largest(red, green, blue);
    const int mn = Smallest(red, green, blue);
    const int d = mx - mn;
    const int s = mx + mn;

    // The unrounded product decides which saturation formula applies.
    const double exactLightness = static_cast<double>(s) * kInverse510;
    lightness = StoreSingle(exactLightness);

    if (d == 0) {
        saturation = 0.0f;
        hue = 0.0f;
    } else {
        if (exactLightness <= 0.5)
            saturation = StoreSingle(static_cast<double>(d) / s);
        else
            saturation = StoreSingle(static_cast<double>(d) / (510 - s));

        const double inverse = 1.0 / d;
        const double rc = StoreSingle((mx - red) * inverse);
        const double gc = StoreSingle((mx - green) * inverse);
        const double bc = StoreSingle((mx - blue) * inverse);

        // Later matches win, so a tie between maxima resolves to the later one.
        double h = 0.0;
        if (red == mx)
            h = (bc + 6.0 - gc) * 60.0;
        if (green == mx)
            h = (rc + 2.0 - bc) * 60.0;
        if (blue == mx)
            h = (gc + 4.0 - rc) * 60.0;
        float storedHue = StoreSingle(h);
        if (storedHue > 360.0f)
            storedHue = StoreSingle(static_cast<double>(storedHue) - 360.0);
        hue = storedHue;
    }
    hlsValid = true;
}

void HlsColour::ToRgb()
{
    if (rgbValid)
        return;
    DoublePrecisionScope precision;

    if (saturation == 0.0f) {
        const BYTE grey = static_cast<BYTE>(static_cast<int>(static_cast<double>(lightness) * 255.0));
        red = green = blue = grey;
    } else {
        const double l = lightness;
        const double s = saturation;
        const float m2 = lightness <= 0.5f ? StoreSingle(l * (1.0 + s)) : StoreSingle(l + s - l * s);
        const float m1 = StoreSingle(2.0 * l - m2);
        red = static_cast<BYTE>(ComponentFor(m1, m2, StoreSingle(static_cast<double>(hue) + 120.0)));
        green = static_cast<BYTE>(ComponentFor(m1, m2, hue));
        blue = static_cast<BYTE>(ComponentFor(m1, m2, StoreSingle(static_cast<double>(hue) - 120.0)));
    }
    rgbValid = true;
}

void HlsColour::SetLightness(float newLightness)
{
    ToHls();
    lightness = newLightness;
    rgbValid = false;
}

int HlsColour::HueToValue(float m1, float m2, float hue)
{
    DoublePrecisionScope precision;
    return ComponentFor(m1, m2, hue);
}
