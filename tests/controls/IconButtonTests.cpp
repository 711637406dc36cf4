// The icon button in the desktop look of the test's Wine prefix: built three
// times, for the classic, styled and unstyled prefixes, with the look it must
// find there in ZVX_EXPECT_STYLED_SCHEME and ZVX_EXPECT_THEMED.
#include <doctest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/IconButton.h"
#include "controls/VisualStyle.h"
#include "controls/ThemeApi.h"
#include "framework/DpiApi.h"
#include "res/resource.h"
#include "support/ScreenPixels.h"
#include "tests/controls/TestParent.h"

namespace {

constexpr COLORREF magenta = RGB(255, 0, 255);
constexpr COLORREF unpainted = RGB(1, 2, 3);
constexpr int buttonId = 1002;
constexpr UINT noSuchBitmap = 1;
constexpr UINT noSuchBitmaps[IconButton::iconSizeCount] = {noSuchBitmap, noSuchBitmap, noSuchBitmap, noSuchBitmap};
// The Exit bitmaps by size, as the main dialog hands them to its button.
constexpr UINT exitBitmaps[IconButton::iconSizeCount] = {IDB_EXIT, IDB_EXIT_20, IDB_EXIT_24, IDB_EXIT_32};

// A width x height picture, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[y * width + x]; }
};

BITMAPINFO Info(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

Picture FromDib(const DWORD* bits, int width, int height)
{
    Picture picture{width, height, {}};
    for (int i = 0; i < width * height; ++i)
        picture.pixels.push_back(RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF));
    return picture;
}

// A button on a visible parent, attached and with the Exit bitmap's icons.
struct ButtonFixture {
    ButtonFixture(int width = 160, int height = 26) : width(width), height(height)
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
        InitCommonControlsEx(&init);
        window = parent.AddChild("BUTTON", "Exit", BS_PUSHBUTTON | WS_TABSTOP, 10, 10, width, height, buttonId);
        button.SubclassWindow(window);
        button.LoadImages(exitBitmaps, magenta, DpiApi::dpiAt100);
    }

    // What the button draws for one request, over a canvas of unpainted pixels.
    Picture Render(UINT state)
    {
        const BITMAPINFO info = Info(width, height);
        HDC dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        std::fill_n(static_cast<DWORD*>(bits), width * height, 0x010203);
        DRAWITEMSTRUCT item = {ODT_BUTTON, buttonId, 0, ODA_DRAWENTIRE, state, window, dc, {0, 0, width, height}, 0};
        CHECK(SendMessageA(window, OCM_DRAWITEM, buttonId, reinterpret_cast<LPARAM>(&item)) == TRUE);
        GdiFlush();
        const Picture picture = FromDib(static_cast<const DWORD*>(bits), width, height);
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return picture;
    }

    // Declared first, so destroyed last: the window goes before the object it calls.
    IconButton button;
    TestParent parent{300, 200, 400, 200};
    int width;
    int height;
    HWND window = nullptr;
};

// Counts the paints that reach the button's window.
WNDPROC buttonProc = nullptr;
int buttonPaints = 0;
LRESULT CALLBACK PaintCounter(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    buttonPaints += message == WM_PAINT;
    return CallWindowProcA(buttonProc, window, message, wParam, lParam);
}

// Display scales, the Exit bitmap each must draw, and its size: the largest
// size not beyond 16 pixels at that scale.
struct Scale { UINT dpi; UINT bitmap; int size; };
const Scale scales[] = {{96, IDB_EXIT, 16},     {120, IDB_EXIT_20, 20}, {144, IDB_EXIT_24, 24},
                        {192, IDB_EXIT_32, 32}, {168, IDB_EXIT_24, 24}, {72, IDB_EXIT, 16}};

Picture ExitBitmap(UINT id = IDB_EXIT)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    BITMAP size = {};
    GetObjectA(bitmap, sizeof(size), &size);
    BITMAPINFO info = Info(size.bmWidth, size.bmHeight);
    std::vector<DWORD> bits(size.bmWidth * size.bmHeight);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, size.bmHeight, bits.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return FromDib(bits.data(), size.bmWidth, size.bmHeight);
}

