#pragma once

#include "core/Assert.h"

// N elements held in place, every index checked. Copies element by element.
template <class T, int N>
class SArray {
public:
    // Value-initialised, so that numbers and pointers start at zero.
    SArray() : data() {}

    T& operator[](int i) {
        KV_ASSERT(i >= 0 && i < N);
        return data[i];
    }
    const T& operator[](int i) const {
        KV_ASSERT(i >= 0 && i < N);
        return data[i];
    }

    // Slides a window one place towards the front: element k takes element
    // k+1, and the last element stays where it was (now also in N-2).
    void ShiftLeft() {
        for (int k = 0; k < N - 1; ++k) data[k] = data[k + 1];
    }

private:
    T data[N];
};
