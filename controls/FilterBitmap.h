#pragma once

#include <windows.h>

#include "controls/ImageFilter.h"
#include "controls/Pixel.h"
#include "framework/OwnedHandle.h"
#include "framework/SimpleArray.h"

// Owns one bitmap and replaces it with the result of a chain of per-pixel
// filters. Every operation reports failure as FALSE (or NULL) and then leaves
// the bitmap as it was.
class FilterBitmap {
public:
    FilterBitmap() = default;
    virtual ~FilterBitmap();

    FilterBitmap(const FilterBitmap&) = delete;
    FilterBitmap& operator=(const FilterBitmap&) = delete;

    // Takes ownership of newBitmap; a different bitmap held so far is deleted
    // (when that fails, the old one stays and newBitmap is deleted).
    void Attach(HBITMAP newBitmap);
    // The bitmap, still owned by this object (NULL when empty).
    HBITMAP GetBitmap() const { return bitmap.Get(); }
    // Deletes the bitmap now rather than in the destructor. The handle is
    // cleared only when DeleteObject succeeds; TRUE when nothing is left held.
    BOOL DeleteBitmap();

    // Fills header for a top-down 32-bit image of handle (of the own bitmap
    // when handle is NULL) and returns its height; 0 leaves header untouched.
    int GetInfoHeader(BITMAPINFOHEADER& header, HBITMAP handle = NULL) const;
    // The pixels of handle (of the own bitmap when handle is NULL), top row
    // first, in a buffer the caller releases with delete[]; NULL on failure.
    Pixel* GetPixels(HBITMAP handle = NULL) const;

    // Runs the filters in order over the pixels of from and replaces the own
    // bitmap with the result. from may be the own bitmap; any other stays the
    // caller's and unchanged, so that one loaded bitmap serves several
    // variants. No source (from NULL, as a failed load gives) is FALSE. The
    // filters stay owned by the caller. An empty chain is TRUE and changes
    // nothing.
    BOOL ApplyFilters(SimpleArray<ImageFilter*>& filters, HBITMAP from);

    // Lightness raised twice by 0.04; pixels of mask pass unchanged.
    BOOL MakeNormalImage(COLORREF mask, HBITMAP from);
    // Grey, then lightness raised three times by 0.08; pixels of mask pass unchanged.
    BOOL MakeDisabledImage(COLORREF mask, HBITMAP from);

private:
    OwnedBitmap bitmap;
    COLORREF backgroundColour = 0xFFFFFF;  // what work buffers are cleared to
};
