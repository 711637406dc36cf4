#include "quality/DamagedData.h"

#include <string.h>

namespace testing {

std::vector<BYTE> DamagedData::RandomBytes(size_t size, unsigned seed)
{
    std::vector<BYTE> bytes(size);
    unsigned state = seed * 2654435761u + 1;
    for (BYTE& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<BYTE>(state >> 16);
    }
    return bytes;
}

std::vector<BYTE> DamagedData::Original(const std::string& program, LPCSTR type, LPCSTR name)
{
    std::vector<BYTE> data;
    HMODULE image = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (image == nullptr)
        return data;
    HRSRC found = FindResourceA(image, name, type);
    HGLOBAL loaded = found != nullptr ? LoadResource(image, found) : nullptr;
    const BYTE* bytes = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (bytes != nullptr)
        data.assign(bytes, bytes + SizeofResource(image, found));
    FreeLibrary(image);
    return data;
}

std::vector<BYTE> DamagedData::Truncated(const std::vector<BYTE>& data, size_t size)
{
    return std::vector<BYTE>(data.begin(), data.begin() + (size < data.size() ? size : data.size()));
}

std::vector<BYTE> DamagedData::JpegWithNonsense()
{
    const BYTE header[] = {
        0xFF, 0xD8,                                                  // start of image
        0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x01, // JFIF header
        0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00,
        0xFF, 0xC0, 0x00, 0x11, 0x08, 0xFF, 0xFF, 0xFF, 0xFF, 0x03,  // baseline frame, 65535 x 65535
        0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01,
    };
    std::vector<BYTE> data(header, header + sizeof header);
    const std::vector<BYTE> nonsense = RandomBytes(4000, 7);
    data.insert(data.end(), nonsense.begin(), nonsense.end());
    data.push_back(0xFF);
    data.push_back(0xD9); // end of image
    return data;
}

namespace {

// The header of a bottom-up 24-bit bitmap resource of the given size.
BITMAPINFOHEADER BitmapHeader(LONG width, LONG height)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    return header;
}

} // namespace

std::vector<BYTE> DamagedData::BitmapClaiming(LONG width, LONG height)
{
    const BITMAPINFOHEADER header = BitmapHeader(width, height);
    std::vector<BYTE> data(sizeof header + 16 * 16 * 3, 0x80);
    memcpy(data.data(), &header, sizeof header);
    return data;
}

std::vector<BYTE> DamagedData::Bitmap(LONG width, LONG height)
{
    const BITMAPINFOHEADER header = BitmapHeader(width, height);
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    std::vector<BYTE> data(sizeof header + stride * height, 0);
    memcpy(data.data(), &header, sizeof header);
    for (LONG y = 0; y < height; ++y) {
        BYTE* row = data.data() + sizeof header + stride * y;
        for (LONG x = 0; x < width; ++x) {
            const bool key = (x + y) % 4 == 0;
            row[x * 3] = key ? 255 : static_cast<BYTE>(x);      // blue
            row[x * 3 + 1] = key ? 0 : static_cast<BYTE>(y);    // green
            row[x * 3 + 2] = 255;                               // red
        }
    }
    return data;
}

std::vector<BYTE> DamagedData::IconGroup(WORD claimed, WORD iconId)
{
    // GRPICONDIR (reserved, type 1, count) and one GRPICONDIRENTRY.
    const WORD directory[] = {0, 1, claimed};
    const BYTE entry[] = {32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 0x02, 0, 0,
                          static_cast<BYTE>(iconId & 0xFF), static_cast<BYTE>(iconId >> 8)};
    std::vector<BYTE> data(reinterpret_cast<const BYTE*>(directory),
                           reinterpret_cast<const BYTE*>(directory) + sizeof directory);
    data.insert(data.end(), entry, entry + sizeof entry);
    return data;
}

} // namespace testing
