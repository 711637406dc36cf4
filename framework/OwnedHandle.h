#pragma once

#include <windows.h>
#include <commctrl.h>

// One handle the holder owns, released when the holder lets go of it: Reset,
// the destructor, or Attach of another. A handle is cleared only when its
// release succeeds, so that one that could not be released stays held (and
// is tried again) rather than lost, and it is never overwritten while held.
// Traits::Release says how a handle of the kind is released and whether that
// succeeded.
template <class Traits>
class OwnedHandle {
public:
    using Handle = typename Traits::Handle;

    OwnedHandle() = default;
    explicit OwnedHandle(Handle taken) : handle(taken) {}
    ~OwnedHandle() { Reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    Handle Get() const { return handle; }
    operator Handle() const { return handle; }

    // TRUE when nothing is held afterwards.
    bool Reset()
    {
        if (handle == Handle())
            return true;
        if (!Traits::Release(handle))
            return false;
        handle = Handle();
        return true;
    }
    // Takes over taken (which may be none). When the handle held before
    // cannot be released it stays held, and taken is released instead: false.
    bool Attach(Handle taken)
    {
        if (taken == handle)
            return true;
        if (Reset()) {
            handle = taken;
            return true;
        }
        if (taken != Handle())
            Traits::Release(taken);
        return false;
    }
    // Hands the handle over to the caller, who releases it.
    Handle Detach()
    {
        const Handle held = handle;
        handle = Handle();
        return held;
    }

private:
    Handle handle = Handle();
};

template <class H>
struct GdiObjectRelease {
    using Handle = H;
    static bool Release(H object) { return ::DeleteObject(object) != FALSE; }
};
struct IconRelease {
    using Handle = HICON;
    static bool Release(HICON icon) { return ::DestroyIcon(icon) != FALSE; }
};
struct ImageListRelease {
    using Handle = HIMAGELIST;
    static bool Release(HIMAGELIST images) { return ::ImageList_Destroy(images) != FALSE; }
};
// A DC the program made (CreateCompatibleDC), not one it got from a window.
struct MemoryDCRelease {
    using Handle = HDC;
    static bool Release(HDC dc) { return ::DeleteDC(dc) != FALSE; }
};
struct GlobalMemoryRelease {
    using Handle = HGLOBAL;
    static bool Release(HGLOBAL block) { return ::GlobalFree(block) == nullptr; }
};
// A loaded resource: a no-op on Win32, kept as the resource's owner says
// where it ends.
struct ResourceRelease {
    using Handle = HGLOBAL;
    static bool Release(HGLOBAL resource) { return ::FreeResource(resource) == FALSE; }
};

using OwnedBitmap = OwnedHandle<GdiObjectRelease<HBITMAP>>;
using OwnedBrush = OwnedHandle<GdiObjectRelease<HBRUSH>>;
using OwnedFont = OwnedHandle<GdiObjectRelease<HFONT>>;
using OwnedIcon = OwnedHandle<IconRelease>;
using OwnedImageList = OwnedHandle<ImageListRelease>;
using OwnedMemoryDC = OwnedHandle<MemoryDCRelease>;
using OwnedGlobalMemory = OwnedHandle<GlobalMemoryRelease>;
using OwnedResource = OwnedHandle<ResourceRelease>;
