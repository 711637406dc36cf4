#pragma once

#include <windows.h>
#include <stdlib.h>
#include <new>

// A small map kept as two parallel arrays in insertion order. Lookups are
// linear: it holds a handful of entries (one message loop per thread).
template <class K, class V>
class SimpleMap {
public:
    SimpleMap() = default;
    ~SimpleMap() { RemoveAll(); }

    SimpleMap(const SimpleMap&) = delete;
    SimpleMap& operator=(const SimpleMap&) = delete;

    // Grows both arrays by exactly one; on failure the map is unchanged.
    BOOL Add(const K& key, const V& value)
    {
        // The pair may come from this map's own arrays, which realloc can move
        // (and the keys' old block can be reused by the values').
        const K addedKey(key);
        const V addedValue(value);
        K* newKeys = static_cast<K*>(realloc(keys, sizeof(K) * (count + 1)));
        if (newKeys == nullptr)
            return FALSE;
        keys = newKeys;
        V* newValues = static_cast<V*>(realloc(values, sizeof(V) * (count + 1)));
        if (newValues == nullptr)
            return FALSE;  // keys keeps one spare slot; count is unchanged
        values = newValues;
        new (&keys[count]) K(addedKey);
        new (&values[count]) V(addedValue);
        ++count;
        return TRUE;
    }

    // Removes the first pair with the key, keeping the order of the rest.
    BOOL Remove(const K& key)
    {
        const int index = FindKey(key);
        if (index < 0)
            return FALSE;
        keys[index].~K();
        values[index].~V();
        if (index != count - 1) {
            memmove(static_cast<void*>(&keys[index]), &keys[index + 1], sizeof(K) * (count - index - 1));
            memmove(static_cast<void*>(&values[index]), &values[index + 1], sizeof(V) * (count - index - 1));
        }
        --count;
        if (count == 0) {
            free(keys);
            free(values);
            keys = nullptr;
            values = nullptr;
            return TRUE;
        }
        // Shrinking cannot really fail; if realloc says so the larger block stays.
        if (K* k = static_cast<K*>(realloc(keys, sizeof(K) * count)))
            keys = k;
        if (V* v = static_cast<V*>(realloc(values, sizeof(V) * count)))
            values = v;
        return TRUE;
    }

    void RemoveAll()
    {
        for (int i = 0; i < count; ++i) {
            keys[i].~K();
            values[i].~V();
        }
        free(keys);
        free(values);
        keys = nullptr;
        values = nullptr;
        count = 0;
    }

    int FindKey(const K& key) const
    {
        for (int i = 0; i < count; ++i)
            if (keys[i] == key)
                return i;
        return -1;
    }

    V Lookup(const K& key) const
    {
        const int index = FindKey(key);
        return index < 0 ? V() : values[index];
    }

    int GetSize() const { return count; }
    const K& GetKeyAt(int index) const { return keys[index]; }
    const V& GetValueAt(int index) const { return values[index]; }

private:
    K* keys = nullptr;
    V* values = nullptr;
    int count = 0;
};
