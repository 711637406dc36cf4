#include "controls/FilterBitmap.h"

#include <string.h>

#include "controls/FillPixels.h"
#include "controls/GreyscaleFilter.h"
#include "controls/LightnessFilter.h"
#include "controls/PixelBuffer.h"
#include "framework/GdiScope.h"

namespace {

// The pixels of a width x height image; 0 for a size beyond the pixel-buffer limit.
size_t PixelCount(LONG width, LONG height)
{
    size_t count = 0;
    CountPixels(width, height, count);
    return count;
}

BOOL ReadBitmapSize(HBITMAP handle, SIZE& size)
{
    BITMAP info = {};
    if (handle == NULL || GetObjectA(handle, sizeof(info), &info) != static_cast<int>(sizeof(info)))
        return FALSE;
    size.cx = info.bmWidth;
    size.cy = info.bmHeight;
    return TRUE;
}

} // namespace

FilterBitmap::~FilterBitmap() = default;

void FilterBitmap::Attach(HBITMAP newBitmap)
{
    bitmap.Attach(newBitmap);
}

BOOL FilterBitmap::DeleteBitmap()
{
    return bitmap.Reset();
}

int FilterBitmap::GetInfoHeader(BITMAPINFOHEADER& header, HBITMAP handle) const
{
    SIZE size = {};
    if (!ReadBitmapSize(handle != NULL ? handle : bitmap, size) || PixelCount(size.cx, size.cy) == 0)
        return 0;
    header = BITMAPINFOHEADER();
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = size.cx;
    header.biHeight = -size.cy;  // negative: the first row in memory is the top row
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(size.cx * size.cy * static_cast<LONG>(sizeof(Pixel)));
    return size.cy;
}

Pixel* FilterBitmap::GetPixels(HBITMAP handle) const
{
    if (handle == NULL)
        handle = bitmap;
    BITMAPINFOHEADER header = {};
    const int height = GetInfoHeader(header, handle);
    if (height == 0)
        return nullptr;
    PixelBuffer pixels(PixelBuffer::Allocate(header.biWidth, height));
    if (pixels.Get() == nullptr)
        return nullptr;
    WindowDC screen(NULL);  // the screen DC
    if (screen == NULL)
        return nullptr;
    // A 32-bit BI_RGB request has no colour table, so the header alone is a
    // complete BITMAPINFO. Fewer lines than asked would leave rows unset.
    const int lines = GetDIBits(screen, handle, 0, height, pixels.Get(),
                                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    if (lines != height)
        return nullptr;
    return pixels.Release();
}

BOOL FilterBitmap::ApplyFilters(SimpleArray<ImageFilter*>& filters, HBITMAP from)
{
    if (from == NULL)
        return FALSE;
    const int filterCount = filters.GetSize();
    if (filterCount == 0)
        return TRUE;

    SIZE original = {};
    if (!ReadBitmapSize(from, original) || PixelCount(original.cx, original.cy) == 0)
        return FALSE;

    // The destination is allocated once, at the largest size of the chain.
    SIZE current = original;
    SIZE largest = original;
    for (int i = 0; i < filterCount; ++i) {
        if (filters[i] == nullptr)
            return FALSE;
        SIZE output = {};
        filters[i]->GetOutputSize(output, current.cx, current.cy);
        if (PixelCount(output.cx, output.cy) == 0)
            return FALSE;
        current = output;
        if (current.cx > largest.cx)
            largest.cx = current.cx;
        if (current.cy > largest.cy)
            largest.cy = current.cy;
    }
    if (PixelCount(largest.cx, largest.cy) == 0)
        return FALSE;

    PixelBuffer source(GetPixels(from));
    if (source.Get() == nullptr)
        return FALSE;
    size_t sourceCapacity = PixelCount(original.cx, original.cy);
    PixelBuffer destination(PixelBuffer::Allocate(largest.cx, largest.cy));
    if (destination.Get() == nullptr)
        return FALSE;
    FillPixels(destination.Get(), largest.cx, largest.cy, backgroundColour);

    SIZE input = original;
    for (int i = 0; i < filterCount; ++i) {
        if (i > 0) {
            // The previous output is the next input; the source grows only
            // when an intermediate image is larger than any before it.
            const size_t inputCount = PixelCount(input.cx, input.cy);
            if (inputCount > sourceCapacity) {
                source.Reset(PixelBuffer::Allocate(input.cx, input.cy));
                if (source.Get() == nullptr)
                    return FALSE;
                sourceCapacity = inputCount;
            }
            memcpy(source.Get(), destination.Get(), inputCount * sizeof(Pixel));
            // Only the previous output was written, so clearing its extent
            // leaves the whole destination background again.
            FillPixels(destination.Get(), input.cx, input.cy, backgroundColour);
        }
        SIZE output = {};
        filters[i]->GetOutputSize(output, input.cx, input.cy);
        // The walk above sized the destination; a filter must answer the same.
        if (output.cx <= 0 || output.cy <= 0 || output.cx > largest.cx || output.cy > largest.cy)
            return FALSE;
        if (!filters[i]->Apply(source.Get(), input.cx, input.cy, destination.Get(), output.cx, output.cy))
            return FALSE;
        input = output;
    }

    WindowDC screen(NULL);  // the screen DC
    if (screen == NULL)
        return FALSE;
    OwnedBitmap result(CreateCompatibleBitmap(screen, input.cx, input.cy));
    BITMAPINFOHEADER header = {};
    if (result == NULL || GetInfoHeader(header, result) != input.cy
        || SetDIBits(screen, result, 0, input.cy, destination.Get(), reinterpret_cast<BITMAPINFO*>(&header),
                     DIB_RGB_COLORS) != input.cy)
        return FALSE;
    // An old bitmap that cannot be deleted stays, and the new one goes.
    return bitmap.Attach(result.Detach());
}

BOOL FilterBitmap::MakeNormalImage(COLORREF mask, HBITMAP from)
{
    LightnessFilter lighten(TRUE, mask, 0.04f);
    SimpleArray<ImageFilter*> chain;
    if (!chain.Add(&lighten) || !chain.Add(&lighten))
        return FALSE;
    return ApplyFilters(chain, from);
}

BOOL FilterBitmap::MakeDisabledImage(COLORREF mask, HBITMAP from)
{
    GreyscaleFilter grey(TRUE, mask);
    LightnessFilter lighten(TRUE, mask, 0.08f);
    SimpleArray<ImageFilter*> chain;
    if (!chain.Add(&grey) || !chain.Add(&lighten) || !chain.Add(&lighten) || !chain.Add(&lighten))
        return FALSE;
    return ApplyFilters(chain, from);
}
