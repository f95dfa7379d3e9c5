#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "math/Matrix.h"
#include "math/Vector3.h"

// Tolerant comparison of the 3D value types: EXPECT_TRUE(Near(actual, expected)).
inline testing::AssertionResult Near(const Vector3& actual, const Vector3& expected,
                                     float eps = 1e-4f) {
    if (std::fabs(actual.x - expected.x) <= eps && std::fabs(actual.y - expected.y) <= eps &&
        std::fabs(actual.z - expected.z) <= eps) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                       << ") is not (" << expected.x << ", " << expected.y << ", "
                                       << expected.z << ") within " << eps;
}

inline testing::AssertionResult Near(const Matrix& actual, const Matrix& expected,
                                     float eps = 1e-4f) {
    for (int i = 0; i < 16; ++i) {
        if (!(std::fabs(actual.m[i] - expected.m[i]) <= eps)) {
            return testing::AssertionFailure() << "element " << i << " differs\n"
                                               << actual << "is not\n" << expected;
        }
    }
    return testing::AssertionSuccess();
}
