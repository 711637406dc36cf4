#include "framework/String.h"

#include <mbstring.h>
#include <string.h>

namespace {

struct EmptyBlock {
    LONG references;
    int length;
    int capacity;
    char text[1];
};

EmptyBlock emptyBlock = {-1, 0, 0, {0}};

// The longest value in characters (about 1 GB): a block of that size with
// its header and terminator, and any sum of two lengths, still fit an int.
constexpr int maxLength = 0x3FFFFFF0;

} // namespace

char* String::EmptyText()
{
    return emptyBlock.text;
}

String::Header* String::GetHeader() const
{
    return reinterpret_cast<Header*>(text) - 1;
}

String::Header* String::Allocate(int capacity)
{
    if (capacity < 0 || capacity > maxLength)
        return nullptr;
    Header* header = static_cast<Header*>(HeapAlloc(GetProcessHeap(), 0, sizeof(Header) + capacity + 1));
    if (header == nullptr)
        return nullptr;
    header->references = 1;
    header->length = 0;
    header->capacity = capacity;
    header->Text()[0] = '\0';
    return header;
}

String::String() : text(EmptyText()) {}

String::String(const char* source) : text(EmptyText())
{
    *this = source;
}

String::String(const String& other) : text(EmptyText())
{
    *this = other;
}

String::~String()
{
    Release();
}

void String::Release()
{
    Header* header = GetHeader();
    if (header->references >= 0 && InterlockedDecrement(&header->references) <= 0)
        HeapFree(GetProcessHeap(), 0, header);
    text = EmptyText();
}

String& String::operator=(const String& other)
{
    if (other.text == text)
        return *this;
    Header* header = other.GetHeader();
    if (header->references < 0) {
        Release();
        return *this;
    }
    InterlockedIncrement(&header->references);
    Release();
    text = other.text;
    return *this;
}

bool String::Assign(const char* source, int length)
{
    Header* header = GetHeader();
    if (header->references != 1 || header->capacity < length) {
        Header* fresh = Allocate(length);
        if (fresh == nullptr) {
            Release();
            return false;
        }
        // The source may live in the block being released.
        memcpy(fresh->Text(), source, length);
        Release();
        text = fresh->Text();
        header = fresh;
    } else {
        memmove(text, source, length);
    }
    header->length = length;
    text[length] = '\0';
    return true;
}

String& String::operator=(const char* source)
{
    if (source == nullptr || *source == '\0') {
        Release();
        return *this;
    }
    Assign(source, lstrlenA(source));
    return *this;
}

String& String::operator+=(const char* source)
{
    if (source == nullptr || *source == '\0')
        return *this;
    const int added = lstrlenA(source);
    Header* header = GetHeader();
    const int length = header->length;
    if (added > maxLength - length)
        return *this;
    const int total = length + added;
    if (header->references == 1 && header->capacity >= total) {
        memmove(text + length, source, added);
    } else {
        Header* fresh = Allocate(total);
        if (fresh == nullptr)
            return *this;
        memcpy(fresh->Text(), text, length);
        memcpy(fresh->Text() + length, source, added);
        Release();
        text = fresh->Text();
        header = fresh;
    }
    header->length = total;
    text[total] = '\0';
    return *this;
}

int String::GetLength() const
{
    return GetHeader()->length;
}

int String::GetCapacity() const
{
    return GetHeader()->capacity;
}

LONG String::GetReferenceCount() const
{
    return GetHeader()->references;
}

char* String::GetBuffer(int minLength)
{
    Header* header = GetHeader();
    if (header->references != 1 || header->capacity < minLength) {
        const int length = header->length;
        Header* fresh = Allocate(minLength > length ? minLength : length);
        if (fresh == nullptr)
            return nullptr;
        memcpy(fresh->Text(), text, length + 1);
        fresh->length = length;
        Release();
        text = fresh->Text();
    }
    return text;
}

void String::ReleaseBuffer(int newLength)
{
    Header* header = GetHeader();
    if (header->references != 1) {
        // Not inside a GetBuffer: make the block private before writing to it.
        if (GetBuffer(header->length) == nullptr)
            return;
        header = GetHeader();
    }
    if (header->references < 0)
        return;  // the shared empty block stays as it is
    if (newLength < 0)
        newLength = lstrlenA(text);
    if (newLength > header->capacity)
        newLength = header->capacity;
    header->length = newLength;
    text[newLength] = '\0';
}

bool String::operator==(const char* other) const
{
    return _mbscmp(reinterpret_cast<const unsigned char*>(text),
                   reinterpret_cast<const unsigned char*>(other != nullptr ? other : "")) == 0;
}
