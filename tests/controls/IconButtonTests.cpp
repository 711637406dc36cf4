// The icon button in the desktop look of the test's Wine prefix: built three
// times, for the classic, styled and unstyled prefixes, with the look it must
// find there in ZVX_EXPECT_STYLED_SCHEME and ZVX_EXPECT_THEMED.
#include <doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "controls/IconButton.h"
#include "res/resource.h"
#include "tests/controls/Canvas.h"
#include "tests/controls/TestParent.h"

namespace {

constexpr COLORREF magenta = RGB(255, 0, 255);
constexpr int buttonId = 1002;

struct CommonControls {
    CommonControls()
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
        InitCommonControlsEx(&init);
    }
};
const CommonControls commonControls;

// A button on a visible parent, attached and with the Exit bitmap's icons.
struct ButtonFixture {
    ButtonFixture(int width = 160, int height = 26, const char* caption = "Exit")
        : width(width), height(height)
    {
        window = parent.AddChild("BUTTON", caption, BS_PUSHBUTTON | WS_TABSTOP, 10, 10, width, height, buttonId);
        button.SubclassWindow(window);
        button.LoadImages(IDB_EXIT, magenta);
    }

    // What the button draws for one request into a canvas of its size.
    void Render(Canvas& canvas, UINT state)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = buttonId;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = window;
        item.hDC = canvas.dc;
        item.rcItem = {0, 0, width, height};
        CHECK(SendMessageA(window, OCM_DRAWITEM, buttonId, reinterpret_cast<LPARAM>(&item)) == TRUE);
    }

    std::vector<COLORREF> Rendering(UINT state)
    {
        Canvas canvas(width, height);
        Render(canvas, state);
        return canvas.Pixels();
    }

    void SetHover(bool on)
    {
        SendMessageA(window, on ? WM_MOUSEMOVE : WM_MOUSELEAVE, 0, MAKELPARAM(5, 5));
        REQUIRE(button.IsHover() == (on ? TRUE : FALSE));
    }

    // Declared first, so destroyed last: the window goes before the object it calls.
    IconButton button;
    TestParent parent{300, 200, 400, 200};
    int width;
    int height;
    HWND window = nullptr;
};

// The pixels of a bitmap resource, top row first.
std::vector<COLORREF> ResourcePixels(UINT id, int& width, int& height)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    width = info.bmWidth;
    height = info.bmHeight;
    BITMAPINFO header = {};
    header.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> raw(static_cast<size_t>(width * height));
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, raw.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    std::vector<COLORREF> pixels;
    for (DWORD value : raw)
        pixels.push_back(RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF));
    return pixels;
}

// Whether the opaque pixels of the Exit bitmap appear unaltered with their top
// left corner at (x, y).
bool ShowsSourceIconAt(const Canvas& canvas, int x, int y)
{
    int width = 0;
    int height = 0;
    const std::vector<COLORREF> source = ResourcePixels(IDB_EXIT, width, height);
    int opaque = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const COLORREF expected = source[row * width + column];
            const COLORREF drawn = canvas.At(x + column, y + row);
            if (expected == magenta) {
                if (drawn == magenta)
                    return false;
                continue;
            }
            ++opaque;
            if (drawn != expected)
                return false;
        }
    }
    return opaque > 0;
}

RECT DifferenceBounds(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b, int width)
{
    RECT bounds = {INT_MAX, INT_MAX, -1, -1};
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const int x = static_cast<int>(i) % width;
        const int y = static_cast<int>(i) / width;
        bounds.left = std::min<LONG>(bounds.left, x);
        bounds.top = std::min<LONG>(bounds.top, y);
        bounds.right = std::max<LONG>(bounds.right, x + 1);
        bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
    }
    return bounds;
}

int CountColour(const Canvas& canvas, const RECT& area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += canvas.At(x, y) == colour ? 1 : 0;
    return count;
}

// A caption whose every character shows: runs of letters between single spaces.
std::string LongCaption(size_t length)
{
    std::string text;
    for (size_t i = 0; i < length; ++i)
        text += i % 10 == 4 ? ' ' : static_cast<char>('a' + i % 26);
    return text;
}

} // namespace

