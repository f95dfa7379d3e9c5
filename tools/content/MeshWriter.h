#pragma once

// Builds triangle meshes in the game's own frame and writes them as the
// 3D ASCII files that Mesh3DS reads.
//
// Frame: the game's, left-handed: a camera looking along +z sees +x on its
// right and +y up. Write() negates z for the file, so a mesh loads back at
// exactly the positions it was built with.
//
// Winding: every shape here is wound OUTWARD: (b - a) x (c - a) points out of
// the solid, which is clockwise as seen from outside, the front face under the
// game's glFrontFace(GL_CW). Add raw triangles the same way, or let
// Triangle()/Polygon() orient them from an outward hint. Write() takes the flip
// value the loader will use (letters and scenery with flip -1 load with flip
// true) and orders the corners so that the loaded normals point outward.
//
// Normals: Mesh::RecalcNormals averages the normals of the triangles that
// share a vertex, with no crease angle. Shapes that should look faceted
// (boxes, caps) get their own vertices per face; smooth sides share them.

#include <cmath>
#include <fstream>
#include <functional>
#include <iomanip>
#include <string>
#include <utility>
#include <vector>

#include "math/Matrix.h"
#include "math/Vector3.h"

namespace content {

class MeshBuilder {
public:
    struct Face { int a, b, c; };

    // Appends a vertex and returns its index.
    int AddVertex(const Vector3& p) {
        positions.push_back(p);
        return static_cast<int>(positions.size()) - 1;
    }
    // A triangle already wound outward. One without area (at a lathe's pole,
    // where a ring shrinks to a point) is left out: it shows nothing and
    // still costs the renderer.
    void AddTriangle(int a, int b, int c) {
        if ((positions[b] - positions[a]).Cross(positions[c] - positions[a]).Length() < 1e-6f) return;
        faces.push_back({a, b, c});
    }
    // A triangle turned, if needed, so that its normal points along `outward`.
    void Triangle(int a, int b, int c, const Vector3& outward) {
        const Vector3 n = (positions[b] - positions[a]).Cross(positions[c] - positions[a]);
        if (n.Dot(outward) < 0) AddTriangle(a, c, b);
        else AddTriangle(a, b, c);
    }
    // A convex polygon given by its corners in order around it (either way),
    // with its own vertices: a hard-edged face whose normal follows `outward`.
    void Polygon(const std::vector<Vector3>& corners, const Vector3& outward) {
        const int first = static_cast<int>(positions.size());
        for (const Vector3& p : corners) AddVertex(p);
        for (size_t i = 1; i + 1 < corners.size(); ++i)
            Triangle(first, first + static_cast<int>(i), first + static_cast<int>(i) + 1, outward);
    }
    // A four-cornered face with its own vertices; the outward side is the one
    // its corners turn clockwise around (p0 p1 p2 p3 clockwise seen from outside).
    void Quad(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& p3) {
        const Vector3 n = (p1 - p0).Cross(p2 - p0) + (p2 - p0).Cross(p3 - p0);
        Polygon({p0, p1, p2, p3}, n);
    }

    // An axis-aligned box from its lowest to its highest corner; faceted.
    void Box(const Vector3& lo, const Vector3& hi) {
        const Vector3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z},
                              {lo.x, hi.y, lo.z}, {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z},
                              {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
        Polygon({c[0], c[1], c[2], c[3]}, {0, 0, -1});
        Polygon({c[4], c[5], c[6], c[7]}, {0, 0, 1});
        Polygon({c[0], c[4], c[7], c[3]}, {-1, 0, 0});
        Polygon({c[1], c[5], c[6], c[2]}, {1, 0, 0});
        Polygon({c[0], c[1], c[5], c[4]}, {0, -1, 0});
        Polygon({c[3], c[2], c[6], c[7]}, {0, 1, 0});
    }
    // A box given by its centre and its full sizes.
    void BoxAt(const Vector3& centre, const Vector3& size) {
        Box(centre - size * 0.5f, centre + size * 0.5f);
    }

    // A tube standing on the y axis from `base` up by `height`, radius r0 at
    // the bottom and r1 at the top (a cone when one is 0). Smooth sides,
    // flat caps when `caps` (a closed solid, needed for shadow volumes).
    void Frustum(const Vector3& base, float r0, float r1, float height, int segments,
                 bool caps = true) {
        const int first = static_cast<int>(positions.size());
        for (int k = 0; k < segments; ++k) {
            const Vector3 d = Around(k, segments);
            AddVertex(base + d * r0);
            AddVertex(base + d * r1 + Vector3(0, height, 0));
        }
        for (int k = 0; k < segments; ++k) {
            const int i = first + 2 * k, j = first + 2 * ((k + 1) % segments);
            const Vector3 out = Around(k, segments) + Around(k + 1, segments);
            if (r0 > 0) Triangle(i, j, i + 1, out);
            if (r1 > 0) Triangle(i + 1, j, j + 1, out);
        }
        if (!caps) return;
        if (r0 > 0) Polygon(Ring(base, r0, segments), {0, -1, 0});
        if (r1 > 0) Polygon(Ring(base + Vector3(0, height, 0), r1, segments), {0, 1, 0});
    }
    void Cylinder(const Vector3& base, float radius, float height, int segments,
                  bool caps = true) {
        Frustum(base, radius, radius, height, segments, caps);
    }

