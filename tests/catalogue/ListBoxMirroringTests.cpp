#include <doctest.h>

#include <windows.h>

#include "MirroringCases.h"
#include "app/ListBoxList.h"

namespace {

int selectionChanges = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE)
        ++selectionChanges;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden top-level window with the dialog's two sorted, notifying list
// boxes, filled as the dialog fills them. Hidden, since under Wine every
// selection change of a visible list box paints at once, some fifty times slower.
struct ListBoxes {
    HWND window = nullptr;  // owned; destroying it destroys the list boxes
    HWND codeWindow = nullptr;
    HWND descriptionWindow = nullptr;
    ListBoxList codes{nullptr};
    ListBoxList descriptions{nullptr};

    ListBoxes()
    {
        static const ATOM atom = [] {
            WNDCLASSA windowClass = {};
            windowClass.lpfnWndProc = HostProc;
            windowClass.hInstance = GetModuleHandleA(nullptr);
            windowClass.lpszClassName = "ZvxCatalogueListHost";
            return RegisterClassA(&windowClass);
        }();
        REQUIRE(atom != 0);
        window = CreateWindowExA(0, "ZvxCatalogueListHost", "", WS_OVERLAPPEDWINDOW, 40, 40, 420, 260, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        REQUIRE(window != nullptr);
        codeWindow = CreateListBox(1000);
        descriptionWindow = CreateListBox(1001);
        codes = ListBoxList(codeWindow);
        descriptions = ListBoxList(descriptionWindow);
        for (const DomainRecord& record : domainTable) {
            SendMessageA(codeWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record.code));
            SendMessageA(descriptionWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record.description));
        }
        selectionChanges = 0;
    }
    ~ListBoxes() { DestroyWindow(window); }

    HWND CreateListBox(int id)
    {
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT;
        HWND list = CreateWindowExA(0, "LISTBOX", nullptr, style, 0, 0, 200, 200, window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                    nullptr);
        REQUIRE(list != nullptr);
        return list;
    }

    HWND WindowOf(ListBoxList& list) { return &list == &codes ? codeWindow : descriptionWindow; }
    int Count(ListBoxList& list) { return static_cast<int>(SendMessageA(WindowOf(list), LB_GETCOUNT, 0, 0)); }
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
    const std::string longItem(300, 'z');
    const int index = static_cast<int>(
        SendMessageA(lists.codeWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longItem.c_str())));
    REQUIRE(index >= 0);

    ListBoxList::Text text;
    CHECK(lists.codes.ReadText(index, text) == nullptr);
    CHECK(lists.codes.ReadText(lists.Count(lists.codes), text) == nullptr);
    CHECK(std::string(lists.codes.ReadText(0, text)) == "ac");
}
