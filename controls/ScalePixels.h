#pragma once

#include <windows.h>

#include "controls/Pixel.h"

// Resizes a picture with an area filter: each destination pixel is the
// average of the source area it covers, every source pixel weighted by how
// much of it lies there. Made for shrinking, where every source pixel keeps
// its share and fine detail turns to its average instead of flickering
// between kept and dropped pixels; enlarging with it blends only where a
// destination pixel straddles two source pixels. Equal sizes copy. The
// reserved byte of the result is 0. FALSE for a NULL buffer, a size that is
// not positive or beyond the pixel-buffer limit (CountPixels), a line of more
// than 16,843,009 pixels (whose weighted sums would pass 32 bits), or no
// memory for the work rows and weights.
BOOL ScalePixels(const Pixel* source, int sourceWidth, int sourceHeight, Pixel* destination, int width,
                 int height);
