// The appearance scheme that chooses between the classic and the themed look,
// read from values written into the test prefix's registry. The key does not
// exist there at the start; the test removes it again when done.
#include <doctest.h>

#include <windows.h>

#include <string>

#include "controls/IconButton.h"
#include "controls/VisualStyle.h"

const char appearanceKey[] = "Control Panel\\Appearance";

TEST_CASE("without an appearance key the look is classic")
{
    HKEY key = nullptr;
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, appearanceKey, 0, KEY_READ, &key) == ERROR_FILE_NOT_FOUND);
    CHECK_FALSE(VisualStyle::IsStyledScheme());
}

TEST_CASE("only the standard scheme, in any case and any value type, is classic; hostile values are another scheme")
{
    struct Case { DWORD type; std::string data; bool styled; };
    const std::string standard = "Windows Standard";
    const Case cases[] = {
        {REG_SZ, standard + '\0', false},
        {REG_SZ, "wINDOWS sTANDARD" + std::string(1, '\0'), false},
        {REG_EXPAND_SZ, standard + '\0', false},
        // Stored without its terminator: still the name, and nothing past it is read.
        {REG_SZ, standard, false},
        {REG_SZ, "Zonarium Slate" + std::string(1, '\0'), true},
        {REG_SZ, standard + " (large)" + '\0', true},
        {REG_SZ, std::string(1, '\0'), true},
        // The bytes count, not the type.
        {REG_BINARY, standard, false},
        {REG_BINARY, standard + '\0' + "tail", false},
        {REG_MULTI_SZ, standard + '\0' + '\0', false},
        {REG_MULTI_SZ, standard + '\0' + "Zonarium Slate" + '\0' + '\0', false},
        {REG_DWORD, "Wind", true},
        {REG_SZ, std::string(199, 'W'), true},
        {REG_SZ, std::string(5000, 'W') + '\0', true},
        // The name at the start of a value too long to read is no match either.
        {REG_SZ, standard + std::string(200, ' ') + '\0', true},
        {REG_BINARY, std::string(300, 'x'), true},
    };
    HKEY key = nullptr;
    REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, appearanceKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr) == ERROR_SUCCESS);
    for (const Case& c : cases) {
        CAPTURE(c.data);
        REQUIRE(RegSetValueExA(key, "Current", 0, c.type, reinterpret_cast<const BYTE*>(c.data.data()),
                               static_cast<DWORD>(c.data.size())) == ERROR_SUCCESS);
        CHECK(VisualStyle::IsStyledScheme() == c.styled);
    }
    RegDeleteValueA(key, "Current");
    CHECK(VisualStyle::IsStyledScheme());
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, appearanceKey);
}
