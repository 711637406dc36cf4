// The non-throwing allocation forms that the program uses (new (std::nothrow)).
// The runtime's own versions call the throwing operator new inside a try
// block, which links the whole exception machinery (unwinder, personality,
// terminate handler with its name demangler, formatted output) into a program
// built without exceptions: more than half of the executable. These
// replacements allocate as the runtime does, from the C heap that its
// operator delete frees into; no new-handler is ever installed here, so
// returning null at once is what the runtime would do too.
#include <new>
#include <stdlib.h>

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return malloc(size != 0 ? size : 1);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return malloc(size != 0 ? size : 1);
}
