#pragma once

#include <windows.h>

// One pixel of a 32-bit device-independent bitmap, in its memory order.
// Work buffers hold rows from the top row down, without padding between rows.
struct Pixel {
    BYTE blue = 0;
    BYTE green = 0;
    BYTE red = 0;
    BYTE reserved = 0;
};

static_assert(sizeof(Pixel) == 4, "Pixel must match a 32-bit DIB pixel");
