#include "framework/Thunk.h"

#include <string.h>

namespace {

#pragma pack(push, 1)
struct StubCode {
    DWORD storeObject;  // mov dword ptr [esp+4], imm32
    DWORD object;
    BYTE jump;          // jmp rel32
    DWORD relativeProcedure;
};
#pragma pack(pop)

// A private heap whose blocks may execute; created on first use and kept for
// the life of the process. Racing creators keep the first heap.
HANDLE ExecutableHeap()
{
    static HANDLE heap = nullptr;
    HANDLE current = static_cast<HANDLE>(InterlockedCompareExchangePointer(&heap, nullptr, nullptr));
    if (current != nullptr)
        return current;
    HANDLE created = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
    if (created == nullptr)
        return nullptr;
    HANDLE previous = static_cast<HANDLE>(InterlockedCompareExchangePointer(&heap, created, nullptr));
    if (previous != nullptr) {
        HeapDestroy(created);
        return previous;
    }
    return created;
}

} // namespace

Thunk::~Thunk()
{
    if (code != nullptr && HeapFree(ExecutableHeap(), 0, code))
        code = nullptr;
}

BOOL Thunk::Init(void* object, void* procedure)
{
    if (code == nullptr) {
        HANDLE heap = ExecutableHeap();
        if (heap == nullptr)
            return FALSE;
        code = HeapAlloc(heap, 0, sizeof(StubCode));
        if (code == nullptr)
            return FALSE;
    }
    StubCode stub;
    stub.storeObject = 0x042444C7;
    stub.object = reinterpret_cast<DWORD>(object);
    stub.jump = 0xE9;
    stub.relativeProcedure = reinterpret_cast<DWORD>(procedure)
        - (reinterpret_cast<DWORD>(code) + sizeof(StubCode));
    memcpy(code, &stub, sizeof stub);
    FlushInstructionCache(GetCurrentProcess(), code, sizeof stub);
    return TRUE;
}
