#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Shared by the hyperlink label tests: a real dialog built from an in-memory
// template, what its parent saw, pixels read back from a window, the shell
// log, and real X input through xdotool.

struct StaticItem {
    int id;
    DWORD style;        // added to WS_CHILD | WS_VISIBLE | WS_GROUP
    short x, y, cx, cy; // dialog units
    const char* text;
};

// What the dialog received from its controls.
struct ParentLog {
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    std::vector<NMHDR> notifications;
    void Clear()
    {
        commands.clear();
        notifications.clear();
    }
};
extern ParentLog parentLog;

// A visible modeless dialog ("MS Sans Serif" 8 points, like the program's
// own) at screen position (40, 40), in the foreground. Destroyed by the
// destructor; declare the control objects before it, so that the windows go
// before the objects they are bound to, as in the program's dialogs.
class TestDialog {
public:
    explicit TestDialog(const std::vector<StaticItem>& statics, short cx = 259, short cy = 60);
    ~TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    HWND Item(int id) const { return ::GetDlgItem(hWnd, id); }
    HWND hWnd = nullptr;
};

// Dispatches the thread's messages (through IsDialogMessage for dialogs) for
// about the given time.
void Pump(DWORD milliseconds = 50);

// Dispatches messages until condition() holds or the time is up; real input
// arrives when the X server and Wine get round to it.
template <class Condition>
bool PumpUntil(Condition condition, DWORD milliseconds = 3000)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > milliseconds)
            return false;
        Pump(20);
    }
    return true;
}

// A window's client area as the user sees it, read back from its DC.
class ClientPixels {
public:
    explicit ClientPixels(HWND window);
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
    // Pixels of exactly this colour inside area (client coordinates), or in the whole area.
    int Count(COLORREF colour, const RECT& area) const;
    int Count(COLORREF colour) const;
    bool operator==(const ClientPixels& other) const { return pixels == other.pixels; }
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

// Screen point of a client point.
POINT ToScreen(HWND window, int x, int y);
// The lParam of a mouse message at a client point.
LPARAM ClientPoint(int x, int y);

// The log that the test prefixes' browser and mailer stand-in appends to. A
// unique address per call keeps concurrent runs apart.
std::string UniqueAddress(const char* prefix);
void ClearShellLog();
std::vector<std::string> ReadShellLog();
// Polls (dispatching messages) until the address is a line of the log.
bool WaitForShellLog(const std::string& address, DWORD milliseconds = 5000);

// Runs xdotool (a Unix program) with the given arguments and waits, dispatching
// messages, until it has finished. false when it could not be started or did
// not finish in time.
bool RunXdotool(const std::string& arguments);

// A screenshot of the whole X screen into a PNG file (best effort, for looking at).
void SaveScreenshot(const char* unixPath);
