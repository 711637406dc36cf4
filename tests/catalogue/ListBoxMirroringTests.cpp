#include <doctest.h>

#include <windows.h>

#include "MirroringCases.h"
#include "app/ListBoxList.h"

namespace {

constexpr char hostClassName[] = "ZvxCatalogueListHost";
int selectionChanges = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE)
        ++selectionChanges;
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterHostClass()
{
    static const ATOM atom = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = hostClassName;
        return RegisterClassA(&windowClass);
    }();
    return atom != 0;
}

HWND CreateListBox(HWND parent, int id, int x, int width)
{
    // The dialog's list-box style: sorted, notifying, no integral height.
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_SORT
                        | LBS_NOINTEGRALHEIGHT;
    return CreateWindowExA(0, "LISTBOX", nullptr, style, x, 10, width, 200, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

// A top-level window holding the two list boxes, filled the way the dialog fills them.
struct ListBoxes {
    HWND window = nullptr;         // owned; destroying it destroys the list boxes
    HWND codeWindow = nullptr;
    HWND descriptionWindow = nullptr;
    ListBoxList codes{nullptr};
    ListBoxList descriptions{nullptr};

    ListBoxes()
    {
        REQUIRE(RegisterHostClass());
        window = CreateWindowExA(0, hostClassName, "Catalogue lists", WS_OVERLAPPEDWINDOW, 40, 40, 420, 260,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        REQUIRE(window != nullptr);
        codeWindow = CreateListBox(window, 1000, 10, 80);
        descriptionWindow = CreateListBox(window, 1001, 100, 300);
        REQUIRE(codeWindow != nullptr);
        REQUIRE(descriptionWindow != nullptr);
        codes = ListBoxList(codeWindow);
        descriptions = ListBoxList(descriptionWindow);
        // The window stays hidden: sorting, searching and selecting do not
        // depend on it, and under Wine every selection change of a visible
        // list box paints at once, which makes these cases some fifty times
        // slower.
        for (const DomainRecord& record : domainTable) {
            SendMessageA(codeWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record.code));
            SendMessageA(descriptionWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record.description));
        }
        selectionChanges = 0;
    }

    ~ListBoxes()
    {
        if (window != nullptr)
            DestroyWindow(window);
    }

    ListBoxes(const ListBoxes&) = delete;
    ListBoxes& operator=(const ListBoxes&) = delete;

    HWND WindowOf(ListBoxList& list) { return &list == &codes ? codeWindow : descriptionWindow; }

    int Count(ListBoxList& list) { return static_cast<int>(SendMessageA(WindowOf(list), LB_GETCOUNT, 0, 0)); }
    void Add(ListBoxList& list, const char* item)
    {
        REQUIRE(SendMessageA(WindowOf(list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item)) >= 0);
    }
    void Remove(ListBoxList& list, int index)
    {
        REQUIRE(SendMessageA(WindowOf(list), LB_DELETESTRING, index, 0) != LB_ERR);
    }
};

} // namespace

TEST_CASE("selection mirroring between two sorted list boxes")
{
    ListBoxes lists;
    CheckMirroring(lists);
    // Selecting in the target list must not notify, or one mirroring would start another.
    CHECK(selectionChanges == 0);
}

TEST_CASE("an item too long for the text buffer reads as nothing")
{
    ListBoxes lists;
    char longItem[301];
    memset(longItem, 'z', sizeof longItem - 1);
    longItem[sizeof longItem - 1] = '\0';
    const int index = static_cast<int>(
        SendMessageA(lists.codeWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longItem)));
    REQUIRE(index >= 0);

    ListBoxList::Text text;
    CHECK(lists.codes.ReadText(index, text) == nullptr);
    CHECK(lists.codes.ReadText(lists.Count(lists.codes), text) == nullptr);
    CHECK(std::string(lists.codes.ReadText(0, text)) == "ac");
}
