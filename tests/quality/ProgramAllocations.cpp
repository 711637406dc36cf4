// The counting hooks. Every hook here is the list: CountedProgram.cmake
// renames a reference of the program's code to a function only when this file
// has a hook for it, and its seam test fails when the program calls an
// allocating function that has none.
//
// Two shapes of hook, told apart by their symbol names:
// - zvxImport_NAME: a pointer that stands in for the import slot of the
//   Windows function NAME (__imp__NAME@N), which the program calls through;
// - zvxDirect_SYMBOL: a function that stands in for a runtime function that
//   the program calls directly (malloc, operator delete).
// The hooks call the real functions and count what those did; they are
// called on the program's one thread only.
#include "quality/ProgramAllocations.h"

#include <windows.h>
#include <commctrl.h>

#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>

#include <new>

namespace {

using Kind = ProgramAllocations::Kind;

ProgramAllocations::Snapshot live = {};

void Add(Kind kind, long long count, long long bytes)
{
    live.count[kind] += count;
    live.bytes[kind] += bytes;
    live.made[kind] += count > 0 ? count : 0;
}

const char* const kindNames[ProgramAllocations::kindCount] = {
    "C heap blocks", "HeapAlloc blocks", "GlobalAlloc blocks", "LocalAlloc blocks", "heaps",
    "GDI objects", "memory DCs", "window DCs", "paints begun", "icons and cursors", "image lists",
};

} // namespace

ProgramAllocations::Snapshot ProgramAllocations::Take()
{
    return live;
}

long long ProgramAllocations::Made(const Snapshot& before, const Snapshot& after)
{
    long long made = 0;
    for (int kind = 0; kind < kindCount; ++kind)
        made += after.made[kind] - before.made[kind];
    return made;
}

std::string ProgramAllocations::Growth(const Snapshot& before, const Snapshot& after)
{
    std::string growth;
    for (int kind = 0; kind < kindCount; ++kind) {
        const long long count = after.count[kind] - before.count[kind];
        const long long bytes = after.bytes[kind] - before.bytes[kind];
        if (count == 0 && bytes == 0)
            continue;
        char part[96];
        if (bytes != 0)
            snprintf(part, sizeof part, "%s %+lld, %+lld bytes", kindNames[kind], count, bytes);
        else
            snprintf(part, sizeof part, "%s %+lld", kindNames[kind], count);
        growth += (growth.empty() ? "" : "; ") + std::string(part);
    }
    return growth;
}

// The stand-in for an import slot: the program's "call [slot]" reaches the hook.
#define ZVX_IMPORT_SLOT(name) decltype(&::name) zvxImport_##name asm("_zvxImport_" #name) = Counted##name;

// A function that returns a new object of the kind, or NULL.
#define ZVX_MAKER(kind, Ret, name, params, args)                                                       \
    namespace {                                                                                        \
    Ret WINAPI Counted##name params                                                                    \
    {                                                                                                  \
        const Ret made = ::name args;                                                                  \
        if (made != nullptr)                                                                           \
            Add(ProgramAllocations::kind, 1, 0);                                                       \
        return made;                                                                                   \
    }                                                                                                  \
    }                                                                                                  \
    ZVX_IMPORT_SLOT(name)

// A function that releases one object of the kind and says whether it did.
#define ZVX_RELEASER(kind, name, Handle)                                                               \
    namespace {                                                                                        \
    BOOL WINAPI Counted##name(Handle object)                                                           \
    {                                                                                                  \
        const BOOL released = ::name(object);                                                          \
        if (released)                                                                                  \
            Add(ProgramAllocations::kind, -1, 0);                                                      \
        return released;                                                                               \
    }                                                                                                  \
    }                                                                                                  \
    ZVX_IMPORT_SLOT(name)

