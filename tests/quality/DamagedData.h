#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing {

// Data to put in place of a resource of the program: garbage of the kinds a
// damaged or tampered file holds.
struct DamagedData {
    // The same bytes for the same seed on every run.
    static std::vector<BYTE> RandomBytes(size_t size, unsigned seed);
    // A resource of the program as it is stored, or empty.
    static std::vector<BYTE> Original(const std::string& program, LPCSTR type, LPCSTR name);
    // The first part of data.
    static std::vector<BYTE> Truncated(const std::vector<BYTE>& data, size_t size);
    // A JPEG start (SOI, JFIF header, a frame of 65,535 x 65,535 pixels in
    // three components), then random bytes and the end marker.
    static std::vector<BYTE> JpegWithNonsense();
    // A packed 24-bit bitmap whose header claims width x height pixels but
    // which carries the pixels of 16 x 16 only.
    static std::vector<BYTE> BitmapClaiming(LONG width, LONG height);
    // A well-formed packed 24-bit bitmap of width x height pixels, striped
    // with the program's magenta key colour.
    static std::vector<BYTE> Bitmap(LONG width, LONG height);
    // An icon group directory of `claimed` images holding one entry, for the
    // icon resource iconId.
    static std::vector<BYTE> IconGroup(WORD claimed, WORD iconId);
};

} // namespace testing
