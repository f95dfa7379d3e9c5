#include "math/Vector3.h"

#include <istream>
#include <ostream>

namespace {
// Compared in double: the float nearest 0.00001 lies just below it and so
// counts as noise too.
float Clean(float value) { return std::fabs(value) < 0.00001 ? 0.0f : value; }
}  // namespace

std::ostream& operator<<(std::ostream& out, const Vector3& v) {
    return out << '\t' << Clean(v.x) << '\t' << Clean(v.y) << '\t' << Clean(v.z) << '\t';
}

std::istream& operator>>(std::istream& in, Vector3& v) { return in >> v.x >> v.y >> v.z; }
