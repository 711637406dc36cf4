// The stack canary that -fstack-protector-strong checks, and what happens when
// a check fails. The toolchain's own library seeds the canary through a
// cryptographic service provider, which loads the provider's DLLs at every
// start, and reports a failure through the C runtime's formatted output:
// about 3 KB and a slower start for what two small functions do here. The
// linker takes these definitions first, so that library is never pulled in.
#include <windows.h>
#include <ntsecapi.h>

extern "C" {

// Read by every protected function on entry and on return.
void* __stack_chk_guard = reinterpret_cast<void*>(0xBB40E64E);

// A protected function whose canary was overwritten: the stack is corrupt, so
// nothing of the process can be trusted to run, not even exception handlers.
__attribute__((noreturn)) void __stack_chk_fail()
{
    ::TerminateProcess(::GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    for (;;) {
    }
}

} // extern "C"

namespace {

// Runs with the static constructors, before WinMain; only the start-up code,
// which is not protected, is on the stack then, so no frame sees the canary
// change under it. This function is not protected itself.
__attribute__((constructor, no_stack_protector)) void SeedStackGuard()
{
    ULONG_PTR seed = 0;
    if (!::RtlGenRandom(&seed, sizeof seed)) {
        // Without the system's generator: what differs between two starts.
        LARGE_INTEGER counter;
        ::QueryPerformanceCounter(&counter);
        seed = static_cast<ULONG_PTR>(counter.LowPart ^ counter.HighPart) ^ ::GetTickCount()
               ^ (::GetCurrentProcessId() << 16) ^ ::GetCurrentThreadId()
               ^ reinterpret_cast<ULONG_PTR>(&counter);
    }
    if (seed != 0)
        __stack_chk_guard = reinterpret_cast<void*>(seed);
}

} // namespace
