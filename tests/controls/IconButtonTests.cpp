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
#include "support/BitmapPixels.h"
#include "support/ExitIcon.h"
#include "support/MessageSpy.h"
#include "support/ScreenPixels.h"
#include "support/TestParent.h"

using testing::BitmapPixels;

namespace {

constexpr COLORREF magenta = RGB(255, 0, 255);
constexpr COLORREF unpainted = RGB(1, 2, 3);
constexpr int buttonId = 1002;
constexpr UINT noSuchBitmap = 1;
constexpr UINT noSuchBitmaps[IconButton::iconSizeCount] = {noSuchBitmap, noSuchBitmap, noSuchBitmap, noSuchBitmap};
// The Exit bitmaps by size, as the main dialog hands them to its button.
constexpr UINT exitBitmaps[IconButton::iconSizeCount] = {IDB_EXIT, IDB_EXIT_20, IDB_EXIT_24, IDB_EXIT_32};

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
    BitmapPixels Render(UINT state)
    {
        HDC dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        HBITMAP bitmap = testing::CreateTopDownDib(width, height, &bits);
        HGDIOBJ previous = SelectObject(dc, bitmap);
        std::fill_n(static_cast<DWORD*>(bits), width * height, 0x010203);
        DRAWITEMSTRUCT item = {ODT_BUTTON, buttonId, 0, ODA_DRAWENTIRE, state, window, dc, {0, 0, width, height}, 0};
        CHECK(SendMessageA(window, OCM_DRAWITEM, buttonId, reinterpret_cast<LPARAM>(&item)) == TRUE);
        GdiFlush();
        const BitmapPixels picture(width, height, bits);
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return picture;
    }

    // Declared first, so destroyed last: the window goes before the object it calls.
    IconButton button;
    testing::TestParent parent{300, 200, 400, 200};
    int width;
    int height;
    HWND window = nullptr;
};

// Display scales, the Exit bitmap each must draw, and its size: the largest
// size not beyond 16 pixels at that scale.
struct Scale { UINT dpi; UINT bitmap; int size; };
const Scale scales[] = {{96, IDB_EXIT, 16},     {120, IDB_EXIT_20, 20}, {144, IDB_EXIT_24, 24},
                        {192, IDB_EXIT_32, 32}, {168, IDB_EXIT_24, 24}, {72, IDB_EXIT, 16}};

BitmapPixels ExitBitmap(UINT id = IDB_EXIT)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    const BitmapPixels pixels = BitmapPixels::Read(bitmap);
    DeleteObject(bitmap);
    return pixels;
}

// Whether the opaque pixels of the Exit bitmap appear unaltered with their top left corner at (x, y).
bool ShowsSourceIconAt(const BitmapPixels& shown, int x, int y, UINT id = IDB_EXIT)
{
    const BitmapPixels source = ExitBitmap(id);
    for (int row = 0; row < source.Height(); ++row)
        for (int column = 0; column < source.Width(); ++column)
            if (source.At(column, row) != magenta && shown.At(x + column, y + row) != source.At(column, row))
                return false;
    return source.Width() > 0;
}

// Where the bitmap source has the key, placed at (left, top), the picture with
// the icon shows what the one without it (the face) shows.
void CheckKeyShowsFace(const BitmapPixels& source, const BitmapPixels& withIcon, const BitmapPixels& face, int left,
                       int top)
{
    int keyed = 0, differing = 0;
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x)
            if (source.At(x, y) == magenta) {
                ++keyed;
                differing += withIcon.At(left + x, top + y) != face.At(left + x, top + y);
            }
    CHECK(keyed > 0);
    CHECK(differing == 0);
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
    const std::vector<COLORREF> shown = fixture.Render(0).Colours();
    CHECK(std::count(shown.begin(), shown.end(), unpainted) < fixture.width * fixture.height / 20);
}

TEST_CASE("the pointer entering and leaving repaints the button at once in the themed look only")
{
    ButtonFixture fixture;
    UpdateWindow(fixture.window);  // what opening left to paint is not counted
    int buttonPaints = 0;
    const testing::MessageSpy paints(fixture.window, [&](UINT message, WPARAM, LPARAM, LRESULT&) {
        buttonPaints += message == WM_PAINT;
        return false;
    });
    const int expected = ZVX_EXPECT_THEMED ? 1 : 0;
    SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    CHECK(fixture.button.IsHover());
    CHECK(buttonPaints == expected);
    // Only the first move of a visit counts.
    SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));
    CHECK(buttonPaints == expected);
    SendMessageA(fixture.window, WM_MOUSELEAVE, 0, 0);
    CHECK_FALSE(fixture.button.IsHover());
    CHECK(buttonPaints == 2 * expected);
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
    const BitmapPixels source = ExitBitmap();
    const BitmapPixels disabled = fixture.Render(ODS_DISABLED);
    int coloured = 0;
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
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
        const BitmapPixels source = ExitBitmap(scale.bitmap);
        REQUIRE(source.Width() == scale.size);
        // The icon's offset grows with it: 6 of 16 pixels, rounded.
        const int left = (6 * scale.size + 8) / 16, top = (fixture.height - scale.size) / 2;
        SendMessageA(fixture.window, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        const BitmapPixels hot = fixture.Render(0);
        CHECK(ShowsSourceIconAt(hot, left, top, scale.bitmap));
        // Where the bitmap has the key, the face shows as it does without an icon.
        fixture.button.LoadImages(noSuchBitmaps, magenta, DpiApi::dpiAt100);
        CheckKeyShowsFace(source, hot, fixture.Render(0), left, top);
    }
}

TEST_CASE("on the screen the face shows through the key colour in every variant")
{
    ButtonFixture fixture;
    const BitmapPixels source = ExitBitmap();
    REQUIRE(source.Width() > 0);
    const int top = (fixture.height - source.Height()) / 2;
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
        CheckKeyShowsFace(source, withIcon[i].Pixels(), show(variants[i]).Pixels(), 6, top);
    }
}

TEST_CASE("the focus rectangle is inset 4 pixels in the classic look, 3 in the themed one")
{
    ButtonFixture fixture;
    const int inset = fixture.button.IsThemed() ? 3 : 4;
    // The focus rectangle is all that ODS_NOFOCUSRECT takes away.
    const BitmapPixels focused = fixture.Render(ODS_FOCUS);
    const BitmapPixels hidden = fixture.Render(ODS_FOCUS | ODS_NOFOCUSRECT);
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
    const std::vector<COLORREF> whole = fixture.Render(0).Colours();
    SetWindowTextA(fixture.window, caption.substr(0, 99).c_str());
    CHECK(whole == fixture.Render(0).Colours());
    SetWindowTextA(fixture.window, caption.substr(0, 98).c_str());
    CHECK(whole != fixture.Render(0).Colours());
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
        const RECT iconSide = {0, 0, 24, fixture.height};
        CHECK(testing::ScreenPixels(fixture.window).Count(testing::IsExitRed, iconSide) > 50);
    }
}
