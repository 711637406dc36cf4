#pragma once

#include <objbase.h>

namespace testing {

// COM on this thread while the object lives, as WinMain prepares it.
struct ComApartment {
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

} // namespace testing