// ---- GDI objects --------------------------------------------------------------
ZVX_MAKER(gdiObjects, HBRUSH, CreateSolidBrush, (COLORREF colour), (colour))
ZVX_MAKER(gdiObjects, HBRUSH, CreateBrushIndirect, (const LOGBRUSH* brush), (brush))
ZVX_MAKER(gdiObjects, HBRUSH, CreateHatchBrush, (int hatch, COLORREF colour), (hatch, colour))
ZVX_MAKER(gdiObjects, HBRUSH, CreatePatternBrush, (HBITMAP bitmap), (bitmap))
ZVX_MAKER(gdiObjects, HPEN, CreatePen, (int style, int width, COLORREF colour), (style, width, colour))
ZVX_MAKER(gdiObjects, HPEN, CreatePenIndirect, (const LOGPEN* pen), (pen))
ZVX_MAKER(gdiObjects, HFONT, CreateFontIndirectA, (const LOGFONTA* font), (font))
ZVX_MAKER(gdiObjects, HFONT, CreateFontA,
          (int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
           DWORD strikeOut, DWORD charSet, DWORD precision, DWORD clipPrecision, DWORD quality, DWORD pitch,
           LPCSTR face),
          (height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet, precision,
           clipPrecision, quality, pitch, face))
ZVX_MAKER(gdiObjects, HBITMAP, CreateCompatibleBitmap, (HDC dc, int width, int height), (dc, width, height))
ZVX_MAKER(gdiObjects, HBITMAP, CreateBitmap, (int width, int height, UINT planes, UINT bits, const void* data),
          (width, height, planes, bits, data))
ZVX_MAKER(gdiObjects, HBITMAP, CreateBitmapIndirect, (const BITMAP* bitmap), (bitmap))
ZVX_MAKER(gdiObjects, HBITMAP, CreateDIBitmap,
          (HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info, UINT usage),
          (dc, header, init, bits, info, usage))
ZVX_MAKER(gdiObjects, HBITMAP, CreateDIBSection,
          (HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset),
          (dc, info, usage, bits, section, offset))
ZVX_MAKER(gdiObjects, HBITMAP, LoadBitmapA, (HINSTANCE module, LPCSTR name), (module, name))
ZVX_MAKER(gdiObjects, HRGN, CreateRectRgn, (int left, int top, int right, int bottom), (left, top, right, bottom))
ZVX_MAKER(gdiObjects, HRGN, CreateRectRgnIndirect, (const RECT* rect), (rect))
ZVX_MAKER(gdiObjects, HRGN, CreateRoundRectRgn, (int left, int top, int right, int bottom, int width, int height),
          (left, top, right, bottom, width, height))
ZVX_MAKER(gdiObjects, HRGN, CreateEllipticRgn, (int left, int top, int right, int bottom),
          (left, top, right, bottom))
ZVX_MAKER(gdiObjects, HPALETTE, CreateHalftonePalette, (HDC dc), (dc))
ZVX_RELEASER(gdiObjects, DeleteObject, HGDIOBJ)

// ---- device contexts ------------------------------------------------------------
ZVX_MAKER(memoryDCs, HDC, CreateCompatibleDC, (HDC dc), (dc))
ZVX_MAKER(memoryDCs, HDC, CreateDCA, (LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode),
          (driver, device, port, mode))
ZVX_RELEASER(memoryDCs, DeleteDC, HDC)
ZVX_MAKER(windowDCs, HDC, GetDC, (HWND window), (window))
ZVX_MAKER(windowDCs, HDC, GetWindowDC, (HWND window), (window))
ZVX_MAKER(windowDCs, HDC, GetDCEx, (HWND window, HRGN clip, DWORD flags), (window, clip, flags))

namespace {

int WINAPI CountedReleaseDC(HWND window, HDC dc)
{
    const int released = ::ReleaseDC(window, dc);
    if (released)
        Add(ProgramAllocations::windowDCs, -1, 0);
    return released;
}

// Every BeginPaint, failed or not, wants its EndPaint.
HDC WINAPI CountedBeginPaint(HWND window, LPPAINTSTRUCT paint)
{
    Add(ProgramAllocations::paints, 1, 0);
    return ::BeginPaint(window, paint);
}

BOOL WINAPI CountedEndPaint(HWND window, const PAINTSTRUCT* paint)
{
    Add(ProgramAllocations::paints, -1, 0);
    return ::EndPaint(window, paint);
}

} // namespace
ZVX_IMPORT_SLOT(ReleaseDC)
ZVX_IMPORT_SLOT(BeginPaint)
ZVX_IMPORT_SLOT(EndPaint)

