// The reference-counted string: sharing, copy-on-write and exact block sizes.
#include <doctest.h>

#include <string.h>

#include "framework/String.h"

TEST_CASE("copies share one block until one of them is written")
{
    String a("alpha");
    CHECK(a.GetReferenceCount() == 1);
    CHECK(a.GetCapacity() == 5);

    String b(a);
    String c;
    c = b;
    CHECK(b.c_str() == a.c_str());
    CHECK(c.c_str() == a.c_str());
    CHECK(a.GetReferenceCount() == 3);

    b += "!";
    CHECK(b == "alpha!");
    CHECK(a == "alpha");
    CHECK(b.GetReferenceCount() == 1);
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
    CHECK(d == "omega");

    // Unshared and large enough: assigned in place.
    const char* block = a.c_str();
    a = "beta";
    CHECK(a.c_str() == block);
    CHECK(a.GetLength() == 4);
    CHECK(a.GetCapacity() == 5);
}

TEST_CASE("every empty value is the shared empty block")
{
    String none;
    String null(nullptr);
    String blank("");
    CHECK(null.c_str() == none.c_str());
    CHECK(blank.c_str() == none.c_str());
    CHECK(none.GetReferenceCount() == -1);
    CHECK(none.GetCapacity() == 0);
    CHECK(none == "");
    CHECK(none == nullptr);

    String text("x");
    text = "";
    CHECK(text.c_str() == none.c_str());
    text = "y";
    text = static_cast<const char*>(nullptr);
    CHECK(text.c_str() == none.c_str());
    text = "z";
    text = none;
    CHECK(text.c_str() == none.c_str());
    String copy(none);
    CHECK(copy.GetReferenceCount() == -1);

    // Appending nothing to nothing stays on the shared block.
    copy += "";
    copy += nullptr;
    CHECK(copy.c_str() == none.c_str());
}

TEST_CASE("appending writes in place only into an unshared block with room")
{
    String s("abc");
    s += "de";
    CHECK(s == "abcde");
    CHECK(s.GetCapacity() == 5);

    s.GetBuffer(10);
    s.ReleaseBuffer();
    CHECK(s.GetLength() == 5);
    CHECK(s.GetCapacity() == 10);
    const char* block = s.c_str();
    s += "fgh";
    CHECK(s.c_str() == block);
    CHECK(s == "abcdefgh");
    CHECK(s.GetCapacity() == 10);

    String shared(s);
    s += "i";
    CHECK(s.c_str() != block);
    CHECK(s.GetCapacity() == 9);
    CHECK(s == "abcdefghi");
    CHECK(shared.c_str() == block);
    CHECK(shared == "abcdefgh");
    CHECK(shared.GetReferenceCount() == 1);

    s += "";
    s += nullptr;
    CHECK(s == "abcdefghi");
}

TEST_CASE("a value can be assigned or appended from its own text")
{
    String s("hello");
    String& same = s;
    s = same;
    CHECK(s == "hello");
    s = s.c_str();
    CHECK(s == "hello");
    s = s.c_str() + 2;
    CHECK(s == "llo");
    CHECK(s.GetLength() == 3);

    s += s.c_str();
    CHECK(s == "llollo");
    s.GetBuffer(20);
    s.ReleaseBuffer();
    s += s.c_str() + 3;
    CHECK(s == "llollollo");

    String other(s);
    s = other.c_str() + 6;
    CHECK(s == "llo");
    CHECK(other == "llollollo");
    other += other.c_str();
    CHECK(other == "llollollollollollo");
}

TEST_CASE("GetBuffer and ReleaseBuffer")
{
    SUBCASE("LB_GETTEXT of an empty list box item keeps the capacity asked for")
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
        CHECK(text.GetLength() == 0);
        CHECK(text.GetCapacity() == 260);
        CHECK(text == "");

        buffer = text.GetBuffer(260);
        CHECK(buffer == text.c_str());  // private and large enough: the same block
        SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer));
        text.ReleaseBuffer(-1);
        CHECK(text == "Ghana");
        CHECK(text.GetLength() == 5);
        CHECK(text.GetCapacity() == 260);
        DestroyWindow(list);
    }
    SUBCASE("an explicit length ends the value there")
    {
        String text;
        char* buffer = text.GetBuffer(8);
        REQUIRE(buffer != nullptr);
        memcpy(buffer, "12345678", 9);
        text.ReleaseBuffer(3);
        CHECK(text == "123");
        CHECK(text.GetCapacity() == 8);
    }
    SUBCASE("a shared block is copied with at least its current length")
    {
        String a("abcdef");
        String b(a);
        char* buffer = b.GetBuffer(2);
        REQUIRE(buffer != nullptr);
        CHECK(buffer != a.c_str());
        CHECK(b.GetCapacity() == 6);
        CHECK(b == "abcdef");
        buffer[1] = 'B';
        b.ReleaseBuffer(2);
        CHECK(b == "aB");
        CHECK(a == "abcdef");
    }
    SUBCASE("ReleaseBuffer on a shared value does not touch the other copies")
    {
        String a("xyz");
        String b(a);
        b.ReleaseBuffer(1);
        CHECK(b == "x");
        CHECK(a == "xyz");
    }
}
