#pragma once

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "math/Vector3.h"

// The one writer of the 3D ASCII mesh exports the tests need, in the game's
// coordinates: it negates z as the exporter does, so that the reader's own
// negation gives the vertices back. Solids are wound so that each
// triangle's right-hand normal points out (the game's front faces).
namespace meshtext {

struct Triangle {
    int a, b, c;
};

inline std::string Export(const std::vector<Vector3>& vertices, const std::vector<Triangle>& faces) {
    std::ostringstream out;
    out << "Named object: \"solid\"\nTri-mesh, Vertices: " << vertices.size()
        << "     Faces: " << faces.size() << "\nVertex list:\n";
    for (size_t i = 0; i < vertices.size(); ++i) {
        out << "Vertex " << i << ":  X: " << vertices[i].x << "  Y: " << vertices[i].y
            << "  Z: " << -vertices[i].z << '\n';
    }
    out << "Face list:\n";
    for (size_t i = 0; i < faces.size(); ++i) {
        out << "Face " << i << ":    A:" << faces[i].a << " B:" << faces[i].b
            << " C:" << faces[i].c << " AB:1 BC:1 CA:1\nSmoothing:  1\n";
    }
    return out.str();
}

inline std::string OneTriangle(const Vector3& a, const Vector3& b, const Vector3& c) {
    return Export({a, b, c}, {{0, 1, 2}});
}

// Orders a triangle so that its normal points along `outward`.
inline Triangle Facing(const std::vector<Vector3>& v, Triangle t, const Vector3& outward) {
    const Vector3 n = (v[t.b] - v[t.a]).Cross(v[t.c] - v[t.a]);
    if (n.Dot(outward) < 0) std::swap(t.b, t.c);
    return t;
}

// An axis-aligned box from `low` to `high`.
inline std::string Box(const Vector3& low, const Vector3& high) {
    std::vector<Vector3> v;
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i)
                v.emplace_back(i ? high.x : low.x, j ? high.y : low.y, k ? high.z : low.z);
    const Vector3 centre = (low + high) * 0.5f;
    // Each side as four corners around it; the bit that is fixed names the side.
    const std::array<std::array<int, 4>, 6> sides = {{
        {0, 2, 6, 4}, {1, 3, 7, 5},  // x low, x high
        {0, 1, 5, 4}, {2, 3, 7, 6},  // y low, y high
        {0, 1, 3, 2}, {4, 5, 7, 6},  // z low, z high
    }};
    std::vector<Triangle> faces;
    for (const auto& s : sides) {
        const Vector3 middle = (v[s[0]] + v[s[1]] + v[s[2]] + v[s[3]]) * 0.25f;
        faces.push_back(Facing(v, {s[0], s[1], s[2]}, middle - centre));
        faces.push_back(Facing(v, {s[0], s[2], s[3]}, middle - centre));
    }
    return Export(v, faces);
}

// A sheet hanging in `columns` chains of `points` each, from x0 to x1 at depth
// z, its top at `top` and `step` apart downwards; vertices go chain by chain,
// as cloth wants them. Its front faces look towards `outward`.
inline std::string Sheet(int columns, int points, float x0, float x1, float z, float top,
                         float step, const Vector3& outward) {
    std::vector<Vector3> v;
    for (int c = 0; c < columns; ++c) {
        const float x = x0 + (x1 - x0) * static_cast<float>(c) / static_cast<float>(columns - 1);
        for (int p = 0; p < points; ++p) v.emplace_back(x, top - step * static_cast<float>(p), z);
    }
    std::vector<Triangle> faces;
    for (int c = 0; c + 1 < columns; ++c) {
        for (int p = 0; p + 1 < points; ++p) {
            const int a = c * points + p, b = a + 1, d = a + points, e = d + 1;
            faces.push_back(Facing(v, {a, d, b}, outward));
            faces.push_back(Facing(v, {b, d, e}, outward));
        }
    }
    return Export(v, faces);
}

// An n × n grid of squares in the plane y = 0 spanning -half..half on x and
// z, facing up. Vertex i(n+1) + j stands at column j, row i; with an even n
// the middle vertex is the origin.
inline std::string Grid(int n, float half) {
    const float step = 2 * half / static_cast<float>(n);
    std::vector<Vector3> v;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j) v.emplace_back(-half + j * step, 0, -half + i * step);
    std::vector<Triangle> faces;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int a = i * (n + 1) + j, b = a + 1, c = a + n + 1, d = c + 1;
            faces.push_back(Facing(v, {a, c, b}, {0, 1, 0}));
            faces.push_back(Facing(v, {b, c, d}, {0, 1, 0}));
        }
    }
    return Export(v, faces);
}

}  // namespace meshtext