    // An ellipsoid about `centre` with half-axes `radii`; smooth.
    void Sphere(const Vector3& centre, const Vector3& radii, int slices, int stacks) {
        const int first = static_cast<int>(positions.size());
        auto at = [&](float theta, float phi) {
            return centre + Vector3(radii.x * std::sin(phi) * std::cos(theta),
                                    radii.y * std::cos(phi),
                                    radii.z * std::sin(phi) * std::sin(theta));
        };
        const float PI = 3.14159265f;
        const int top = AddVertex(centre + Vector3(0, radii.y, 0));
        for (int r = 1; r < stacks; ++r)
            for (int k = 0; k < slices; ++k)
                AddVertex(at(2 * PI * k / slices, PI * r / stacks));
        const int bottom = AddVertex(centre - Vector3(0, radii.y, 0));
        auto idx = [&](int r, int k) { return first + 1 + (r - 1) * slices + (k % slices); };
        auto out = [&](int a, int b, int c) {
            return (positions[a] + positions[b] + positions[c]) * (1.0f / 3) - centre;
        };
        for (int k = 0; k < slices; ++k) {
            Triangle(top, idx(1, k), idx(1, k + 1), out(top, idx(1, k), idx(1, k + 1)));
            Triangle(bottom, idx(stacks - 1, k), idx(stacks - 1, k + 1),
                     out(bottom, idx(stacks - 1, k), idx(stacks - 1, k + 1)));
            for (int r = 1; r + 1 < stacks; ++r) {
                const int a = idx(r, k), b = idx(r, k + 1), c = idx(r + 1, k), d = idx(r + 1, k + 1);
                Triangle(a, b, d, out(a, b, d));
                Triangle(a, d, c, out(a, d, c));
            }
        }
    }

    // A solid of revolution about the vertical line through `base`: rings at
    // the profile's (height above base, radius) pairs, bottom to top, with
    // smooth sides; repeat a pair for a sharp crease there. A ring of radius
    // 0 is a pole; the end rings get flat caps when `caps`. `shape`, when
    // given, moves each ring vertex (ring r, segment k, its place) before
    // anything is built on it, to roughen the solid.
    using Shaper = std::function<Vector3(int ring, int k, const Vector3& p)>;
    void Lathe(const Vector3& base, const std::vector<std::pair<float, float>>& profile,
               int segments, bool caps = true, const Shaper& shape = nullptr) {
        std::vector<std::vector<Vector3>> rings;
        for (size_t r = 0; r < profile.size(); ++r) {
            rings.emplace_back();
            for (int k = 0; k < segments; ++k) {
                const Vector3 p = base + Around(k, segments) * profile[r].second +
                                  Vector3(0, profile[r].first, 0);
                rings.back().push_back(shape ? shape(static_cast<int>(r), k, p) : p);
            }
        }
        // A repeated pair ends one smooth run and starts the next, with no
        // band of empty triangles between them.
        std::vector<std::vector<Vector3>> run = {rings.front()};
        for (size_t r = 1; r < rings.size(); ++r) {
            if (profile[r] == profile[r - 1]) {
                Loft(run, false);
                run.clear();
            }
            run.push_back(rings[r]);
        }
        Loft(run, false);
        if (caps && profile.front().second > 0) Polygon(rings.front(), {0, -1, 0});
        if (caps && profile.back().second > 0) Polygon(rings.back(), {0, 1, 0});
    }

    // Joins closed rings of equal size, each going round the same way as a
    // lathe's (from +x towards +z), with smooth shared vertices. Wound
    // outward when the rings climb a lathe's outside (the solid is on the
    // axis side); `reverse` for the other side, such as rings that run from
    // a ridge's inner foot over its top to its outer foot.
    void Loft(const std::vector<std::vector<Vector3>>& rings, bool reverse) {
        if (rings.size() < 2) return;
        const int n = static_cast<int>(rings.front().size());
        const int first = static_cast<int>(positions.size());
        for (const auto& ring : rings)
            for (const Vector3& p : ring) AddVertex(p);
        for (size_t r = 0; r + 1 < rings.size(); ++r)
            for (int k = 0; k < n; ++k) {
                const int a = first + static_cast<int>(r) * n + k;
                const int b = first + static_cast<int>(r) * n + (k + 1) % n;
                const int c = a + n, d = b + n;
                if (reverse) {
                    AddTriangle(a, b, c);
                    AddTriangle(b, d, c);
                } else {
                    AddTriangle(a, c, b);
                    AddTriangle(b, c, d);
                }
            }
    }

