#include "controls/PictureBanner.h"

#include <new>

#include <oleacc.h>

#include "controls/GdiScope.h"
#include "controls/ScalePixels.h"
#include "framework/AppModule.h"
#include "framework/MessageMap.h"

namespace {

// HIMETRIC units (hundredths of a millimetre) in an inch.
constexpr int himetricPerInch = 2540;

// A top-down 32-bit DIB of width x height: rows in Pixel order.
BITMAPINFO TopDownInfo(LONG width, LONG height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

} // namespace

PictureBanner::~PictureBanner()
{
    Clear();
}

BOOL PictureBanner::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result, DWORD mapId)
{
    using Map = MessageMap<PictureBanner>;
    static constexpr Map::Entry entries[] = {
        Map::ChainBase<AccessibleControl>(),
        Map::Message(WM_PAINT, &PictureBanner::OnPaint),
    };
    return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
}

LONG PictureBanner::GetAccessibleRole() const
{
    return ROLE_SYSTEM_GRAPHIC;
}

bool PictureBanner::GetAccessibleName(String& name) const
{
    // A name, not a description: a short line.
    char text[256];
    if (nameId == 0 || LoadStringA(appModule.GetResourceInstance(), nameId, text, sizeof text) <= 0)
        return false;
    name = text;
    return true;
}

BOOL PictureBanner::LoadFromResource(LPCSTR name, LPCSTR type)
{
    HINSTANCE resources = appModule.GetResourceInstance();
    HRSRC found = FindResourceA(resources, name, type);
    if (found == nullptr)
        return FALSE;
    HGLOBAL resource = LoadResource(resources, found);
    if (resource == nullptr)
        return FALSE;

    const DWORD size = SizeofResource(resources, found);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, size);
    if (block == nullptr) {
        FreeResource(resource);
        return FALSE;
    }
    void* copy = GlobalLock(block);
    const void* data = LockResource(resource);
    if (copy == nullptr || data == nullptr) {
        if (copy != nullptr)
            GlobalUnlock(block);
        GlobalFree(block);
        FreeResource(resource);
        return FALSE;
    }
    CopyMemory(copy, data, size);
    FreeResource(resource);
    GlobalUnlock(block);

    const BOOL loaded = LoadFromGlobal(block, static_cast<LONG>(size));
    GlobalFree(block);
    return loaded;
}

BOOL PictureBanner::LoadFromGlobal(HGLOBAL block, LONG byteCount)
{
    Clear();

    IStream* stream = nullptr;
    // FALSE: the stream must not free the block, which stays the caller's.
    if (FAILED(CreateStreamOnHGlobal(block, FALSE, &stream)))
        return FALSE;
    const HRESULT decoded = OleLoadPicture(stream, byteCount, FALSE, IID_IPicture,
                                           reinterpret_cast<void**>(&picture));
    stream->Release();
    if (decoded != S_OK) {
        if (picture != nullptr) {
            picture->Release();
            picture = nullptr;
        }
        return FALSE;
    }

    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    {
        WindowDC screen(hWnd);
        sourceWidth = MulDiv(width, GetDeviceCaps(screen, LOGPIXELSX), himetricPerInch);
        sourceHeight = MulDiv(height, GetDeviceCaps(screen, LOGPIXELSY), himetricPerInch);
    }
    pictureWidth = MulDiv(sourceWidth, scaleNumerator, scaleDenominator);
    pictureHeight = MulDiv(sourceHeight, scaleNumerator, scaleDenominator);
    return CreateSurface(pictureWidth, pictureHeight);
}

BOOL PictureBanner::LoadScaled(LPCSTR name, LPCSTR doubleName, LPCSTR type, int numerator, int denominator)
{
    if (numerator <= 0 || denominator <= 0)
        numerator = denominator = 1;
    if (numerator > denominator && doubleName != nullptr) {
        scaleNumerator = numerator;
        scaleDenominator = 2 * denominator;
        if (LoadFromResource(doubleName, type))
            return TRUE;
    }
    scaleNumerator = numerator;
    scaleDenominator = denominator;
    return LoadFromResource(name, type);
}