TEST_CASE("the button takes the look of the desktop it starts on")
{
    CHECK(IconButton::IsThemingAvailable());
    CHECK(IconButton::IsStyledScheme() == ZVX_EXPECT_STYLED_SCHEME);

    ButtonFixture fixture;
    CHECK(fixture.button.IsThemed() == ZVX_EXPECT_THEMED);
    CHECK((fixture.button.GetTheme() != nullptr) == (ZVX_EXPECT_THEMED != 0));
    CHECK((GetWindowLongA(fixture.window, GWL_STYLE) & 0x400F) == BS_OWNERDRAW);

    // Whatever the look, the button has a face and a caption: nearly every
    // pixel is painted over, and another caption changes the text area.
    Canvas canvas(fixture.width, fixture.height, RGB(1, 2, 3));
    fixture.Render(canvas, 0);
    const std::vector<COLORREF> exit = canvas.Pixels();
    int untouched = 0;
    for (COLORREF pixel : exit)
        untouched += pixel == RGB(1, 2, 3) ? 1 : 0;
    CHECK(untouched < static_cast<int>(exit.size()) / 20);

    SetWindowTextA(fixture.window, "Quit");
    const RECT text = DifferenceBounds(exit, fixture.Rendering(0), fixture.width);
    CHECK(text.left >= 20);
    CHECK(text.right > text.left);
}

TEST_CASE("visual styles are bound at run time, never imported")
{
    // The program must start where uxtheme.dll is missing.
    const BYTE* base = reinterpret_cast<const BYTE*>(GetModuleHandleA(nullptr));
    const IMAGE_NT_HEADERS* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int libraries = 0;
    for (const IMAGE_IMPORT_DESCRIPTOR* library = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
             base + imports.VirtualAddress);
         library->Name != 0; ++library, ++libraries) {
        CAPTURE(reinterpret_cast<const char*>(base + library->Name));
        CHECK(lstrcmpiA(reinterpret_cast<const char*>(base + library->Name), "uxtheme.dll") != 0);
    }
    CHECK(libraries > 0);
}

TEST_CASE("the icons come from the bitmap resource")
{
    SUBCASE("a real bitmap gives three image lists of one 16 x 16 image")
    {
        ButtonFixture fixture;
        CHECK(fixture.button.GetIconWidth() == 16);
        CHECK(fixture.button.GetIconHeight() == 16);
        CHECK(ImageList_GetImageCount(fixture.button.GetHotImages()) == 1);
        CHECK(ImageList_GetImageCount(fixture.button.GetNormalImages()) == 1);
        CHECK(ImageList_GetImageCount(fixture.button.GetDisabledImages()) == 1);
    }

    SUBCASE("a missing bitmap leaves the button without icon, still drawn")
    {
        ButtonFixture withIcon;
        ButtonFixture fixture;
        fixture.button.LoadImages(999, magenta);
        CHECK(fixture.button.GetIconWidth() == 0);
        CHECK(fixture.button.GetIconHeight() == 0);
        CHECK(ImageList_GetImageCount(fixture.button.GetHotImages()) == 0);
        CHECK(ImageList_GetImageCount(fixture.button.GetNormalImages()) == 0);
        CHECK(ImageList_GetImageCount(fixture.button.GetDisabledImages()) == 0);

        // The same face and caption as with an icon, only the icon is missing.
        const RECT difference = DifferenceBounds(withIcon.Rendering(0), fixture.Rendering(0), fixture.width);
        CHECK(difference.left >= 6);
        CHECK(difference.right <= 22);
    }
}

TEST_CASE("icon placement and images")
{
    ButtonFixture fixture;
    const int top = (fixture.height - 16) / 2;
    Canvas canvas(fixture.width, fixture.height);

    SUBCASE("hovered: the bitmap unaltered, at the left and centred vertically")
    {
        fixture.SetHover(true);
        fixture.Render(canvas, 0);
        CHECK(ShowsSourceIconAt(canvas, 6, top));
    }

    SUBCASE("not hovered: another (the lightened) variant")
    {
        fixture.Render(canvas, 0);
        CHECK_FALSE(ShowsSourceIconAt(canvas, 6, top));
    }

    SUBCASE("an empty caption centres the icon")
    {
        SetWindowTextA(fixture.window, "");
        fixture.SetHover(true);
        fixture.Render(canvas, 0);
        CHECK(ShowsSourceIconAt(canvas, (fixture.width - 16) / 2, top));
    }

    SUBCASE("pressed: icon moved by one pixel in the classic look only")
    {
        fixture.SetHover(true);
        fixture.Render(canvas, ODS_SELECTED);
        if (fixture.button.IsThemed())
            CHECK(ShowsSourceIconAt(canvas, 6, top));
        else
            CHECK(ShowsSourceIconAt(canvas, 7, top + 1));
    }

    SUBCASE("disabled: the grey icon covers the coloured one")
    {
        fixture.Render(canvas, ODS_DISABLED);
        int width = 0;
        int height = 0;
        const std::vector<COLORREF> source = ResourcePixels(IDB_EXIT, width, height);
        int coloured = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (source[y * width + x] == magenta)
                    continue;
                const COLORREF now = canvas.At(6 + x, top + y);
                coloured += (GetRValue(now) != GetGValue(now) || GetGValue(now) != GetBValue(now)) ? 1 : 0;
            }
        }
        CHECK(coloured == 0);
    }
}

