#include "controls/PictureBanner.h"

#include <oleacc.h>

#include "controls/PixelBuffer.h"
#include "controls/ScalePixels.h"
#include "framework/GdiScope.h"
#include "framework/AppModule.h"
#include "framework/DialogDpi.h"
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
        Map::Message(WM_DIALOG_RESCALED, &PictureBanner::OnDialogRescaled),
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
    OwnedResource resource(LoadResource(resources, found));
    if (resource == nullptr)
        return FALSE;

    const DWORD size = SizeofResource(resources, found);
    OwnedGlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_NODISCARD, size));
    if (block == nullptr)
        return FALSE;
    void* copy = GlobalLock(block);
    const void* data = LockResource(resource);
    if (copy == nullptr || data == nullptr) {
        if (copy != nullptr)
            GlobalUnlock(block);
        return FALSE;
    }
    CopyMemory(copy, data, size);
    resource.Reset();
    GlobalUnlock(block);
    // The block is freed when the decoding has ended, whatever its result.
    return LoadFromGlobal(block, static_cast<LONG>(size));
}

BOOL PictureBanner::LoadFromGlobal(HGLOBAL block, LONG byteCount)
{
    Clear();

    ComPtr<IStream> stream;
    // FALSE: the stream must not free the block, which stays the caller's.
    if (FAILED(CreateStreamOnHGlobal(block, FALSE, stream.Receive())))
        return FALSE;
    const HRESULT decoded =
        OleLoadPicture(stream.Get(), byteCount, FALSE, IID_IPicture, reinterpret_cast<void**>(picture.Receive()));
    stream.Reset();
    if (decoded != S_OK) {
        picture.Reset();
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

LRESULT PictureBanner::OnDialogRescaled(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    const DialogScale& scale = *reinterpret_cast<const DialogScale*>(lParam);
    if (shownName != nullptr && LoadScaled(shownName, shownDoubleName, shownType, scale.numerator, scale.denominator))
        RenderPicture();
    return 0;
}

BOOL PictureBanner::LoadScaled(LPCSTR name, LPCSTR doubleName, LPCSTR type, int numerator, int denominator)
{
    shownName = name;
    shownDoubleName = doubleName;
    shownType = type;
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
    if (screen == nullptr || !surfaceDC.Attach(CreateCompatibleDC(screen)) || surfaceDC == nullptr)
        return FALSE;
    // Compatible with the screen: a memory DC starts with a 1 x 1 monochrome bitmap.
    if (!surfaceBitmap.Attach(CreateCompatibleBitmap(screen, width, height)) || surfaceBitmap == nullptr) {
        surfaceDC.Reset();
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
    if (!surfaceReady || !picture)
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
    const BITMAPINFO sourceInfo = TopDownInfo(sourceWidth, sourceHeight);
    void* sourceBits = nullptr;
    const OwnedBitmap drawn(CreateDIBSection(surfaceDC, &sourceInfo, DIB_RGB_COLORS, &sourceBits, nullptr, 0));
    const OwnedMemoryDC memory(CreateCompatibleDC(surfaceDC));
    const PixelBuffer resized(PixelBuffer::Allocate(pictureWidth, pictureHeight));
    if (drawn == nullptr || memory == nullptr || resized.Get() == nullptr)
        return FALSE;
    {
        SelectedObject selected(memory, drawn);
        if (FAILED(picture->Render(memory, 0, 0, sourceWidth, sourceHeight, 0, height, width, -height, nullptr))
            || !GdiFlush())
            return FALSE;
    }
    if (!ScalePixels(static_cast<const Pixel*>(sourceBits), sourceWidth, sourceHeight, resized.Get(), pictureWidth,
                     pictureHeight))
        return FALSE;
    const BITMAPINFO info = TopDownInfo(pictureWidth, pictureHeight);
    return SetDIBitsToDevice(surfaceDC, 0, 0, pictureWidth, pictureHeight, 0, 0, 0, pictureHeight, resized.Get(),
                             &info, DIB_RGB_COLORS) != 0;
}

void PictureBanner::Clear()
{
    picture.Reset();
    if (surfaceDC != nullptr) {
        SelectObject(surfaceDC, previousBitmap);
        previousBitmap = nullptr;
        surfaceDC.Reset();
        surfaceBitmap.Reset();
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
