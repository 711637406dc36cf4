#include <doctest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "controls/LinkColors.h"
#include "controls/TaggedText.h"

namespace {

// Places text so that its terminator is the last readable byte before a page
// that faults on access: any read past the terminator ends the test run.
class GuardedText {
public:
    explicit GuardedText(const std::string& text)
    {
        SYSTEM_INFO system;
        ::GetSystemInfo(&system);
        const SIZE_T page = system.dwPageSize;
        const SIZE_T pages = (text.size() + 1 + page - 1) / page + 1;
        base = static_cast<char*>(::VirtualAlloc(nullptr, pages * page, MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        ::VirtualProtect(base + (pages - 1) * page, page, PAGE_NOACCESS, &old);
        start = base + (pages - 1) * page - (text.size() + 1);
        std::memcpy(start, text.c_str(), text.size() + 1);
    }
    ~GuardedText() { ::VirtualFree(base, 0, MEM_RELEASE); }
    const char* c_str() const { return start; }

private:
    char* base;
    char* start;
};

COLORREF Parse(const std::string& text)
{
    GuardedText guarded(text);
    return ParseColorText(guarded.c_str());
}

std::string Part(const char* text, int count)
{
    return text == nullptr ? std::string("(none)") : std::string(text, count);
}

} // namespace

TEST_CASE("colour text gives red, green and blue, each cut to 8 bits")
{
    CHECK(Parse("0,128,255") == RGB(0, 128, 255));
    CHECK(Parse("300,0,0") == RGB(44, 0, 0));
    CHECK(Parse("-2,0,0") == RGB(254, 0, 0));
    CHECK(Parse("a,b,c") == RGB(0, 0, 0));
    CHECK(Parse("0,0,-1") == RGB(0, 0, 255));
    CHECK(Parse(" 1, +2 ,3x") == RGB(1, 2, 3));
    CHECK(Parse(",,7") == RGB(0, 0, 7));
    CHECK(Parse("1,2,3,4") == RGB(1, 2, 3));
    // A blank after the second comma is something: blue reads as 0.
    CHECK(Parse("1,2, ") == RGB(1, 2, 0));
}

TEST_CASE("colour text that is not a colour")
{
    CHECK(Parse("") == CLR_INVALID);
    CHECK(Parse("0,128") == CLR_INVALID);
    CHECK(Parse("0,128,") == CLR_INVALID);
    CHECK(Parse("-1,0,0") == CLR_INVALID);
    CHECK(Parse("0,-1,0") == CLR_INVALID);
    CHECK(Parse("12") == CLR_INVALID);
    CHECK(Parse(",") == CLR_INVALID);
    CHECK(ParseColorText(nullptr) == CLR_INVALID);
}

TEST_CASE("hostile colour text is read no further than its terminator")
{
    CHECK(Parse(std::string(100000, '9')) == CLR_INVALID);
    CHECK(Parse(std::string(100000, ',')) != CLR_INVALID);
    CHECK(Parse("-") == CLR_INVALID);
    CHECK(Parse("+,-,") == CLR_INVALID);
    CHECK(Parse("+,-,+") == RGB(0, 0, 0));
    CHECK(Parse("\x81\x82,\xFF,\x80") == RGB(0, 0, 0));
    // Numbers far beyond int neither overflow into -1 nor past the text.
    const std::string huge = std::string(5000, '9');
    CHECK(Parse(huge + "," + huge + "," + huge) != CLR_INVALID);
    CHECK(Parse("-" + huge + ",0,0") != CLR_INVALID);
    CHECK(Parse("1,2,-" + huge) != CLR_INVALID);
}

TEST_CASE("tagged text splits into the words before, the link and the words after")
{
    GuardedText text("Visit our <a>web site</a> today");
    const TaggedParts parts = SplitTaggedText(text.c_str());
    CHECK(Part(parts.before, parts.beforeCount) == "Visit our ");
    CHECK(Part(parts.link, parts.linkCount) == "web site");
    CHECK(Part(parts.after, parts.afterCount) == " today");
}

TEST_CASE("tagged text at the edges and without tags")
{
    SUBCASE("link only, upper-case tags")
    {
        GuardedText text("<A>here</A>");
        const TaggedParts parts = SplitTaggedText(text.c_str());
        CHECK(Part(parts.before, parts.beforeCount) == "(none)");
        CHECK(Part(parts.link, parts.linkCount) == "here");
        CHECK(Part(parts.after, parts.afterCount) == "(none)");
    }
    SUBCASE("no opening tag: no parts at all")
    {
        GuardedText text("plain text</a> and <b>");
        const TaggedParts parts = SplitTaggedText(text.c_str());
        CHECK(parts.before == nullptr);
        CHECK(parts.link == nullptr);
        CHECK(parts.linkCount == 0);
        CHECK(parts.after == nullptr);
    }
    SUBCASE("unclosed tag: empty link")
    {
        GuardedText text("go <a>there");
        const TaggedParts parts = SplitTaggedText(text.c_str());
        CHECK(Part(parts.before, parts.beforeCount) == "go ");
        CHECK(parts.link != nullptr);
        CHECK(parts.linkCount == 0);
        CHECK(parts.after == nullptr);
    }
    SUBCASE("only the first pair counts; later tags stay in the text")
    {
        GuardedText text("<a>one</a> <a>two</a>");
        const TaggedParts parts = SplitTaggedText(text.c_str());
        CHECK(Part(parts.link, parts.linkCount) == "one");
        CHECK(Part(parts.after, parts.afterCount) == " <a>two</a>");
    }
    SUBCASE("tags cut off by the end of the text")
    {
        for (const char* s : {"x<", "x<A", "<a>b<", "<a>b</", "<a>b</a"}) {
            GuardedText text(s);
            const TaggedParts parts = SplitTaggedText(text.c_str());
            CHECK(parts.linkCount == 0);
            CHECK(parts.after == nullptr);
        }
    }
}