// Whether the opaque pixels of the Exit bitmap appear unaltered with their top left corner at (x, y).
bool ShowsSourceIconAt(const Picture& shown, int x, int y, UINT id = IDB_EXIT)
{
    const Picture source = ExitBitmap(id);
    for (int row = 0; row < source.height; ++row)
        for (int column = 0; column < source.width; ++column)
            if (source.At(column, row) != magenta && shown.At(x + column, y + row) != source.At(column, row))
                return false;
    return source.width > 0;
}

} // namespace

TEST_CASE("the button takes the look of the desktop it starts on")
{
    CHECK(ThemeApi::IsAvailable());
    CHECK(VisualStyle::IsStyledScheme() == ZVX_EXPECT_STYLED_SCHEME);
    ButtonFixture fixture;
    CHECK(fixture.button.IsThemed() == ZVX_EXPECT_THEMED);
    CHECK((fixture.button.GetTheme() != nullptr) == (ZVX_EXPECT_THEMED != 0));
    // Whatever the look (no theme included), the button has a face: nearly every pixel is painted over.
    const Picture shown = fixture.Render(0);
    CHECK(std::count(shown.pixels.begin(), shown.pixels.end(), unpainted) < fixture.width * fixture.height / 20);
}

TEST_CASE("the pointer entering and leaving repaints the button at once in the themed look only")
{
    ButtonFixture fixture;
    UpdateWindow(fixture.window);  // what opening left to paint is not counted
    buttonProc = reinterpret_cast<WNDPROC>(
        SetWindowLongA(fixture.window, GWL_WNDPROC, reinterpret_cast<LONG>(PaintCounter)));
    const int expected = ZVX_EXPECT_THEMED ? 1 : 0;
    buttonPaints = 0;
    SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    CHECK(fixture.button.IsHover());
    CHECK(buttonPaints == expected);
    // Only the first move of a visit counts.
    SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    CHECK(buttonPaints == expected);
    SendMessageA(fixture.window, WM_MOUSELEAVE, 0, 0);
    CHECK_FALSE(fixture.button.IsHover());
    CHECK(buttonPaints == 2 * expected);
    SetWindowLongA(fixture.window, GWL_WNDPROC, reinterpret_cast<LONG>(buttonProc));
}

TEST_CASE("icon placement and images")
{
    ButtonFixture fixture;
    const int top = (fixture.height - 16) / 2;
    SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    REQUIRE(fixture.button.IsHover());
    CHECK(ShowsSourceIconAt(fixture.Render(0), 6, top));
    // Pressed: moved by one pixel in the classic look only.
    const int offset = fixture.button.IsThemed() ? 0 : 1;
    CHECK(ShowsSourceIconAt(fixture.Render(ODS_SELECTED), 6 + offset, top + offset));

    // Disabled: the grey icon covers the coloured one.
    const Picture source = ExitBitmap();
    const Picture disabled = fixture.Render(ODS_DISABLED);
    int coloured = 0;
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const COLORREF now = disabled.At(6 + x, top + y);
            coloured += source.At(x, y) != magenta && (GetRValue(now) != GetGValue(now) || GetGValue(now) != GetBValue(now));
        }
    }
    CHECK(coloured == 0);
}

TEST_CASE("at each display scale the icon of its size, placed and keyed in proportion")
{
    for (const Scale& scale : scales) {
        CAPTURE(scale.dpi);
        ButtonFixture fixture(220, 44);
        fixture.button.LoadImages(exitBitmaps, magenta, scale.dpi);
        const Picture source = ExitBitmap(scale.bitmap);
        REQUIRE(source.width == scale.size);
        // The icon's offset grows with it: 6 of 16 pixels, rounded.
        const int left = (6 * scale.size + 8) / 16, top = (fixture.height - scale.size) / 2;
        SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        const Picture hot = fixture.Render(0);
        CHECK(ShowsSourceIconAt(hot, left, top, scale.bitmap));
        // Where the bitmap has the key, the face shows as it does without an icon.
        fixture.button.LoadImages(noSuchBitmaps, magenta, DpiApi::dpiAt100);
        const Picture face = fixture.Render(0);
        int keyed = 0, shown = 0;
        for (int y = 0; y < source.height; ++y)
            for (int x = 0; x < source.width; ++x)
                if (source.At(x, y) == magenta) {
                    ++keyed;
                    shown += hot.At(left + x, top + y) != face.At(left + x, top + y);
                }
        CHECK(keyed > 0);
        CHECK(shown == 0);
    }
}

