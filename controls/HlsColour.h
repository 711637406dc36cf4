#pragma once

#include <windows.h>

// A colour held in both the RGB and the hue-lightness-saturation model; each
// side is recomputed only when the other one has changed. At least one side is
// valid at any time. Hue is in degrees (0 to 360, where 360 itself occurs for
// reds whose green equals their blue); lightness and saturation run from 0 to 1.
class HlsColour {
public:
    // The RGB side is valid; the HLS side is computed on the first ToHls.
    HlsColour(BYTE red, BYTE green, BYTE blue);

    void ToHls();
    void ToRgb();
    // Makes the HLS side current, replaces the lightness and marks RGB stale.
    void SetLightness(float newLightness);

    // Meaningful once ToRgb has run (or while the RGB side is still valid).
    BYTE GetRed() const { return red; }
    BYTE GetGreen() const { return green; }
    BYTE GetBlue() const { return blue; }
    // Meaningful once ToHls has run (or while the HLS side is still valid).
    float GetHue() const { return hue; }
    float GetSaturation() const { return saturation; }
    float GetLightness() const { return lightness; }

    bool IsRgbValid() const { return rgbValid; }
    bool IsHlsValid() const { return hlsValid; }

    // One RGB component, 0 to 255, for a hue in degrees (wrapped once into
    // 0..360) between the two intermediate values m1 and m2.
    static int HueToValue(float m1, float m2, float hue);

private:
    BYTE red = 0;
    BYTE green = 0;
    BYTE blue = 0;
    float hue = 0.0f;
    float saturation = 0.0f;
    float lightness = 0.0f;
    bool rgbValid = true;
    bool hlsValid = false;
};
