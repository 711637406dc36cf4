#include <doctest.h>
#include <windows.h>
#include <commctrl.h>
#include <sddl.h>

#include <string>

#include "HyperlinkTestSupport.h"
#include "controls/HyperlinkLabel.h"
#include "controls/LinkColors.h"

// These cases write the colour values of the test prefix's current user and
// remove them again; they run alone (SERIAL) so that no other test reads them.

namespace {

const char* const settingsKey = "Software\\Microsoft\\Internet Explorer\\Settings";
const COLORREF defaultLink = RGB(0, 0, 255);
const COLORREF defaultVisited = RGB(128, 0, 128);

class ColourValues {
public:
    ColourValues()
    {
        RestoreAccessIfLost();
        ::RegCreateKeyExA(HKEY_CURRENT_USER, settingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        Clear();
    }
    ~ColourValues()
    {
        Clear();
        ::RegCloseKey(key);
    }
    void Clear()
    {
        ::RegDeleteValueA(key, "Anchor Color");
        ::RegDeleteValueA(key, "Anchor Color Visited");
    }
    void Write(const char* name, DWORD type, const void* data, DWORD bytes)
    {
        REQUIRE(::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS);
    }
    void String(const char* name, const std::string& text, DWORD type = REG_SZ)
    {
        Write(name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

private:
    // A run that ended inside the read-only case left the key without write
    // access; give it back the access a new prefix has.
    static void RestoreAccessIfLost()
    {
        HKEY probe;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, KEY_READ | KEY_WRITE, &probe) == ERROR_SUCCESS) {
            ::RegCloseKey(probe);
            return;
        }
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, WRITE_DAC, &probe) != ERROR_SUCCESS)
            return;
        PSECURITY_DESCRIPTOR sd = nullptr;
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;CIIO;GR;;;BU)(A;;KA;;;BA)", SDDL_REVISION_1,
                                                                   &sd, nullptr)) {
            ::RegSetKeySecurity(probe, DACL_SECURITY_INFORMATION, sd);
            ::LocalFree(sd);
        }
        ::RegCloseKey(probe);
    }

    HKEY key = nullptr;
};

// The key readable but not writable for the test's duration, as for a user
// whom the administrator keeps from changing the browser's settings.
class ReadOnlyKey {
public:
    ReadOnlyKey()
    {
        REQUIRE(::RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, READ_CONTROL | WRITE_DAC, &key) == ERROR_SUCCESS);
        DWORD size = sizeof original;
        REQUIRE(::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, original, &size) == ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        REQUIRE(::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly,
                                                                       nullptr));
        const LONG status = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly);
        ::LocalFree(readOnly);
        REQUIRE(status == ERROR_SUCCESS);
    }
    ~ReadOnlyKey()
    {
        ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, original);
        ::RegCloseKey(key);
    }

private:
    HKEY key = nullptr;
    alignas(8) BYTE original[1024];
};

struct Colours {
    COLORREF link = defaultLink;
    COLORREF visited = defaultVisited;
};

Colours Read()
{
    Colours colours;
    ReadLinkColors(colours.link, colours.visited);
    return colours;
}

} // namespace

TEST_CASE("link colours come from the browser settings")
{
    ColourValues values;

    SUBCASE("none set: the defaults stay")
    {
        const Colours colours = Read();
        CHECK(colours.link == defaultLink);
        CHECK(colours.visited == defaultVisited);
    }
    SUBCASE("both set")
    {
        values.String("Anchor Color", "0,128,255");
        values.String("Anchor Color Visited", "300,0,0");
        const Colours colours = Read();
        CHECK(colours.link == RGB(0, 128, 255));
        CHECK(colours.visited == RGB(44, 0, 0));
    }
    SUBCASE("an expandable string is taken literally; eleven characters still fit")
    {
        values.String("Anchor Color", "%1,0,0", REG_EXPAND_SZ);
        values.String("Anchor Color Visited", "255,255,255");
        const Colours colours = Read();
        CHECK(colours.link == RGB(0, 0, 0));
        CHECK(colours.visited == RGB(255, 255, 255));
    }
    SUBCASE("a bad first value does not keep the second from being read")
    {
        values.String("Anchor Color", "1,2");
        values.String("Anchor Color Visited", "1,2,3");
        const Colours colours = Read();
        CHECK(colours.link == defaultLink);
        CHECK(colours.visited == RGB(1, 2, 3));
    }
}