TEST_CASE("on the screen the face shows through the key colour in every variant")
{
    ButtonFixture fixture;
    const Picture source = ExitBitmap();
    REQUIRE(source.width > 0);
    const int top = (fixture.height - source.height) / 2;
    struct Variant { const char* name; bool hover, enabled; };
    const Variant variants[] = {{"at rest", false, true}, {"under the pointer", true, true}, {"disabled", false, false}};
    // What each variant shows, with the icon and then, as reference, without it.
    const auto show = [&](const Variant& variant) {
        SendMessageA(fixture.window, variant.hover ? WM_MOUSEMOVE : WM_MOUSELEAVE, 0, MAKELPARAM(5, 5));
        EnableWindow(fixture.window, variant.enabled);
        InvalidateRect(fixture.window, nullptr, TRUE);
        UpdateWindow(fixture.window);
        return testing::ScreenPixels(fixture.window);
    };
    std::vector<testing::ScreenPixels> withIcon;
    for (const Variant& variant : variants)
        withIcon.push_back(show(variant));
    fixture.button.LoadImages(noSuchBitmaps, magenta, DpiApi::dpiAt100);
    for (size_t i = 0; i < withIcon.size(); ++i) {
        const std::string variant = variants[i].name;
        CAPTURE(variant);
        const testing::ScreenPixels face = show(variants[i]);
        int keyed = 0, covered = 0;
        for (int y = 0; y < source.height; ++y)
            for (int x = 0; x < source.width; ++x)
                if (source.At(x, y) == magenta) {
                    ++keyed;
                    covered += withIcon[i].At(6 + x, top + y) != face.At(6 + x, top + y);
                }
        CHECK(keyed > 0);
        CHECK(covered == 0);
    }
}

TEST_CASE("the focus rectangle is inset 4 pixels in the classic look, 3 in the themed one")
{
    ButtonFixture fixture;
    const int inset = fixture.button.IsThemed() ? 3 : 4;
    // The focus rectangle is all that ODS_NOFOCUSRECT takes away.
    const Picture focused = fixture.Render(ODS_FOCUS);
    const Picture hidden = fixture.Render(ODS_FOCUS | ODS_NOFOCUSRECT);
    RECT bounds = {fixture.width, fixture.height, -1, -1};
    for (int y = 0; y < fixture.height; ++y) {
        for (int x = 0; x < fixture.width; ++x) {
            if (focused.At(x, y) == hidden.At(x, y))
                continue;
            bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                      std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
        }
    }
    CHECK(bounds.left == inset);
    CHECK(bounds.top == inset);
    CHECK(bounds.right == fixture.width - inset);
    CHECK(bounds.bottom == fixture.height - inset);
}

TEST_CASE("at most 99 characters of the caption are drawn")
{
    ButtonFixture fixture(1200, 40);
    // Every character shows: runs of letters between single spaces.
    std::string caption;
    for (size_t i = 0; i < 150; ++i)
        caption += i % 10 == 4 ? ' ' : static_cast<char>('a' + i % 26);
    SetWindowTextA(fixture.window, caption.c_str());
    const std::vector<COLORREF> whole = fixture.Render(0).pixels;
    SetWindowTextA(fixture.window, caption.substr(0, 99).c_str());
    CHECK(whole == fixture.Render(0).pixels);
    SetWindowTextA(fixture.window, caption.substr(0, 98).c_str());
    CHECK(whole != fixture.Render(0).pixels);
}

TEST_CASE("made the dialog's default push button and back, the button keeps drawing itself")
{
    ButtonFixture fixture;
    // The dialog manager moves the default with BM_SETSTYLE, redrawing at once.
    for (const WPARAM style : {WPARAM(BS_DEFPUSHBUTTON), WPARAM(BS_PUSHBUTTON)}) {
        CAPTURE(style);
        SendMessageA(fixture.window, BM_SETSTYLE, style, TRUE);
        CHECK((GetWindowLongA(fixture.window, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW);
        UpdateWindow(fixture.window);
        // The Exit icon's red disc is there: the system would draw no icon.
        const testing::ScreenPixels shown(fixture.window);
        int red = 0;
        for (int y = 0; y < fixture.height; ++y)
            for (int x = 0; x < 24; ++x) {
                const COLORREF c = shown.At(x, y);
                red += GetRValue(c) > GetGValue(c) + 60 && GetRValue(c) > GetBValue(c) + 60;
            }
        CHECK(red > 50);
    }
}
