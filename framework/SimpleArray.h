#pragma once

#include <windows.h>
#include <stdlib.h>
#include <new>

// A growable array of plain values. Capacity doubles from 1 (0, 1, 2, 4, 8 ...)
// so that a short list of filters or handlers costs a handful of reallocations.
// Add reports an allocation failure as FALSE and leaves the array as it was.
template <class T>
class SimpleArray {
public:
    SimpleArray() = default;
    ~SimpleArray() { RemoveAll(); }

    SimpleArray(const SimpleArray&) = delete;
    SimpleArray& operator=(const SimpleArray&) = delete;

    BOOL Add(const T& element)
    {
        // The element may be one of this array's own, which realloc can move.
        const T added(element);
        if (size == capacity) {
            const int newCapacity = capacity == 0 ? 1 : capacity * 2;
            T* grown = static_cast<T*>(realloc(data, sizeof(T) * newCapacity));
            if (grown == nullptr)
                return FALSE;
            data = grown;
            capacity = newCapacity;
        }
        new (&data[size]) T(added);
        ++size;
        return TRUE;
    }

    void RemoveAll()
    {
        for (int i = 0; i < size; ++i)
            data[i].~T();
        free(data);
        data = nullptr;
        size = 0;
        capacity = 0;
    }

    int GetSize() const { return size; }
    int GetCapacity() const { return capacity; }
    T* GetData() const { return data; }

    // An index outside the array is a programming error that no input can
    // reach; it ends the program with a non-continuable structured exception.
    T& operator[](int index) const
    {
        if (index < 0 || index >= size)
            RaiseException(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, EXCEPTION_NONCONTINUABLE, 0, nullptr);
        return data[index];
    }

private:
    T* data = nullptr;
    int size = 0;
    int capacity = 0;
};
