#pragma once

#include <unknwn.h>

// One reference to a COM object, owned: released when the holder lets go of
// it, or takes another. The pointer is cleared before Release, so that code
// the release runs never sees it.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    T* Get() const { return object; }
    T* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }

    // Takes over a reference the caller held; one held before is released.
    void Attach(T* taken)
    {
        Reset();
        object = taken;
    }
    // Hands the reference over to the caller.
    T* Detach()
    {
        T* held = object;
        object = nullptr;
        return held;
    }
    // Where a call that hands out a new reference stores it (an out
    // parameter); a reference held before is released first.
    T** Receive()
    {
        Reset();
        return &object;
    }
    void Reset()
    {
        if (T* old = object) {
            object = nullptr;
            old->Release();
        }
    }

private:
    T* object = nullptr;
};
