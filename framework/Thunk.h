#pragma once

#include <windows.h>

// The entry stub that Windows calls as a window or dialog procedure. It puts
// the object's address where the window handle argument was and jumps to the
// shared procedure, so a message reaches its object without any lookup.
//
// The code lives in memory that may execute: with data execution prevention
// (which MinGW-built executables opt into) code in the ordinary process heap
// would fault on the first message.
class Thunk {
public:
    Thunk() = default;
    ~Thunk();

    Thunk(const Thunk&) = delete;
    Thunk& operator=(const Thunk&) = delete;

    // Writes the stub for object and procedure, allocating it on first use and
    // rewriting it in place afterwards. FALSE when no memory could be had.
    BOOL Init(void* object, void* procedure);

    // The address to install as the window or dialog procedure, NULL before a
    // successful Init.
    void* GetCode() const { return code; }

private:
    void* code = nullptr;
};
