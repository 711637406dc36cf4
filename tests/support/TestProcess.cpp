#include "support/TestProcess.h"

#include <vector>

#include "support/WinePaths.h"

namespace testing {

TestProcess::TestProcess(const std::string& path, const std::string& arguments)
{
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        info = PROCESS_INFORMATION();
}

TestProcess::~TestProcess()
{
    if (info.hProcess == nullptr)
        return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info.hProcess, 99);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

bool TestProcess::WaitIdle(DWORD timeoutMs) const
{
    return Started() && WaitForInputIdle(info.hProcess, timeoutMs) == 0;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const char* title;
    bool visibleOnly;
    HWND found;
    int count;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId)
        return TRUE;
    if (search->visibleOnly && !IsWindowVisible(window))
        return TRUE;
    if (search->title != nullptr) {
        char text[256];
        GetWindowTextA(window, text, sizeof text);
        if (lstrcmpA(text, search->title) != 0)
            return TRUE;
        search->found = window;
        return FALSE;
    }
    ++search->count;
    return TRUE;
}

} // namespace

HWND TestProcess::FindWindowTitled(const char* title, DWORD timeoutMs) const
{
    const DWORD end = GetTickCount() + timeoutMs;
    for (;;) {
        WindowSearch search = {info.dwProcessId, title, true, nullptr, 0};
        EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (static_cast<LONG>(end - GetTickCount()) <= 0 || WaitForSingleObject(info.hProcess, 20) == WAIT_OBJECT_0)
            return nullptr;
    }
}

int TestProcess::CountWindows() const
{
    WindowSearch search = {info.dwProcessId, nullptr, false, nullptr, 0};
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

DWORD TestProcess::WaitExit(DWORD timeoutMs) const
{
    if (WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

namespace {

// A resource type or name as the resource API takes it: a small integer or a string.
struct ResourceId {
    std::string text;
    WORD number = 0;

    explicit ResourceId(LPCSTR id)
    {
        if (IS_INTRESOURCE(id))
            number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id));
        else
            text = id;
    }
    LPCSTR Get() const { return text.empty() ? MAKEINTRESOURCEA(number) : text.c_str(); }
    bool operator==(const ResourceId& other) const { return text == other.text && number == other.number; }
};

struct Resource {
    ResourceId type;
    ResourceId name;
    WORD language;
    std::vector<BYTE> data;
};

struct Collection {
    HMODULE image;
    std::vector<Resource> resources;
    const ResourceId* currentType;
    const ResourceId* currentName;
};

BOOL CALLBACK TakeLanguage(HMODULE image, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    Collection* collection = reinterpret_cast<Collection*>(param);
    HRSRC found = FindResourceExA(image, type, name, language);
    HGLOBAL loaded = found != nullptr ? LoadResource(image, found) : nullptr;
    const BYTE* bytes = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    Resource resource = {ResourceId(type), ResourceId(name), language, {}};
    if (bytes != nullptr)
        resource.data.assign(bytes, bytes + SizeofResource(image, found));
    collection->resources.push_back(resource);
    return TRUE;
}

BOOL CALLBACK TakeName(HMODULE image, LPCSTR type, LPSTR name, LONG_PTR param)
{
    return EnumResourceLanguagesA(image, type, name, TakeLanguage, param);
}

BOOL CALLBACK TakeType(HMODULE image, LPSTR type, LONG_PTR param)
{
    return EnumResourceNamesA(image, type, TakeName, param);
}

// Writes a copy whose resources are the original's, less the one named or
// with its data replaced. The copy is rebuilt from all resources because
// Wine's UpdateResource does not delete a single existing resource.
std::string UpdateCopy(const std::string& program, LPCSTR type, LPCSTR name, const void* data, DWORD size)
{
    const std::string copy = ScratchFile("copy", "exe");
    if (!CopyFileA(program.c_str(), copy.c_str(), FALSE))
        return std::string();
    Collection collection = {LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), {}, nullptr, nullptr};
    if (collection.image == nullptr)
        return std::string();
    EnumResourceTypesA(collection.image, TakeType, reinterpret_cast<LONG_PTR>(&collection));
    FreeLibrary(collection.image);

    HANDLE update = BeginUpdateResourceA(copy.c_str(), TRUE);
    if (update == nullptr)
        return std::string();
    const ResourceId targetType(type);
    const ResourceId targetName(name);
    BOOL ok = TRUE;
    for (Resource& resource : collection.resources) {
        if (resource.type == targetType && resource.name == targetName) {
            if (data == nullptr)
                continue;
            resource.data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
        }
        ok = ok && UpdateResourceA(update, resource.type.Get(), resource.name.Get(), resource.language,
                                   resource.data.data(), static_cast<DWORD>(resource.data.size()));
    }
    if (!EndUpdateResourceA(update, !ok) || !ok)
        return std::string();
    return copy;
}

} // namespace

std::string CopyWithoutResource(const std::string& program, LPCSTR type, LPCSTR name)
{
    return UpdateCopy(program, type, name, nullptr, 0);
}

std::string CopyWithResource(const std::string& program, LPCSTR type, LPCSTR name,
                             const void* data, DWORD size)
{
    return UpdateCopy(program, type, name, data, size);
}

} // namespace testing
