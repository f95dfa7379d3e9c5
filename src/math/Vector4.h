#pragma once

#include "math/Vector3.h"

// A homogeneous point or one row of a Matrix. The default constructor leaves
// the components uninitialised, as matrix code fills them right away.
struct Vector4 {
    float x, y, z, w;

    Vector4() {}
    Vector4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}
    Vector4(const Vector3& v) : x(v.x), y(v.y), z(v.z), w(1) {}  // NOLINT: a point is w = 1

    // Back to three dimensions by the homogeneous divide; w = 0 is not tested.
    operator Vector3() const { return {x / w, y / w, z / w}; }

    float operator*(const Vector4& o) const { return x * o.x + y * o.y + z * o.z + w * o.w; }
    Vector4 operator+() const { return *this; }
    Vector4 operator-() const { return {-x, -y, -z, -w}; }
    Vector4 operator+(const Vector4& o) const { return {x + o.x, y + o.y, z + o.z, w + o.w}; }
    Vector4 operator-(const Vector4& o) const { return {x - o.x, y - o.y, z - o.z, w - o.w}; }
    Vector4 operator*(float s) const { return {x * s, y * s, z * s, w * s}; }
    Vector4 operator/(float s) const { return {x / s, y / s, z / s, w / s}; }

    float norm() const { return std::sqrt(x * x + y * y + z * z + w * w); }
    Vector4 normalized() const {
        const float n = norm();
        return n > 0 ? *this / n : *this;
    }
};
