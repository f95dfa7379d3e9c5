#pragma once

#include <utility>

#include "core/Assert.h"

// A growable list with a built-in cursor. Iterate with Head() and then Next()
// until it returns false; Add inserts at the cursor, which stands at the end
// after construction, after an Add and after a finished iteration, so in
// practice Add appends.
template <class T>
class DArray {
public:
    DArray() : allocated(10), count(0), cursor(0), data(new T[10]()) {}
    ~DArray() { delete[] data; }
    DArray(const DArray&) = delete;
    DArray& operator=(const DArray&) = delete;

    // Inserts x at the cursor and moves the cursor past it; doubles the block when full.
    void Add(T x) {
        if (count == allocated) {
            T* grown = new T[2 * allocated]();
            for (int i = 0; i < allocated; ++i) grown[i] = std::move(data[i]);
            delete[] data;
            data = grown;
            allocated *= 2;
        }
        for (int i = count; i > cursor; --i) data[i] = std::move(data[i - 1]);
        data[cursor] = std::move(x);
        ++cursor;
        ++count;
    }

    void Head() { cursor = 0; }  // restarts the iteration at the first element

    // Takes out every element that `gone` also holds, keeping the others'
    // order; the cursor goes to the end.
    template <class U>
    void RemoveAll(const DArray<U>& gone) {
        int kept = 0;
        for (int i = 0; i < count; ++i) {
            bool listed = false;
            for (int j = 0; j < gone.count && !listed; ++j) listed = data[i] == gone[j];
            if (!listed) data[kept++] = std::move(data[i]);
        }
        count = cursor = kept;
    }

    // Hands out the element at the cursor and advances. At the end: false, and
    // out becomes the null value of T (0, a null pointer, a null Ptr, "").
    bool Next(T& out) {
        if (cursor < count) {
            out = data[cursor++];
            return true;
        }
        cursor = count;
        out = T();
        return false;
    }

    // Slots beyond count hold no element; asking for one is a caller error.
    T& operator[](int i) {
        KV_ASSERT(i >= 0 && i < count);
        return data[i];
    }
    const T& operator[](int i) const {
        KV_ASSERT(i >= 0 && i < count);
        return data[i];
    }

    int allocated;  // slots in data
    int count;      // elements in use: slots 0 .. count-1
    int cursor;     // where Next reads and Add inserts
    T* data;
};
