#include <doctest.h>

#include <windows.h>

#include <list>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/version.h"
#include "support/ScopedRegistryValue.h"
#include "support/TestProcess.h"
#include "support/UserInput.h"
#include "support/WinePaths.h"

using testing::ScopedRegistryValue;

namespace {

// A registry value's data exactly as stored. Unterminated text is followed by
// a byte that is not stored: when the byte after a string's counted data is
// NUL, RegSetValueExA stores it too.
struct Data {
    DWORD type;
    std::string bytes;
    DWORD size;
};

Data Text(const std::string& text, bool terminated = true, DWORD type = REG_SZ)
{
    return {type, text + (terminated ? '\0' : 'X'), static_cast<DWORD>(text.size() + terminated)};
}

Data Dword(DWORD value)
{
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value), sizeof value};
}

struct Setting {
    const char* key;
    const char* name;
    Data data;
};

// One run of the program: with registry values set for it, or as a copy with
// one resource removed (data empty) or replaced.
struct Run {
    std::string name;
    std::vector<Setting> settings;
    LPCSTR type = nullptr;
    WORD id = 0;
    std::vector<BYTE> data;
};

// The same bytes on every run.
std::vector<BYTE> RandomBytes(size_t size, unsigned seed)
{
    std::vector<BYTE> bytes(size);
    unsigned state = seed * 2654435761u + 1;
    for (BYTE& byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<BYTE>(state >> 16);
    }
    return bytes;
}

// A JPEG start whose frame claims 65,535 x 65,535 pixels in three
// components, then random bytes and the end marker.
std::vector<BYTE> JpegWithNonsense()
{
    std::vector<BYTE> data = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',  0x00, 0x01, 0x01,
                              0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0xFF, 0xC0, 0x00, 0x11, 0x08, 0xFF,
                              0xFF, 0xFF, 0xFF, 0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01};
    const std::vector<BYTE> nonsense = RandomBytes(4000, 7);
    data.insert(data.end(), nonsense.begin(), nonsense.end());
    data.insert(data.end(), {0xFF, 0xD9});
    return data;
}

// A packed 24-bit bitmap whose header claims width x height pixels, followed
// by pixelBytes of grey.
std::vector<BYTE> Bitmap(LONG width, LONG height, size_t pixelBytes)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    std::vector<BYTE> data(sizeof header + pixelBytes, 0x80);
    memcpy(data.data(), &header, sizeof header);
    return data;
}

std::vector<Run> Runs()
{
    std::vector<Run> runs;
    // The scheme name is read into a buffer of 200 bytes when each Icon
    // button is attached, at start-up.
    const std::pair<const char*, Data> schemes[] = {
        {"empty", Text("")},
        {"1 character", Text("W")},
        {"199 characters", Text(std::string(199, 'S'))},
        {"199 characters without terminator", Text(std::string(199, 'S'), false)},
        {"200 characters", Text(std::string(200, 'S'))},
        {"5,000 characters", Text(std::string(5000, 'S'))},
        {"a number", Dword(0x12345678)},
        {"binary without terminator", Text("Windows Standard", false, REG_BINARY)},
    };
    for (const auto& scheme : schemes)
        runs.push_back({std::string("scheme ") + scheme.first, {{"Control Panel\\Appearance", "Current", scheme.second}}, nullptr, 0, {}});

    // Both link colours are read at each opening of the About box into a
    // buffer of 12 bytes. Each run gives "Anchor Color" one shape and "Anchor
    // Color Visited" the next, so every shape meets both values.
    std::string longColour;
    while (longColour.size() < 5000)
        longColour += "10,200,30,";
    const std::pair<const char*, Data> colours[] = {
        {"5,000 characters", Text(longColour)},
        {"a number", Dword(0x0000FF00)},
        {"binary", Text("0,160,0", false, REG_BINARY)},
        {"12 characters without terminator", Text("0,160,000000", false)},
        {"11 commas", Text(",,,,,,,,,,,")},
        {"huge numbers", Text("99999999999,99999999999,99999999999")},
        {"huge numbers that fit", Text("4294967297,")},
        {"negative numbers", Text("-1,-1,-1")},
        {"empty", Text("")},
    };
    const char* const settingsKey = "Software\\Microsoft\\Internet Explorer\\Settings";
    const size_t colourCount = sizeof colours / sizeof colours[0];
    for (size_t i = 0; i < colourCount; ++i) {
        const auto& link = colours[i];
        const auto& visited = colours[(i + 1) % colourCount];
        runs.push_back({std::string("link colour ") + link.first + ", visited colour " + visited.first,
                        {{settingsKey, "Anchor Color", link.second}, {settingsKey, "Anchor Color Visited", visited.second}},
                        nullptr, 0, {}});
    }

    auto damage = [&](const std::string& name, LPCSTR type, WORD id, std::vector<BYTE> data) {
        Run run;
        run.name = name + " " + std::to_string(id);
        run.type = type;
        run.id = id;
        run.data = std::move(data);
        runs.push_back(run);
    };
    // The banners are decoded by the system's picture service: the main one
    // at start-up, the About one at each opening.
    for (WORD banner : {IDR_BANNER_MAIN, IDR_BANNER_ABOUT}) {
        const std::vector<BYTE> original =
            testing::ResourceData(testing::ProgramPath(), RT_JPEG, MAKEINTRESOURCEA(banner));
        REQUIRE(original.size() > 1000);
        damage("removed banner", RT_JPEG, banner, {});
        damage("random bytes for banner", RT_JPEG, banner, RandomBytes(original.size(), banner));
        damage("header cut off in banner", RT_JPEG, banner, std::vector<BYTE>(original.begin(), original.begin() + 30));
        damage("a third of banner", RT_JPEG, banner, std::vector<BYTE>(original.begin(), original.begin() + original.size() / 3));
        damage("one byte for banner", RT_JPEG, banner, std::vector<BYTE>(1, 0));
        damage("huge nonsense JPEG for banner", RT_JPEG, banner, JpegWithNonsense());
    }
    // The button bitmaps are loaded at start-up and filtered pixel by pixel.
    for (WORD bitmap : {IDB_EXIT, IDB_ABOUT, IDB_VISIT}) {
        damage("removed bitmap", RT_BITMAP, bitmap, {});
        damage("random bytes for bitmap", RT_BITMAP, bitmap, RandomBytes(808, bitmap));
        damage("30,000 x 30,000 header on 16 x 16 pixels for bitmap", RT_BITMAP, bitmap, Bitmap(30000, 30000, 16 * 16 * 3));
    }
    // Well-formed, but not the 16 x 16 the button is drawn for.
    damage("1,000 x 1,000 pixels for bitmap", RT_BITMAP, IDB_VISIT, Bitmap(1000, 1000, 3000 * 1000));
    return runs;
}

