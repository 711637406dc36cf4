#pragma once

#include <windows.h>

#include <string>

namespace testing {

// What the process holds at one moment, in measures that work under Wine as
// well as on Windows. Compare two taken at quiet moments (no dialog half
// built, messages pumped) to see what the work in between left behind.
struct ProcessFootprint {
    // Bytes in busy blocks of every heap: the C++ heap, the process heap and
    // the program's executable heap for window thunks, and what the system
    // libraries allocate there for the program (tooltip records, picture
    // objects, global memory, device contexts). Windows and other GDI objects
    // leave no trace there under Wine 8: they live in the window server and
    // on the unix side of win32u, hence the counts below.
    SIZE_T heapBytes = 0;
    // Live GDI objects of the process (see LiveGdiObjects).
    int gdiObjects = 0;
    // Windows of the calling thread: top-level ones, hidden or not, and all
    // their children.
    int windows = 0;
    // Kernel handles of the process: registry keys, events, sections (see
    // LiveKernelHandles).
    int kernelHandles = 0;

    static ProcessFootprint Take();

    // "heap 100 -> 120 bytes (+20), GDI objects +0, windows 3 -> 3, kernel handles +0".
    std::string GrowthTo(const ProcessFootprint& later) const;

    static SIZE_T HeapBusyBytes();

    // GetGuiResources answers 0 under Wine, so there the count comes from the
    // GDI handle table itself. The table gives out entries from a last-in,
    // first-out free list and only then from its unused end, and a handle's
    // low word is its entry index. Creating more probe objects than the free
    // list holds therefore ends at index (live objects + probes - 1) plus a
    // constant base; the probes are deleted again. Each probe leaves all its
    // entries on the free list, so the next probe lands on the same highest
    // index unless more objects are alive than at the busiest earlier probe:
    // the result is the largest live count seen at any probe, which grows by
    // exactly the number of objects leaked in between (the footprint test
    // leaks fonts on purpose to show it).
    static int LiveGdiObjects();

    // GetProcessHandleCount answers 0 under Wine. The server's handle table
    // gives out the lowest free entry, and a handle is four times (its entry
    // index plus one); probe handles fill every hole before they extend the
    // table, so the highest of more probes than there are holes tells the
    // live count, with the same largest-so-far reading as for GDI objects.
    static int LiveKernelHandles();

    static int ThreadWindowCount();
};

} // namespace testing
