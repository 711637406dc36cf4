#pragma once

#include <windows.h>

#include "controls/Pixel.h"

// Fills width x height pixels with a COLORREF colour and writes nothing beyond
// them. White (0xFFFFFF or 0xFFFFFFFF) sets every byte to 0xFF, the reserved
// byte included; any other colour gets a reserved byte of 0. A NULL buffer, a
// negative dimension or a size beyond the pixel-buffer limit (CountPixels) is
// FALSE; a zero dimension fills nothing and is TRUE.
BOOL FillPixels(Pixel* pixels, int width, int height, COLORREF colour);