std::wstring OtherSelection(HWND dialog, int otherId)
{
    HWND other = GetDlgItem(dialog, otherId);
    const LRESULT index = SendMessageW(other, LB_GETCURSEL, 0, 0);
    wchar_t text[256] = {};
    if (index != LB_ERR && SendMessageW(other, LB_GETTEXTLEN, index, 0) < 256)
        SendMessageW(other, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// Selects the item with this text as the list box reports a user's choice;
// the other list's selected text. Wide messages both ways: under Wine, text
// sent with the ANSI function to another process comes back in UTF-16.
std::wstring Choose(HWND dialog, int listId, const wchar_t* text)
{
    HWND list = GetDlgItem(dialog, listId);
    const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    SendMessageA(list, LB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return OtherSelection(dialog, listId == IDC_CODE_LIST ? IDC_DESCRIPTION_LIST : IDC_CODE_LIST);
}

// What every hostile run must still allow: the program starts, a choice in
// either list selects the same domain in the other and switches the visit
// button, the About box opens and closes, and Escape ends the program with 2.
// A crash ends it with another code (the crash dialog is off in the test
// prefixes), a hang fails a wait.
void CheckProgramWorks(const std::string& program)
{
    ScopedRegistryValue unmanaged(testing::UnmanagedWindowsKey(program), "Managed", REG_SZ, "N", 2);
    testing::TestProcess process(program);
    // The window shows once the button images are made; for the 1,000 x
    // 1,000 bitmap that is millions of colour conversions, tens of seconds
    // when the machine is emulated and busy.
    HWND dialog = process.FindWindowTitled(ZVX_TITLE, 90000);
    CHECK(dialog != nullptr);
    const bool idle = dialog != nullptr && process.WaitIdle();
    CHECK_MESSAGE(idle, "the program never waited for input");
    if (!idle)
        return;
    CHECK((Choose(dialog, IDC_CODE_LIST, L"de") == L"Germany"));
    CHECK(IsWindowEnabled(GetDlgItem(dialog, IDC_VISIT)));
    // Benin has no registrar: the button turns unavailable.
    CHECK((Choose(dialog, IDC_DESCRIPTION_LIST, L"Benin") == L"bj"));
    CHECK_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_VISIT)));

    // Posted: the command runs the box's modal loop and returns only when it ends.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, ID_APP_ABOUT)));
    HWND about = process.FindWindowTitled("About", 10000);
    CHECK(about != nullptr);
    if (about != nullptr) {
        CHECK(process.WaitIdle(5000));
        testing::PostKey(about, VK_ESCAPE);
        CHECK(testing::WaitUntil([&] { return !IsWindow(about) && IsWindowEnabled(dialog); }, 10000));
    }
    testing::PostKey(dialog, VK_ESCAPE);
    CHECK(process.WaitExit(10000) == 2);
}

} // namespace

TEST_CASE("the program works with malformed registry values and damaged resources")
{
    for (const Run& run : Runs()) {
        SUBCASE(run.name.c_str())
        {
            std::list<ScopedRegistryValue> values;
            for (const Setting& setting : run.settings) {
                values.emplace_back(setting.key, setting.name, setting.data.type, setting.data.bytes.data(),
                                    setting.data.size);
                REQUIRE(values.back().Written());
            }
            if (run.type == nullptr) {
                CheckProgramWorks(testing::ProgramPath());
                continue;
            }
            const LPCSTR id = MAKEINTRESOURCEA(run.id);
            const std::string copy = run.data.empty()
                ? testing::CopyWithoutResource(testing::ProgramPath(), run.type, id)
                : testing::CopyWithResource(testing::ProgramPath(), run.type, id, run.data.data(),
                                            static_cast<DWORD>(run.data.size()));
            REQUIRE_FALSE(copy.empty());
            CheckProgramWorks(copy);
            DeleteFileA(copy.c_str());
        }
    }
}