// ---- icons, cursors and images ---------------------------------------------------
namespace {

Kind ImageKind(UINT type)
{
    return type == IMAGE_BITMAP ? ProgramAllocations::gdiObjects : ProgramAllocations::icons;
}

// A shared image belongs to the system, which frees it; the program must not.
HANDLE WINAPI CountedLoadImageA(HINSTANCE module, LPCSTR name, UINT type, int width, int height, UINT flags)
{
    const HANDLE image = ::LoadImageA(module, name, type, width, height, flags);
    if (image != nullptr && !(flags & LR_SHARED))
        Add(ImageKind(type), 1, 0);
    return image;
}

HANDLE WINAPI CountedCopyImage(HANDLE original, UINT type, int width, int height, UINT flags)
{
    const HANDLE copy = ::CopyImage(original, type, width, height, flags);
    if (copy != nullptr)
        Add(ImageKind(type), (flags & LR_COPYDELETEORG) && copy != original ? 0 : 1, 0);
    return copy;
}

} // namespace
ZVX_IMPORT_SLOT(LoadImageA)
ZVX_IMPORT_SLOT(CopyImage)
ZVX_MAKER(icons, HICON, CreateIconIndirect, (PICONINFO info), (info))
ZVX_RELEASER(icons, DestroyIcon, HICON)
ZVX_RELEASER(icons, DestroyCursor, HCURSOR)

ZVX_MAKER(imageLists, HIMAGELIST, ImageList_Create, (int width, int height, UINT flags, int initial, int grow),
          (width, height, flags, initial, grow))
ZVX_MAKER(imageLists, HIMAGELIST, ImageList_Duplicate, (HIMAGELIST list), (list))
ZVX_MAKER(imageLists, HIMAGELIST, ImageList_Merge,
          (HIMAGELIST first, int firstIndex, HIMAGELIST second, int secondIndex, int dx, int dy),
          (first, firstIndex, second, secondIndex, dx, dy))
ZVX_RELEASER(imageLists, ImageList_Destroy, HIMAGELIST)

// ---- memory of the Windows heaps -------------------------------------------------
ZVX_MAKER(heaps, HANDLE, HeapCreate, (DWORD options, SIZE_T initial, SIZE_T maximum), (options, initial, maximum))
ZVX_RELEASER(heaps, HeapDestroy, HANDLE)

namespace {

long long HeapBlockSize(HANDLE heap, LPCVOID block)
{
    const SIZE_T size = block != nullptr ? ::HeapSize(heap, 0, block) : 0;
    return size == static_cast<SIZE_T>(-1) ? 0 : static_cast<long long>(size);
}

LPVOID WINAPI CountedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size)
{
    const LPVOID block = ::HeapAlloc(heap, flags, size);
    if (block != nullptr)
        Add(ProgramAllocations::processHeap, 1, HeapBlockSize(heap, block));
    return block;
}

LPVOID WINAPI CountedHeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T size)
{
    const long long before = HeapBlockSize(heap, block);
    const LPVOID moved = ::HeapReAlloc(heap, flags, block, size);
    if (moved != nullptr)
        Add(ProgramAllocations::processHeap, 0, HeapBlockSize(heap, moved) - before);
    return moved;
}

BOOL WINAPI CountedHeapFree(HANDLE heap, DWORD flags, LPVOID block)
{
    const long long size = HeapBlockSize(heap, block);
    const BOOL freed = ::HeapFree(heap, flags, block);
    if (freed && block != nullptr)
        Add(ProgramAllocations::processHeap, -1, -size);
    return freed;
}

// Global and local memory: the same shape twice, with NULL from the release
// meaning success.
#define ZVX_HANDLE_MEMORY(kind, Handle, Alloc, ReAlloc, Free, Size)                                     \
    Handle WINAPI Counted##Alloc(UINT flags, SIZE_T size)                                             \
    {                                                                                                  \
        const Handle block = ::Alloc(flags, size);                                                     \
        if (block != nullptr)                                                                          \
            Add(ProgramAllocations::kind, 1, static_cast<long long>(::Size(block)));                  \
        return block;                                                                                  \
    }                                                                                                  \
    Handle WINAPI Counted##ReAlloc(Handle block, SIZE_T size, UINT flags)                             \
    {                                                                                                  \
        const long long before = static_cast<long long>(::Size(block));                               \
        const Handle moved = ::ReAlloc(block, size, flags);                                           \
        if (moved != nullptr)                                                                          \
            Add(ProgramAllocations::kind, 0, static_cast<long long>(::Size(moved)) - before);         \
        return moved;                                                                                  \
    }                                                                                                  \
    Handle WINAPI Counted##Free(Handle block)                                                          \
    {                                                                                                  \
        const long long size = block != nullptr ? static_cast<long long>(::Size(block)) : 0;          \
        const Handle kept = ::Free(block);                                                             \
        if (kept == nullptr && block != nullptr)                                                       \
            Add(ProgramAllocations::kind, -1, -size);                                                  \
        return kept;                                                                                   \
    }

