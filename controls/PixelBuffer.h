#pragma once

#include <new>

#include "controls/Pixel.h"

// One work buffer of pixels, owned (new[]); NULL when it could not be had.
class PixelBuffer {
public:
    explicit PixelBuffer(Pixel* pixels = nullptr) : pixels(pixels) {}
    ~PixelBuffer() { delete[] pixels; }
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    // A buffer of width x height pixels, zero; NULL when the size is beyond
    // the pixel-buffer limit (CountPixels) or memory is short.
    static Pixel* Allocate(LONG width, LONG height)
    {
        size_t count = 0;
        return CountPixels(width, height, count) ? new (std::nothrow) Pixel[count] : nullptr;
    }

    Pixel* Get() const { return pixels; }
    void Reset(Pixel* replacement)
    {
        delete[] pixels;
        pixels = replacement;
    }
    // Hands the buffer over to the caller, who deletes it with delete[].
    Pixel* Release()
    {
        Pixel* released = pixels;
        pixels = nullptr;
        return released;
    }

private:
    Pixel* pixels;
};
