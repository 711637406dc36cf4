#include "support/ScopedRegistryValue.h"

namespace testing {

namespace {

bool KeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace

std::string UnmanagedWindowsKey(const std::string& program)
{
    // npos + 1 is 0: a bare name is used whole.
    return "Software\\Wine\\AppDefaults\\" + program.substr(program.find_last_of("\\/") + 1) + "\\X11 Driver";
}

ScopedRegistryValue::ScopedRegistryValue(const std::string& keyPath, const char* name, DWORD type,
                                         const void* data, DWORD size)
    : keyPath(keyPath), name(name)
{
    for (std::string path = keyPath; !path.empty() && !KeyExists(path);) {
        ++createdDepth;
        const size_t slash = path.rfind('\\');
        path = slash == std::string::npos ? std::string() : path.substr(0, slash);
    }

    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_READ | KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    DWORD oldSize = 0;
    if (RegQueryValueExA(key, name, nullptr, &oldType, nullptr, &oldSize) == ERROR_SUCCESS) {
        oldData.resize(oldSize + 1);
        hadValue = RegQueryValueExA(key, name, nullptr, &oldType, oldData.data(), &oldSize) == ERROR_SUCCESS;
        oldData.resize(oldSize);
    }
    written = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    RegCloseKey(key);
}

ScopedRegistryValue::~ScopedRegistryValue()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        if (hadValue)
            RegSetValueExA(key, name.c_str(), 0, oldType, oldData.data(), static_cast<DWORD>(oldData.size()));
        else
            RegDeleteValueA(key, name.c_str());
        RegCloseKey(key);
    }
    // Innermost first: a key with subkeys cannot be deleted.
    std::string path = keyPath;
    for (int i = 0; i < createdDepth; ++i) {
        RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
        path = path.substr(0, path.rfind('\\'));
    }
}

} // namespace testing
