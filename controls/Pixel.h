#pragma once

#include <windows.h>

#include <limits.h>
#include <stddef.h>

// One pixel of a 32-bit device-independent bitmap, in its memory order.
// Work buffers hold rows from the top row down, without padding between rows.
struct Pixel {
    BYTE blue = 0;
    BYTE green = 0;
    BYTE red = 0;
    BYTE reserved = 0;
};

static_assert(sizeof(Pixel) == 4, "Pixel must match a 32-bit DIB pixel");

// The one size limit of every pixel buffer: count becomes the number of pixels
// of a width x height image. FALSE when a dimension is not positive or the
// image's byte size would not fit an int (and so biSizeImage): no pixel or
// byte count can then wrap.
inline BOOL CountPixels(LONG width, LONG height, size_t& count)
{
    if (width <= 0 || height <= 0 || width > INT_MAX / static_cast<LONG>(sizeof(Pixel)) / height)
        return FALSE;
    count = static_cast<size_t>(width) * static_cast<size_t>(height);
    return TRUE;
}
