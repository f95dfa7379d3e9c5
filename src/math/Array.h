#pragma once

#include <new>

#include "core/Assert.h"

// A heap array whose size is fixed once, by Create. Every index is checked:
// a bad one ends the program rather than touching memory outside the block.
template <class T>
class Array {
public:
    Array() : data(nullptr), size(0) {}
    ~Array() { delete[] data; }
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;

    // Allocates n value-initialised elements; an array is created only once.
    void Create(int n) {
        KV_ASSERT(data == nullptr);
        KV_ASSERT(n > 0);
        data = new (std::nothrow) T[n]();
        KV_ASSERT(data != nullptr);
        size = n;
    }

    T& operator[](int i) {
        KV_ASSERT(data != nullptr);
        KV_ASSERT(i >= 0 && i < size);
        return data[i];
    }
    const T& operator[](int i) const {
        KV_ASSERT(data != nullptr);
        KV_ASSERT(i >= 0 && i < size);
        return data[i];
    }

    T* data;   // null until created
    int size;  // number of elements
};
