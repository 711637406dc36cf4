// The appearance scheme that chooses between the classic and the themed look,
// read from values written into the test prefix's registry. The key does not
// exist there at the start; the test removes it again when done.
#include <doctest.h>

#include <windows.h>

#include <initializer_list>
#include <string>

#include "controls/IconButton.h"

namespace {

const char appearanceKey[] = "Control Panel\\Appearance";

// Sets "Current" to raw bytes of the given type; the key is removed at the end.
class SchemeValue {
public:
    SchemeValue()
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, appearanceKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    }
    ~SchemeValue()
    {
        RegCloseKey(key);
        RegDeleteKeyA(HKEY_CURRENT_USER, appearanceKey);
    }
    SchemeValue(const SchemeValue&) = delete;
    SchemeValue& operator=(const SchemeValue&) = delete;

    void Set(DWORD type, const void* data, size_t size)
    {
        REQUIRE(RegSetValueExA(key, "Current", 0, type, static_cast<const BYTE*>(data),
                               static_cast<DWORD>(size)) == ERROR_SUCCESS);
    }
    void SetString(const std::string& text, DWORD type = REG_SZ) { Set(type, text.c_str(), text.size() + 1); }
    void Remove() { RegDeleteValueA(key, "Current"); }

private:
    HKEY key = nullptr;
};

} // namespace

TEST_CASE("without an appearance key the look is classic")
{
    HKEY key = nullptr;
    REQUIRE(RegOpenKeyExA(HKEY_CURRENT_USER, appearanceKey, 0, KEY_READ, &key) == ERROR_FILE_NOT_FOUND);
    CHECK_FALSE(IconButton::IsStyledScheme());
}

TEST_CASE("the standard scheme in any case is classic, any other scheme is styled")
{
    SchemeValue scheme;
    scheme.SetString("Windows Standard");
    CHECK_FALSE(IconButton::IsStyledScheme());
    scheme.SetString("wINDOWS sTANDARD");
    CHECK_FALSE(IconButton::IsStyledScheme());
    scheme.SetString("Windows Standard", REG_EXPAND_SZ);
    CHECK_FALSE(IconButton::IsStyledScheme());
    // Stored without its terminator: still the name, read into a zeroed buffer.
    scheme.Set(REG_SZ, "Windows Standard", 16);
    CHECK_FALSE(IconButton::IsStyledScheme());

    scheme.SetString("Zonarium Slate");
    CHECK(IconButton::IsStyledScheme());
    scheme.SetString("Windows Standard (large)");
    CHECK(IconButton::IsStyledScheme());
    scheme.SetString("");
    CHECK(IconButton::IsStyledScheme());
    scheme.Remove();
    CHECK(IconButton::IsStyledScheme());
}

TEST_CASE("values that are no string that fits count as another scheme")
{
    SchemeValue scheme;
    SUBCASE("the name as bytes of another type is not compared")
    {
        scheme.Set(REG_BINARY, "Windows Standard", 16);
        CHECK(IconButton::IsStyledScheme());
        const DWORD number = 0x646e6957; // "Wind"
        scheme.Set(REG_DWORD, &number, sizeof(number));
        CHECK(IconButton::IsStyledScheme());
    }

    SUBCASE("long values")
    {
        for (size_t length : {198u, 199u, 200u, 5000u}) {
            CAPTURE(length);
            scheme.SetString(std::string(length, 'W'));
            CHECK(IconButton::IsStyledScheme());
            // The name at the start of a value too long to read is no match either.
            scheme.SetString("Windows Standard" + std::string(length, ' '));
            CHECK(IconButton::IsStyledScheme());
        }
        std::string binary(300, 'x');
        scheme.Set(REG_BINARY, binary.data(), binary.size());
        CHECK(IconButton::IsStyledScheme());
    }
}
