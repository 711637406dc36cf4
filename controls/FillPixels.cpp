#include "controls/FillPixels.h"

#include <string.h>

BOOL FillPixels(Pixel* pixels, int width, int height, COLORREF colour)
{
    if (pixels == nullptr || width < 0 || height < 0)
        return FALSE;
    if (width == 0 || height == 0)
        return TRUE;
    size_t count = 0;
    if (!CountPixels(width, height, count))
        return FALSE;
    const size_t rowLength = static_cast<size_t>(width);
    const size_t rows = static_cast<size_t>(height);

    if (colour == 0xFFFFFF || colour == 0xFFFFFFFF) {
        memset(static_cast<void*>(pixels), 0xFF, count * sizeof(Pixel));
        return TRUE;
    }
    if (colour == 0) {
        memset(static_cast<void*>(pixels), 0, count * sizeof(Pixel));
        return TRUE;
    }

    Pixel first;
    first.red = GetRValue(colour);
    first.green = GetGValue(colour);
    first.blue = GetBValue(colour);
    pixels[0] = first;

    // Doubling block copies: each copy reads only the part already filled, and
    // the last one is cut to what is left, so nothing lands past the end.
    for (size_t filled = 1; filled < rowLength;) {
        const size_t chunk = filled < rowLength - filled ? filled : rowLength - filled;
        memcpy(pixels + filled, pixels, chunk * sizeof(Pixel));
        filled += chunk;
    }
    for (size_t filledRows = 1; filledRows < rows;) {
        const size_t chunk = filledRows < rows - filledRows ? filledRows : rows - filledRows;
        memcpy(pixels + filledRows * rowLength, pixels, chunk * rowLength * sizeof(Pixel));
        filledRows += chunk;
    }
    return TRUE;
}