ZVX_HANDLE_MEMORY(globalMemory, HGLOBAL, GlobalAlloc, GlobalReAlloc, GlobalFree, GlobalSize)
ZVX_HANDLE_MEMORY(localMemory, HLOCAL, LocalAlloc, LocalReAlloc, LocalFree, LocalSize)

} // namespace
ZVX_IMPORT_SLOT(HeapAlloc)
ZVX_IMPORT_SLOT(HeapReAlloc)
ZVX_IMPORT_SLOT(HeapFree)
ZVX_IMPORT_SLOT(GlobalAlloc)
ZVX_IMPORT_SLOT(GlobalReAlloc)
ZVX_IMPORT_SLOT(GlobalFree)
ZVX_IMPORT_SLOT(LocalAlloc)
ZVX_IMPORT_SLOT(LocalReAlloc)
ZVX_IMPORT_SLOT(LocalFree)

// ---- the C heap: the runtime's functions and the C++ operators ---------------------
// Sizes as the C heap reports them (_msize), on the way in and on the way out.
namespace {

void CountIn(void* block)
{
    if (block != nullptr)
        Add(ProgramAllocations::cHeap, 1, static_cast<long long>(_msize(block)));
}

// Before the block is freed.
void CountOut(void* block)
{
    if (block != nullptr)
        Add(ProgramAllocations::cHeap, -1, -static_cast<long long>(_msize(block)));
}

} // namespace

extern "C" {

void* CountedMalloc(size_t size) asm("_zvxDirect_malloc");
void* CountedCalloc(size_t count, size_t size) asm("_zvxDirect_calloc");
void* CountedRealloc(void* block, size_t size) asm("_zvxDirect_realloc");
void CountedFree(void* block) asm("_zvxDirect_free");
void* CountedNew(size_t size) asm("_zvxDirect__Znwj");
void* CountedNewArray(size_t size) asm("_zvxDirect__Znaj");
void CountedDelete(void* block) asm("_zvxDirect__ZdlPv");
void CountedDeleteSized(void* block, size_t size) asm("_zvxDirect__ZdlPvj");
void CountedDeleteArray(void* block) asm("_zvxDirect__ZdaPv");
void CountedDeleteArraySized(void* block, size_t size) asm("_zvxDirect__ZdaPvj");

void* CountedMalloc(size_t size)
{
    void* block = malloc(size);
    CountIn(block);
    return block;
}

void* CountedCalloc(size_t count, size_t size)
{
    void* block = calloc(count, size);
    CountIn(block);
    return block;
}

// realloc(NULL, n) allocates; realloc(p, 0) frees and gives NULL; a failure
// leaves the block as it was.
void* CountedRealloc(void* block, size_t size)
{
    const long long before = block != nullptr ? static_cast<long long>(_msize(block)) : 0;
    void* moved = realloc(block, size);
    if (moved != nullptr)
        Add(ProgramAllocations::cHeap, block == nullptr ? 1 : 0, static_cast<long long>(_msize(moved)) - before);
    else if (block != nullptr && size == 0)
        Add(ProgramAllocations::cHeap, -1, -before);
    return moved;
}

void CountedFree(void* block)
{
    CountOut(block);
    free(block);
}

void* CountedNew(size_t size)
{
    void* block = ::operator new(size);
    CountIn(block);
    return block;
}

void* CountedNewArray(size_t size)
{
    void* block = ::operator new[](size);
    CountIn(block);
    return block;
}

void CountedDelete(void* block)
{
    CountOut(block);
    ::operator delete(block);
}

void CountedDeleteSized(void* block, size_t)
{
    CountedDelete(block);
}

void CountedDeleteArray(void* block)
{
    CountOut(block);
    ::operator delete[](block);
}

void CountedDeleteArraySized(void* block, size_t)
{
    CountedDeleteArray(block);
}

} // extern "C"
