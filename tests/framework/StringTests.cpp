// The reference-counted string: sharing, copy-on-write and exact block sizes.
#include <doctest.h>

#include "framework/String.h"

TEST_CASE("copies share one block until one of them is written")
{
    String a("alpha");
    String b(a);
    String c;
    c = b;
    CHECK(c.c_str() == a.c_str());
    CHECK(a.GetReferenceCount() == 3);

    b += "!";
    CHECK(b == "alpha!");
    CHECK(a == "alpha");
    CHECK(a.GetReferenceCount() == 2);

    char* buffer = c.GetBuffer(5);
    REQUIRE(buffer != nullptr);
    CHECK(buffer != a.c_str());
    buffer[0] = 'A';
    c.ReleaseBuffer();
    CHECK(c == "Alpha");
    CHECK(a == "alpha");
    CHECK(a.GetReferenceCount() == 1);

    // A shared block is never written: assigning gives the writer its own.
    String d(a);
    d = "omega";
    CHECK(a == "alpha");
}

TEST_CASE("ReleaseBuffer(-1) after LB_GETTEXT takes the text's length and keeps the capacity asked for")
{
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    REQUIRE(list != nullptr);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Ghana"));

    String text("previous");
    char* buffer = text.GetBuffer(260);
    REQUIRE(buffer != nullptr);
    CHECK(SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)) == 0);
    text.ReleaseBuffer(-1);
    CHECK(text == "");
    CHECK(text.GetLength() == 0);
    CHECK(text.GetCapacity() == 260);

    buffer = text.GetBuffer(260);
    CHECK(buffer == text.c_str());  // private and large enough: the same block
    SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer(-1);
    CHECK(text == "Ghana");
    CHECK(text.GetCapacity() == 260);
    DestroyWindow(list);
}
