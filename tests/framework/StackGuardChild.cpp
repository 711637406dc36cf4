// Started by the stack guard tests: "canary" ends with the process's canary
// as exit code, "unseeded" with the value it held before the program's
// constructors ran; "smash TEXT" copies TEXT into an 8-byte buffer of a
// protected frame.
#include <windows.h>

#include <cstring>

extern "C" void* __stack_chk_guard;

namespace {

void* unseeded = nullptr;

// Runs before the constructors of default priority, among them the guard's
// seeding: what the canary is in a process that is never seeded.
__attribute__((constructor(101), no_stack_protector)) void RecordUnseeded()
{
    unseeded = __stack_chk_guard;
}

__attribute__((noinline)) int CopyIntoSmallBuffer(const char* text)
{
    char buffer[8];
    std::strcpy(buffer, text);
    return buffer[0];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "canary") == 0)
        ExitProcess(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(__stack_chk_guard)));
    if (argc == 2 && std::strcmp(argv[1], "unseeded") == 0)
        ExitProcess(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(unseeded)));
    if (argc == 3 && std::strcmp(argv[1], "smash") == 0)
        return CopyIntoSmallBuffer(argv[2]) == 'x' ? 0 : 1;
    return 2;
}
