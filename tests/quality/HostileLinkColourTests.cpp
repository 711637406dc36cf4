#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "quality/HostileChecks.h"
#include "quality/RegistryBytes.h"
#include "quality/ScopedRegistryValue.h"
#include "quality/ScreenPixels.h"
#include "res/AppLinks.h"
#include "res/resource.h"
#include "support/ShellLog.h"
#include "support/WinePaths.h"

using testing::RegistryBytes;
using testing::ScopedRegistryValue;
using testing::ScreenPixels;

namespace {

const char* const settingsKey = "Software\\Microsoft\\Internet Explorer\\Settings";
const COLORREF defaultLink = RGB(0, 0, 255);
const COLORREF defaultVisited = RGB(128, 0, 128);
// Link text of one line shows far more pixels than this in its colour.
const int textPixels = 20;

struct Shape {
    const char* name;
    DWORD type;
    RegistryBytes data;
    // The colour the value stands for, or CLR_INVALID when it is no colour
    // and the default must stay.
    COLORREF colour;
};

std::string Repeated(const char* piece, size_t length)
{
    std::string text;
    while (text.size() < length)
        text += piece;
    return text.substr(0, length);
}

// Clicks the link as the mouse does: the centre of the static holds its text.
void ClickLink(HWND link)
{
    RECT client;
    GetClientRect(link, &client);
    const LPARAM point = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(link, WM_LBUTTONUP, 0, point);
}

} // namespace

// Both link colours are read at each opening of the About box into a buffer
// of 12 bytes. Each run gives "Anchor Color" one shape and "Anchor Color
// Visited" the next, so every shape meets both values over the runs.
TEST_CASE("the About box's links keep working colours whatever the browser's colour values hold")
{
    const std::vector<Shape> shapes = {
        {"5,000 characters", REG_SZ, RegistryBytes::Text(Repeated("10,200,30,", 5000)), CLR_INVALID},
        {"a number", REG_DWORD, RegistryBytes::Dword(0x0000FF00), CLR_INVALID},
        {"binary", REG_BINARY, RegistryBytes::Text("0,160,0", false), CLR_INVALID},
        {"a string without terminator", REG_SZ, RegistryBytes::Text("0,160,0", false), CLR_INVALID},
        // Exactly fills the buffer, leaving no room for a terminator.
        {"12 characters without terminator", REG_SZ, RegistryBytes::Text("0,160,000000", false), CLR_INVALID},
        // Eleven characters of empty numbers: each reads as 0.
        {"11 commas", REG_SZ, RegistryBytes::Text(",,,,,,,,,,,"), RGB(0, 0, 0)},
        {"huge numbers", REG_SZ, RegistryBytes::Text("99999999999,99999999999,99999999999"), CLR_INVALID},
        {"huge numbers that fit", REG_SZ, RegistryBytes::Text("4294967297,"), CLR_INVALID},
        {"negative numbers", REG_SZ, RegistryBytes::Text("-1,-1,-1"), CLR_INVALID},
        {"an empty string", REG_SZ, RegistryBytes::Text(""), CLR_INVALID},
        // The control: a well-formed value is read at all.
        {"a well-formed colour", REG_SZ, RegistryBytes::Text("0,160,0"), RGB(0, 160, 0)},
    };
    for (size_t i = 0; i < shapes.size(); ++i) {
        const Shape& link = shapes[i];
        const Shape& visited = shapes[(i + 1) % shapes.size()];
        const std::string name = std::string("link colour ") + link.name + ", visited colour " + visited.name;
        SUBCASE(name.c_str())
        {
            ScopedRegistryValue linkValue(settingsKey, "Anchor Color", link.type, link.data.bytes.data(),
                                          link.data.size);
            ScopedRegistryValue visitedValue(settingsKey, "Anchor Color Visited", visited.type,
                                             visited.data.bytes.data(), visited.data.size);
            REQUIRE(linkValue.Written());
            REQUIRE(visitedValue.Written());
            const COLORREF linkColour = link.colour != CLR_INVALID ? link.colour : defaultLink;
            const COLORREF visitedColour = visited.colour != CLR_INVALID ? visited.colour : defaultVisited;

            testing::CheckProgramWorks(testing::ProgramPath(), nullptr, [&](HWND about) {
                HWND webLink = GetDlgItem(about, IDC_ABOUT_WEB_LINK);
                CHECK(ScreenPixels::WaitFor(webLink, linkColour, textPixels, 3000) >= textPixels);
                // Opening the site through the stand-in browser marks the link visited.
                testing::ShellLog shell;
                ClickLink(webLink);
                CHECK(shell.WaitFor(AppLinks::webAddress));
                CHECK(ScreenPixels::WaitFor(webLink, visitedColour, textPixels, 5000) >= textPixels);
                CHECK(ScreenPixels::Count(webLink, linkColour) < textPixels);
            });
        }
    }
}
