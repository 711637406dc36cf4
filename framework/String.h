#pragma once

#include <windows.h>

// The program's 8-bit string (active code page). Values share reference-counted
// heap blocks; a write to a shared block first makes a private copy. The block
// header sits in front of the characters:
//   LONG references; int length; int capacity; char text[capacity + 1];
// Every empty value points at one static block (references -1) that is never
// freed. Allocation failures leave an assigned value empty and an appended
// value unchanged; GetBuffer then returns NULL.
class String {
public:
    String();
    String(const char* text);  // NULL and "" give the empty value
    String(const String& other);
    ~String();

    String& operator=(const String& other);
    String& operator=(const char* text);
    String& operator+=(const char* text);

    int GetLength() const;
    int GetCapacity() const;
    bool IsEmpty() const { return GetLength() == 0; }
    const char* c_str() const { return text; }
    operator const char*() const { return text; }

    // A buffer for at least minLength characters plus the terminator, private
    // to this String; NULL when it cannot be allocated.
    char* GetBuffer(int minLength);
    // Ends a GetBuffer: the length becomes newLength, or the length up to the
    // first NUL when newLength is -1. The capacity stays.
    void ReleaseBuffer(int newLength = -1);

    // Multibyte-aware byte comparison, like the C runtime's _mbscmp.
    bool operator==(const char* other) const;
    bool operator!=(const char* other) const { return !(*this == other); }

    // For tests: how many Strings share this value's block (-1 for the empty block).
    LONG GetReferenceCount() const;

private:
    struct Header {
        LONG references;
        int length;
        int capacity;
        char* Text() { return reinterpret_cast<char*>(this + 1); }
    };

    Header* GetHeader() const;
    static Header* Allocate(int capacity);
    static char* EmptyText();
    void Release();
    bool Assign(const char* source, int length);

    char* text;
};
