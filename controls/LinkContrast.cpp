#include "controls/LinkContrast.h"

namespace {

constexpr double minimumContrast = 4.5;

// base (0 to 1) to the power 2.4: its square times the fifth root of its
// square, the root by Newton's method from 1, which lies above it. Ten steps
// reach double precision for every 8-bit channel; twelve are taken. The
// toolchain's pow would add 3 KB to a program whose size is capped.
double Power2_4(double base)
{
    const double square = base * base;
    double root = 1.0;
    for (int step = 0; step < 12; ++step)
        root = (4.0 * root + square / (root * root * root * root)) / 5.0;
    return square * root;
}

// The sRGB transfer undone. The knee (0.04045 here, 0.03928 in older texts)
// falls between two 8-bit steps either way.
double Linear(BYTE channel)
{
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : Power2_4((value + 0.055) / 1.055);
}

double RelativeLuminance(COLORREF colour)
{
    return 0.2126 * Linear(GetRValue(colour)) + 0.7152 * Linear(GetGValue(colour))
           + 0.0722 * Linear(GetBValue(colour));
}

bool IsHighContrastOn()
{
    HIGHCONTRASTA highContrast = {sizeof highContrast, 0, nullptr};
    return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0)
           && (highContrast.dwFlags & HCF_HIGHCONTRASTON);
}

} // namespace

double ContrastRatio(COLORREF first, COLORREF second)
{
    double lighter = RelativeLuminance(first);
    double darker = RelativeLuminance(second);
    if (lighter < darker) {
        const double swapped = lighter;
        lighter = darker;
        darker = swapped;
    }
    return (lighter + 0.05) / (darker + 0.05);
}

COLORREF ReadableLinkColor(COLORREF configured, COLORREF background)
{
    if (!IsHighContrastOn() && ContrastRatio(configured, background) >= minimumContrast)
        return configured;
    // Never taken unchecked: Wine's default scheme pairs a hot-tracking
    // colour of 224,224,224 with a button face of 245,245,245.
    const COLORREF hotTracking = ::GetSysColor(COLOR_HOTLIGHT);
    const double hotContrast = ContrastRatio(hotTracking, background);
    if (hotContrast >= minimumContrast)
        return hotTracking;
    const COLORREF windowText = ::GetSysColor(COLOR_WINDOWTEXT);
    return ContrastRatio(windowText, background) > hotContrast ? windowText : hotTracking;
}
