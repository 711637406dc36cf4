#include "quality/RegistryBytes.h"

namespace testing {

RegistryBytes RegistryBytes::Text(const std::string& text, bool terminated)
{
    RegistryBytes data;
    data.bytes.assign(text.begin(), text.end());
    data.size = static_cast<DWORD>(text.size());
    data.bytes.push_back(terminated ? 0 : 'X');
    if (terminated)
        ++data.size;
    return data;
}

RegistryBytes RegistryBytes::Dword(DWORD value)
{
    RegistryBytes data;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
    data.bytes.assign(bytes, bytes + sizeof value);
    data.size = sizeof value;
    return data;
}

} // namespace testing