TEST_CASE("focus")
{
    ButtonFixture fixture;
    const int inset = fixture.button.IsThemed() ? 3 : 4;

    // The focus rectangle is all that ODS_NOFOCUSRECT takes away.
    const RECT focus = DifferenceBounds(fixture.Rendering(ODS_FOCUS),
                                        fixture.Rendering(ODS_FOCUS | ODS_NOFOCUSRECT), fixture.width);
    CHECK(focus.left == inset);
    CHECK(focus.top == inset);
    CHECK(focus.right == fixture.width - inset);
    CHECK(focus.bottom == fixture.height - inset);

    if (!fixture.button.IsThemed()) {
        // Classic: a black frame around a face one pixel smaller.
        Canvas focused(fixture.width, fixture.height);
        fixture.Render(focused, ODS_FOCUS | ODS_NOFOCUSRECT);
        Canvas plain(fixture.width, fixture.height);
        fixture.Render(plain, 0);
        for (int x = 0; x < fixture.width; ++x) {
            CHECK(focused.At(x, 0) == RGB(0, 0, 0));
            CHECK(focused.At(x, fixture.height - 1) == RGB(0, 0, 0));
        }
        for (int y = 0; y < fixture.height; ++y) {
            CHECK(focused.At(0, y) == RGB(0, 0, 0));
            CHECK(focused.At(fixture.width - 1, y) == RGB(0, 0, 0));
        }
        CHECK(plain.At(0, 0) != RGB(0, 0, 0));
        CHECK(focused.At(1, 1) == plain.At(0, 0));
        CHECK(focused.At(fixture.width / 2, fixture.height - 2) == plain.At(fixture.width / 2, fixture.height - 1));
    }
}

TEST_CASE("caption")
{
    SUBCASE("at most 99 characters are drawn")
    {
        ButtonFixture fixture(1200, 40);
        const std::string caption = LongCaption(150);
        SetWindowTextA(fixture.window, caption.c_str());
        const std::vector<COLORREF> whole = fixture.Rendering(0);
        SetWindowTextA(fixture.window, caption.substr(0, 99).c_str());
        const std::vector<COLORREF> first99 = fixture.Rendering(0);
        SetWindowTextA(fixture.window, caption.substr(0, 98).c_str());
        const std::vector<COLORREF> first98 = fixture.Rendering(0);
        CHECK(whole == first99);
        CHECK(whole != first98);
    }

    SUBCASE("classic disabled text is embossed in highlight and shadow")
    {
        ButtonFixture fixture;
        if (fixture.button.IsThemed())
            return;
        Canvas canvas(fixture.width, fixture.height);
        fixture.Render(canvas, ODS_DISABLED);
        // Inside the frame and right of the icon: only text and face.
        const RECT text = {24, 3, fixture.width - 3, fixture.height - 3};
        CHECK(CountColour(canvas, text, GetSysColor(COLOR_BTNHIGHLIGHT)) > 0);
        CHECK(CountColour(canvas, text, GetSysColor(COLOR_BTNSHADOW)) > 0);
        CHECK(CountColour(canvas, text, GetSysColor(COLOR_BTNTEXT)) == 0);

        Canvas enabled(fixture.width, fixture.height);
        fixture.Render(enabled, 0);
        CHECK(CountColour(enabled, text, GetSysColor(COLOR_BTNTEXT)) > 0);
    }
}

TEST_CASE("hover repaints at once in the themed look only")
{
    ButtonFixture fixture;
    const int expected = fixture.button.IsThemed() ? 1 : 0;
    TestParent::drawRequests = 0;
    SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 10));
    CHECK(fixture.button.IsHover());
    CHECK(TestParent::drawRequests == expected);
    SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(31, 11));
    CHECK(TestParent::drawRequests == expected);

    SendMessageA(fixture.window, WM_MOUSELEAVE, 0, 0);
    CHECK_FALSE(fixture.button.IsHover());
    CHECK(TestParent::drawRequests == 2 * expected);
    SendMessageA(fixture.window, WM_MOUSELEAVE, 0, 0);
    CHECK(TestParent::drawRequests == 2 * expected);
}
