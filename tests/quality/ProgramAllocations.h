#pragma once

#include <string>

// What the program's own code holds of each kind of resource that it
// allocates and releases itself, counted in a test build only: the soak links
// a copy of the program's libraries whose calls of the allocating and
// releasing functions are renamed to counting hooks (CountedProgram.cmake
// does the renaming; ProgramAllocations.cpp holds the hooks and so the list).
// Calls made by Wine, the runtime or the test itself are not counted, so the
// program's figures balance exactly whatever the system keeps for itself.
class ProgramAllocations {
public:
    enum Kind {
        cHeap,         // malloc, realloc, free, operator new and delete
        processHeap,   // HeapAlloc, HeapReAlloc, HeapFree
        globalMemory,  // GlobalAlloc, GlobalReAlloc, GlobalFree
        localMemory,   // LocalAlloc, LocalReAlloc, LocalFree
        heaps,         // HeapCreate, HeapDestroy
        gdiObjects,    // brushes, pens, fonts, bitmaps, regions, palettes; DeleteObject
        memoryDCs,     // CreateCompatibleDC and the like; DeleteDC
        windowDCs,     // GetDC and the like; ReleaseDC
        paints,        // BeginPaint; EndPaint
        icons,         // icons and cursors the program owns; DestroyIcon, DestroyCursor
        imageLists,    // ImageList_Create and the like; ImageList_Destroy
        kindCount
    };

    // Live counts and, for memory, live bytes (as the heap reports a block's
    // size) since the process started, and how many were made in all. Plain
    // data: taking one allocates nothing.
    struct Snapshot {
        long long count[kindCount];
        long long bytes[kindCount];
        long long made[kindCount];
    };

    static Snapshot Take();
    // How many things of every kind the program made in between, released or
    // not: none means the counting copy of the program is not what ran.
    static long long Made(const Snapshot& before, const Snapshot& after);
    // What is held after that was not held before, one kind after another,
    // e.g. "C heap +300 blocks, +4800 bytes"; empty when every kind balances.
    static std::string Growth(const Snapshot& before, const Snapshot& after);
};
