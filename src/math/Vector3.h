#pragma once

#include <cmath>
#include <iosfwd>

// A point, direction, set of Euler angles or colour: three floats.
struct Vector3 {
    float x, y, z;

    Vector3() : x(0), y(0), z(0) {}
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vector3 operator-(const Vector3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vector3 operator-() const { return {-x, -y, -z}; }
    Vector3 operator*(float s) const { return {x * s, y * s, z * s}; }
    Vector3 operator/(float s) const { return {x / s, y / s, z / s}; }
    Vector3& operator+=(const Vector3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    Vector3& operator-=(const Vector3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    Vector3& operator*=(float s) { x *= s; y *= s; z *= s; return *this; }
    Vector3& operator/=(float s) { x /= s; y /= s; z /= s; return *this; }
    bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const Vector3& o) const { return !(*this == o); }

    float Dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vector3 Cross(const Vector3& o) const {
        return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x};
    }
    float Length() const { return std::sqrt(Dot(*this)); }
    // Divides by the length only when it is positive: a zero vector stays zero.
    Vector3& Normalize() {
        const float length = Length();
        if (length > 0) *this /= length;
        return *this;
    }
    Vector3 Normalized() const { return Vector3(*this).Normalize(); }
};

inline Vector3 operator*(float s, const Vector3& v) { return v * s; }

// Tab-separated with a trailing tab; components smaller than 0.00001 are
// written as 0 so that animation files stay free of noise such as 1e-08.
std::ostream& operator<<(std::ostream& out, const Vector3& v);
// Three formatted floats separated by any white space.
std::istream& operator>>(std::istream& in, Vector3& v);