TEST_CASE("colour values of the wrong kind leave the defaults")
{
    ColourValues values;
    const char text[] = "0,128,255";

    SUBCASE("DWORD")
    {
        const DWORD number = RGB(0, 128, 255);
        values.Write("Anchor Color", REG_DWORD, &number, sizeof number);
    }
    SUBCASE("binary holding the text")
    {
        values.Write("Anchor Color", REG_BINARY, text, sizeof text);
    }
    SUBCASE("multi-string")
    {
        const char multi[] = "0,128,255\0";
        values.Write("Anchor Color", REG_MULTI_SZ, multi, sizeof multi);
    }
    SUBCASE("string stored without its terminator")
    {
        // The byte after the counted ones must not be NUL, or the registry
        // counts it in for the caller (as Windows does).
        const char unterminated[] = "0,128,255!";
        values.Write("Anchor Color", REG_SZ, unterminated, sizeof unterminated - 2);
    }
    SUBCASE("twelve characters and more")
    {
        values.String("Anchor Color", " 0,128,255  ");
    }
    SUBCASE("far too long")
    {
        values.String("Anchor Color", "0,128,255" + std::string(5000, ' '));
    }
    SUBCASE("empty")
    {
        values.String("Anchor Color", "");
    }
    SUBCASE("no bytes at all")
    {
        values.Write("Anchor Color", REG_SZ, "", 0);
    }
    CHECK(Read().link == defaultLink);
}

TEST_CASE("a user who may only read the browser settings still gets their colours")
{
    ColourValues values;
    values.String("Anchor Color", "10,20,30");
    values.String("Anchor Color Visited", "40,50,60");
    ReadOnlyKey readOnly;

    HKEY probe;
    REQUIRE(::RegOpenKeyExA(HKEY_CURRENT_USER, settingsKey, 0, KEY_READ | KEY_WRITE, &probe)
            == ERROR_ACCESS_DENIED);
    const Colours colours = Read();
    CHECK(colours.link == RGB(10, 20, 30));
    CHECK(colours.visited == RGB(40, 50, 60));
}

TEST_CASE("a label reads the colours when attached and paints its link in them")
{
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    ColourValues values;
    values.String("Anchor Color", "0,160,0");
    values.String("Anchor Color Visited", "200,0,0");

    HyperlinkLabel text;
    HyperlinkLabel picture;
    TestDialog dialog({{100, SS_LEFT, 4, 4, 200, 10, "http://zonarium.test/colours"},
                       {101, SS_BITMAP, 4, 20, 20, 20, ""}});
    REQUIRE(text.SubclassWindow(dialog.Item(100)));
    REQUIRE(picture.SubclassWindow(dialog.Item(101)));
    CHECK(text.GetLinkColor() == RGB(0, 160, 0));
    CHECK(text.GetVisitedColor() == RGB(200, 0, 0));
    // Pictures paint themselves, so their label does not read the colours.
    CHECK(picture.GetLinkColor() == defaultLink);
    CHECK(picture.GetVisitedColor() == defaultVisited);

    ::InvalidateRect(text, nullptr, TRUE);
    ::UpdateWindow(text);
    const ClientPixels pixels(text);
    CHECK(pixels.Count(RGB(0, 160, 0), text.GetLinkRect()) > 0);
    CHECK(pixels.Count(defaultLink) == 0);
}