    // Gives every triangle its own three vertices, so that the loaded mesh
    // is shaded facet by facet (RecalcNormals then sees no shared corners).
    void Facet() {
        std::vector<Vector3> old;
        old.swap(positions);
        for (Face& f : faces) {
            const Face copy = f;
            f.a = AddVertex(old[copy.a]);
            f.b = AddVertex(old[copy.b]);
            f.c = AddVertex(old[copy.c]);
        }
    }

    // A flat horizontal grid facing up (+y) at height y, from (x0, z0) to
    // (x1, z1), with nx by nz cells and shared vertices (the water's mesh).
    void Grid(float x0, float z0, float x1, float z1, float y, int nx, int nz) {
        const int first = static_cast<int>(positions.size());
        for (int j = 0; j <= nz; ++j)
            for (int i = 0; i <= nx; ++i)
                AddVertex({x0 + (x1 - x0) * i / nx, y, z0 + (z1 - z0) * j / nz});
        for (int j = 0; j < nz; ++j)
            for (int i = 0; i < nx; ++i) {
                const int a = first + j * (nx + 1) + i, b = a + 1, c = a + nx + 1, d = c + 1;
                Triangle(a, b, d, {0, 1, 0});
                Triangle(a, d, c, {0, 1, 0});
            }
    }

    // Moves every vertex by a point transform (Matrix * point). A transform
    // that mirrors (negative determinant) also reverses the winding, so the
    // mesh stays wound outward.
    void Transform(const Matrix& m) {
        for (Vector3& p : positions) p = m * p;
        const Vector3 x = m ^ Vector3(1, 0, 0), y = m ^ Vector3(0, 1, 0), z = m ^ Vector3(0, 0, 1);
        if (x.Cross(y).Dot(z) < 0) ReverseWinding();
    }
    void Translate(const Vector3& t) {
        for (Vector3& p : positions) p += t;
    }
    void Scale(const Vector3& s) {
        for (Vector3& p : positions) p = Vector3(p.x * s.x, p.y * s.y, p.z * s.z);
        if (s.x * s.y * s.z < 0) ReverseWinding();
    }
    // Mirrors in the horizontal plane y = planeY (a reflection's copy).
    void MirrorY(float planeY) {
        for (Vector3& p : positions) p.y = 2 * planeY - p.y;
        ReverseWinding();
    }
    void ReverseWinding() {
        for (Face& f : faces) std::swap(f.b, f.c);
    }
    // Adds all of `other`'s vertices and triangles.
    void Append(const MeshBuilder& other) {
        const int offset = static_cast<int>(positions.size());
        positions.insert(positions.end(), other.positions.begin(), other.positions.end());
        for (const Face& f : other.faces) AddTriangle(f.a + offset, f.b + offset, f.c + offset);
    }

    // Writes the 3D ASCII file; `loaderFlips` is the flip the file will be
    // loaded with (true for a scene record's -1 and for the letters).
    bool Write(const std::string& path, bool loaderFlips, const std::string& name = "mesh") const {
        std::ofstream out(path);
        if (!out) return false;
        out << std::fixed << std::setprecision(4);
        out << "Ambient light color: Red=0.3 Green=0.3 Blue=0.3\n\n";
        out << "Named object: \"" << name << "\"\n";
        out << "Tri-mesh, Vertices: " << positions.size() << "     Faces: " << faces.size() << "\n";
        out << "Vertex list:\n";
        for (size_t i = 0; i < positions.size(); ++i) {
            const Vector3& p = positions[i];
            out << "Vertex " << i << ":  X: " << p.x << "     Y: " << p.y << "     Z: " << -p.z
                << "\n";
        }
        // z is negated here and again by the loader, so positions and corner
        // order arrive as built; only the loader's flip needs undoing.
        out << "Face list:\n";
        for (size_t i = 0; i < faces.size(); ++i) {
            const Face& f = faces[i];
            const int b = loaderFlips ? f.c : f.b, c = loaderFlips ? f.b : f.c;
            out << "Face " << i << ":    A:" << f.a << " B:" << b << " C:" << c
                << " AB:1 BC:1 CA:1\n";
            out << "Smoothing:  1\n";
        }
        return static_cast<bool>(out);
    }

    std::vector<Vector3> positions;  // the game's frame
    std::vector<Face> faces;         // wound outward

private:
    static Vector3 Around(int k, int segments) {
        const float a = 6.2831853f * static_cast<float>(k) / static_cast<float>(segments);
        return {std::cos(a), 0, std::sin(a)};
    }
    static std::vector<Vector3> Ring(const Vector3& centre, float r, int segments) {
        std::vector<Vector3> ring;
        for (int k = 0; k < segments; ++k) ring.push_back(centre + Around(k, segments) * r);
        return ring;
    }
};

}  // namespace content
