#include "HyperlinkTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

ParentLog parentLog;

namespace {

HWND currentDialog = nullptr;

INT_PTR CALLBACK TestDialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        parentLog.commands.emplace_back(wParam, lParam);
        return TRUE;
    case WM_NOTIFY:
        parentLog.notifications.push_back(*reinterpret_cast<NMHDR*>(lParam));
        return TRUE;
    }
    return FALSE;
}

// Dialog templates are WORD streams with DWORD-aligned items and UTF-16 strings.
class TemplateWriter {
public:
    void Word(WORD value) { words.push_back(value); }
    void Dword(DWORD value)
    {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const char* text)
    {
        for (; *text != '\0'; ++text)
            Word(static_cast<unsigned char>(*text));
        Word(0);
    }
    void AlignDword()
    {
        if (words.size() % 2 != 0)
            Word(0);
    }
    std::vector<WORD> words;
};

std::string UnixToWindows(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string Environment(const char* name)
{
    char buffer[MAX_PATH * 2];
    const DWORD length = ::GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

// Wine starts the browser stand-in with the Unix environment the test was
// started with, not with the one SetEnvironmentVariableA changes; so the log
// is where the test's own environment (ctest) says, else beside the prefix.
std::string ShellLogPath()
{
    std::string unixPath = Environment("ZVX_SHELL_LOG");
    if (unixPath.empty())
        unixPath = Environment("WINEPREFIX") + "/shell.log";
    return UnixToWindows(unixPath);
}

} // namespace

TestDialog::TestDialog(const std::vector<StaticItem>& statics, short cx, short cy)
{
    TemplateWriter t;
    t.Dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | WS_VISIBLE);
    t.Dword(0);
    t.Word(static_cast<WORD>(statics.size()));
    t.Word(0);
    t.Word(0);
    t.Word(cx);
    t.Word(cy);
    t.Word(0);       // no menu
    t.Word(0);       // standard dialog class
    t.Text("Links"); // caption
    t.Word(8);
    t.Text("MS Sans Serif");
    for (const StaticItem& s : statics) {
        t.AlignDword();
        t.Dword(WS_CHILD | WS_VISIBLE | WS_GROUP | s.style);
        t.Dword(0);
        t.Word(s.x);
        t.Word(s.y);
        t.Word(s.cx);
        t.Word(s.cy);
        t.Word(static_cast<WORD>(s.id));
        t.Word(0xFFFF);
        t.Word(0x0082); // STATIC
        t.Text(s.text);
        t.Word(0);      // no creation data
    }
    t.AlignDword();
    parentLog.Clear();
    hWnd = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                        reinterpret_cast<const DLGTEMPLATE*>(t.words.data()), nullptr,
                                        TestDialogProc, 0);
    if (hWnd == nullptr)
        printf("CreateDialogIndirectParamA failed: %lu\n", ::GetLastError());
    ::SetWindowPos(hWnd, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetForegroundWindow(hWnd);
    currentDialog = hWnd;
    Pump(100);
}

TestDialog::~TestDialog()
{
    currentDialog = nullptr;
    ::DestroyWindow(hWnd);
    Pump(20);
}

void Pump(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (currentDialog != nullptr && ::IsDialogMessageA(currentDialog, &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

ClientPixels::ClientPixels(HWND window)
{
    RECT client;
    ::GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    pixels.assign(static_cast<size_t>(width) * height, 0);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC windowDc = ::GetDC(window);
    HDC memoryDc = ::CreateCompatibleDC(windowDc);
    HBITMAP bitmap = ::CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memoryDc, bitmap);
    ::BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const DWORD* source = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const DWORD p = source[i];
        pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    ::SelectObject(memoryDc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memoryDc);
    ::ReleaseDC(window, windowDc);
}

int ClientPixels::Count(COLORREF colour, const RECT& area) const
{
    int count = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, height); ++y)
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, width); ++x)
            if (At(x, y) == colour)
                ++count;
    return count;
}

int ClientPixels::Count(COLORREF colour) const
{
    const RECT all = {0, 0, width, height};
    return Count(colour, all);
}

POINT ToScreen(HWND window, int x, int y)
{
    POINT point = {x, y};
    ::ClientToScreen(window, &point);
    return point;
}

LPARAM ClientPoint(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

std::string UniqueAddress(const char* prefix)
{
    static int serial = 0;
    return std::string(prefix) + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++serial);
}

void ClearShellLog()
{
    ::DeleteFileA(ShellLogPath().c_str());
}

std::vector<std::string> ReadShellLog()
{
    std::vector<std::string> lines;
    std::ifstream log(ShellLogPath());
    std::string line;
    while (std::getline(log, line))
        lines.push_back(line);
    return lines;
}

bool WaitForShellLog(const std::string& address, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    do {
        for (const std::string& line : ReadShellLog())
            if (line == address)
                return true;
        Pump(50);
    } while (::GetTickCount() - start < milliseconds);
    return false;
}

namespace {

// Wine runs ELF programs through CreateProcess, but their process handle
// cannot be waited for; a marker file written at the end tells instead.
bool RunUnix(const std::string& command, DWORD milliseconds = 10000)
{
    static int serial = 0;
    const std::string marker = "/tmp/zvx-hyperlink-" + std::to_string(::GetCurrentProcessId()) + "-"
                             + std::to_string(++serial);
    const std::string markerWindows = UnixToWindows(marker);
    ::DeleteFileA(markerWindows.c_str());
    std::string line = "Z:\\bin\\sh -c \"" + command + "; : > " + marker + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    const DWORD start = ::GetTickCount();
    while (::GetFileAttributesA(markerWindows.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (::GetTickCount() - start > milliseconds)
            return false;
        Pump(10);
    }
    ::DeleteFileA(markerWindows.c_str());
    Pump(100); // let the X events that xdotool caused arrive
    return true;
}

} // namespace

bool RunXdotool(const std::string& arguments)
{
    return RunUnix("xdotool " + arguments);
}

void SaveScreenshot(const char* unixPath)
{
    RunUnix(std::string("import -window root ") + unixPath);
}
