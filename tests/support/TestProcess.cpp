#include "support/TestProcess.h"

#include "support/WindowContents.h"
#include "support/WinePaths.h"

namespace testing {

TestProcess::TestProcess(const std::string& path, const std::string& arguments)
{
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
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

// The process's top-level windows: visible ones with the title, or all when title is null.
struct WindowSearch {
    DWORD processId;
    const char* title;
    HWND found;
    int count;

    static BOOL CALLBACK Visit(HWND window, LPARAM param)
    {
        WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->processId)
            return TRUE;
        if (search->title == nullptr)
            ++search->count;
        else if (IsWindowVisible(window) && WindowText(window) == search->title)
            search->found = window;
        return search->found == nullptr;
    }
};

} // namespace

HWND TestProcess::FindWindowTitled(const char* title, DWORD timeoutMs) const
{
    const DWORD end = GetTickCount() + timeoutMs;
    for (;;) {
        WindowSearch search = {info.dwProcessId, title, nullptr, 0};
        EnumWindows(WindowSearch::Visit, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (static_cast<LONG>(end - GetTickCount()) <= 0 || WaitForSingleObject(info.hProcess, 20) == WAIT_OBJECT_0)
            return nullptr;
    }
}

int TestProcess::CountWindows() const
{
    WindowSearch search = {info.dwProcessId, nullptr, nullptr, 0};
    EnumWindows(WindowSearch::Visit, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

DWORD TestProcess::WaitExit(DWORD timeoutMs) const
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    return code;
}

namespace {

// A resource type or name as the resource API takes it: a small integer or a string.
struct ResourceId {
    std::string text;
    WORD number = 0;

    explicit ResourceId(LPCSTR id)
        : text(IS_INTRESOURCE(id) ? "" : id), number(IS_INTRESOURCE(id) ? LOWORD(reinterpret_cast<ULONG_PTR>(id)) : 0)
    {
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

BOOL CALLBACK TakeLanguage(HMODULE image, LPCSTR type, LPCSTR name, WORD language, LONG_PTR param)
{
    HRSRC found = FindResourceExA(image, type, name, language);
    HGLOBAL loaded = found != nullptr ? LoadResource(image, found) : nullptr;
    const BYTE* bytes = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    Resource resource = {ResourceId(type), ResourceId(name), language, {}};
    if (bytes != nullptr)
        resource.data.assign(bytes, bytes + SizeofResource(image, found));
    reinterpret_cast<std::vector<Resource>*>(param)->push_back(resource);
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

// Every resource of the program, in every language.
std::vector<Resource> ResourcesOf(const std::string& program)
{
    std::vector<Resource> resources;
    HMODULE image = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (image != nullptr) {
        EnumResourceTypesA(image, TakeType, reinterpret_cast<LONG_PTR>(&resources));
        FreeLibrary(image);
    }
    return resources;
}

// Writes a copy whose resources are the original's, less the one named or
// with its data replaced. The copy is rebuilt from all resources because
// Wine's UpdateResource does not delete a single existing resource.
std::string UpdateCopy(const std::string& program, LPCSTR type, LPCSTR name, const void* data, DWORD size)
{
    const std::string copy = ScratchFile("copy", "exe");
    std::vector<Resource> resources = ResourcesOf(program);
    if (resources.empty() || !CopyFileA(program.c_str(), copy.c_str(), FALSE))
        return std::string();

    HANDLE update = BeginUpdateResourceA(copy.c_str(), TRUE);
    if (update == nullptr)
        return std::string();
    const ResourceId targetType(type), targetName(name);
    BOOL ok = TRUE;
    for (Resource& resource : resources) {
        if (resource.type == targetType && resource.name == targetName) {
            if (data == nullptr)
                continue;
            resource.data.assign(static_cast<const BYTE*>(data), static_cast<const BYTE*>(data) + size);
        }
        ok = ok && UpdateResourceA(update, resource.type.Get(), resource.name.Get(), resource.language,
                                   resource.data.data(), static_cast<DWORD>(resource.data.size()));
    }
    return EndUpdateResourceA(update, !ok) && ok ? copy : std::string();
}

} // namespace

std::string ThisProgram()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

std::string BesideThisProgram(const char* name)
{
    const std::string self = ThisProgram();
    return self.substr(0, self.find_last_of('\\') + 1) + name;
}

DWORD RunAgainWith(const char* variable, DWORD timeoutMs)
{
    SetEnvironmentVariableA(variable, "1");
    const TestProcess child(ThisProgram(), "--no-intro=true");
    SetEnvironmentVariableA(variable, nullptr);
    return child.WaitExit(timeoutMs);
}

std::vector<BYTE> ResourceData(const std::string& program, LPCSTR type, LPCSTR name)
{
    for (const Resource& resource : ResourcesOf(program))
        if (resource.type == ResourceId(type) && resource.name == ResourceId(name))
            return resource.data;
    return {};
}

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
