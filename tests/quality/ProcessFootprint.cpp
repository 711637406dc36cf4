#include "quality/ProcessFootprint.h"

#include <stdio.h>

namespace testing {

namespace {

// More than the GDI objects the program and the test ever free between two
// probes (a few hundred at most), so every probe drains the free list.
constexpr int gdiProbeCount = 4096;
// The same for kernel handles: registry keys, events, sections.
constexpr int handleProbeCount = 1024;

BOOL CALLBACK CountChild(HWND, LPARAM param)
{
    ++*reinterpret_cast<int*>(param);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM param)
{
    ++*reinterpret_cast<int*>(param);
    EnumChildWindows(window, CountChild, param);
    return TRUE;
}

} // namespace

SIZE_T ProcessFootprint::HeapBusyBytes()
{
    // Static, as the probes below: measuring must not allocate.
    static HANDLE heaps[256];
    const DWORD count = GetProcessHeaps(256, heaps);
    SIZE_T total = 0;
    for (DWORD i = 0; i < count && i < 256; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

int ProcessFootprint::LiveGdiObjects()
{
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<int>(reported);

    // A static array: the probe itself must not move the heap measure.
    static HBRUSH probes[gdiProbeCount];
    int highest = -1;
    int created = 0;
    for (HBRUSH& probe : probes) {
        probe = CreateSolidBrush(RGB(created & 0xFF, 0, 0));
        if (probe == nullptr)
            break;
        ++created;
        const int index = LOWORD(reinterpret_cast<UINT_PTR>(probe));
        if (index > highest)
            highest = index;
    }
    for (int i = 0; i < created; ++i)
        DeleteObject(probes[i]);
    // A table too full for the probe reads as "very many".
    if (created < gdiProbeCount)
        return 0x10000;
    return highest - gdiProbeCount + 1;
}

int ProcessFootprint::LiveKernelHandles()
{
    DWORD reported = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &reported) && reported != 0)
        return static_cast<int>(reported);

    static HANDLE probes[handleProbeCount];
    UINT_PTR highest = 0;
    int created = 0;
    for (HANDLE& probe : probes) {
        probe = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (probe == nullptr)
            break;
        ++created;
        if (reinterpret_cast<UINT_PTR>(probe) > highest)
            highest = reinterpret_cast<UINT_PTR>(probe);
    }
    for (int i = 0; i < created; ++i)
        CloseHandle(probes[i]);
    if (created < handleProbeCount)
        return 0x100000;
    return static_cast<int>(highest / 4) - handleProbeCount;
}

int ProcessFootprint::ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

ProcessFootprint ProcessFootprint::Take()
{
    ProcessFootprint footprint;
    footprint.gdiObjects = LiveGdiObjects();
    footprint.windows = ThreadWindowCount();
    footprint.kernelHandles = LiveKernelHandles();
    footprint.heapBytes = HeapBusyBytes();
    return footprint;
}

std::string ProcessFootprint::GrowthTo(const ProcessFootprint& later) const
{
    char text[160];
    snprintf(text, sizeof text, "heap %lu -> %lu bytes (%+ld), GDI objects %+d, windows %d -> %d, kernel handles %+d",
             static_cast<unsigned long>(heapBytes), static_cast<unsigned long>(later.heapBytes),
             static_cast<long>(later.heapBytes) - static_cast<long>(heapBytes), later.gdiObjects - gdiObjects,
             windows, later.windows, later.kernelHandles - kernelHandles);
    return text;
}

} // namespace testing