BOOL PictureBanner::CreateSurface(int width, int height)
{
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);

    WindowDC screen(hWnd);
    if (screen == nullptr)
        return FALSE;
    surfaceDC = CreateCompatibleDC(screen);
    if (surfaceDC == nullptr)
        return FALSE;
    // Compatible with the screen: a memory DC starts with a 1 x 1 monochrome bitmap.
    surfaceBitmap = CreateCompatibleBitmap(screen, width, height);
    if (surfaceBitmap == nullptr) {
        DeleteDC(surfaceDC);
        surfaceDC = nullptr;
        return FALSE;
    }
    previousBitmap = SelectObject(surfaceDC, surfaceBitmap);
    // Shows only if the picture never gets drawn into the surface.
    const RECT all = {0, 0, width, height};
    FillRect(surfaceDC, &all, reinterpret_cast<HBRUSH>(COLOR_MENU + 1));
    surfaceReady = TRUE;
    return TRUE;
}

BOOL PictureBanner::RenderPicture()
{
    if (!surfaceReady || picture == nullptr)
        return FALSE;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture->get_Width(&width);
    picture->get_Height(&height);
    // HIMETRIC runs upwards: the source starts at the bottom edge with a
    // negative height so that the picture comes out upright.
    if (pictureWidth == sourceWidth && pictureHeight == sourceHeight) {
        if (FAILED(picture->Render(surfaceDC, 0, 0, pictureWidth, pictureHeight, 0, height, width, -height, nullptr)))
            return FALSE;
    } else if (!RenderResized(width, height)) {
        return FALSE;
    }
    InvalidateRect(nullptr, FALSE);
    return TRUE;
}

BOOL PictureBanner::RenderResized(OLE_XSIZE_HIMETRIC width, OLE_YSIZE_HIMETRIC height)
{
    // The picture's own stretching picks pixels; the area filter averages them.
    size_t count = 0;
    if (!CountPixels(pictureWidth, pictureHeight, count))
        return FALSE;
    const BITMAPINFO sourceInfo = TopDownInfo(sourceWidth, sourceHeight);
    void* sourceBits = nullptr;
    HBITMAP drawn = CreateDIBSection(surfaceDC, &sourceInfo, DIB_RGB_COLORS, &sourceBits, nullptr, 0);
    if (drawn == nullptr)
        return FALSE;
    BOOL done = FALSE;
    if (HDC memory = CreateCompatibleDC(surfaceDC)) {
        {
            SelectedObject selected(memory, drawn);
            Pixel* resized = nullptr;
            if (SUCCEEDED(picture->Render(memory, 0, 0, sourceWidth, sourceHeight, 0, height, width, -height, nullptr))
                && GdiFlush() && (resized = new (std::nothrow) Pixel[count]) != nullptr
                && ScalePixels(static_cast<const Pixel*>(sourceBits), sourceWidth, sourceHeight, resized, pictureWidth,
                               pictureHeight)) {
                const BITMAPINFO info = TopDownInfo(pictureWidth, pictureHeight);
                done = SetDIBitsToDevice(surfaceDC, 0, 0, pictureWidth, pictureHeight, 0, 0, 0, pictureHeight, resized,
                                         &info, DIB_RGB_COLORS) != 0;
            }
            delete[] resized;
        }
        DeleteDC(memory);
    }
    DeleteObject(drawn);
    return done;
}

void PictureBanner::Clear()
{
    if (picture != nullptr) {
        picture->Release();
        picture = nullptr;
    }
    if (surfaceDC != nullptr) {
        SelectObject(surfaceDC, previousBitmap);
        if (DeleteDC(surfaceDC))
            surfaceDC = nullptr;
        if (surfaceBitmap != nullptr && DeleteObject(surfaceBitmap))
            surfaceBitmap = nullptr;
        previousBitmap = nullptr;
    }
    pictureWidth = 0;
    pictureHeight = 0;
    sourceWidth = 0;
    sourceHeight = 0;
    surfaceReady = FALSE;
}

LRESULT PictureBanner::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    RECT update;
    if (!GetUpdateRect(&update, FALSE))
        return 0;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(&paint);
    if (dc == nullptr)
        return E_FAIL;
    // Always the whole picture; the paint DC clips it to the update region.
    if (surfaceDC != nullptr)
        BitBlt(dc, 0, 0, pictureWidth, pictureHeight, surfaceDC, 0, 0, SRCCOPY);
    EndPaint(&paint);
    return 0;
}
