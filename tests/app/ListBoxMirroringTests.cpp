// The app's adapter of the list box, ListBoxList, under the catalogue's
// selection mirroring: the cases the catalogue's tests run on SortedStringList.
#include <doctest.h>

#include <windows.h>

#include <algorithm>

#include "app/ListBoxList.h"
#include "support/MirroringCases.h"
#include "support/TestParent.h"

namespace {

// A hidden top-level window with the dialog's two sorted, notifying list
// boxes, filled as the dialog fills them. Hidden, since under Wine every
// selection change of a visible list box paints at once, some fifty times slower.
struct ListBoxes {
    testing::TestParent parent{40, 40, 420, 260};  // destroying it destroys the list boxes
    HWND codeWindow = CreateListBox(1000);
    HWND descriptionWindow = CreateListBox(1001);
    ListBoxList codes{codeWindow};
    ListBoxList descriptions{descriptionWindow};

    ListBoxes()
    {
        ShowWindow(parent.hWnd, SW_HIDE);
        for (const DomainRecord& record : domainTable) {
            SendMessageA(codeWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record.code));
            SendMessageA(descriptionWindow, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record.description));
        }
    }

    HWND CreateListBox(int id)
    {
        const DWORD style = WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT;
        HWND list = parent.AddChild("LISTBOX", nullptr, style, 0, 0, 200, 200, id);
        REQUIRE(list != nullptr);
        return list;
    }

    static int SelectionChanges()
    {
        const std::vector<WPARAM>& commands = testing::TestParent::commands;
        return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                              [](WPARAM command) { return HIWORD(command) == LBN_SELCHANGE; }));
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
    CHECK(ListBoxes::SelectionChanges() == 0);
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
