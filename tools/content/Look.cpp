#include "content/Look.h"

#include <algorithm>
#include <cmath>

namespace content {

MeshBuilder Loft(const std::vector<Ring>& rings, int segments) {
    MeshBuilder m;
    auto at = [&](const Ring& r, int k) {
        const float a = 2 * PI * static_cast<float>(k) / static_cast<float>(segments);
        return Vector3(r.rx * std::cos(a), r.y, r.cz + r.rz * std::sin(a));
    };
    for (const Ring& r : rings)
        for (int k = 0; k < segments; ++k) m.AddVertex(at(r, k));
    for (size_t i = 0; i + 1 < rings.size(); ++i) {
        for (int k = 0; k < segments; ++k) {
            const int a = static_cast<int>(i) * segments + k;
            const int b = static_cast<int>(i) * segments + (k + 1) % segments;
            const int c = a + segments, d = b + segments;
            // Outward: away from the axis at this face's middle.
            const Vector3 mid =
                (m.positions[a] + m.positions[b] + m.positions[c] + m.positions[d]) * 0.25f;
            const float cz = (rings[i].cz + rings[i + 1].cz) * 0.5f;
            const Vector3 out(mid.x, 0, mid.z - cz);
            m.Triangle(a, b, d, out);
            m.Triangle(a, d, c, out);
        }
    }
    std::vector<Vector3> bottom, top;
    for (int k = 0; k < segments; ++k) {
        bottom.push_back(at(rings.front(), k));
        top.push_back(at(rings.back(), k));
    }
    const float dir = rings.back().y > rings.front().y ? 1.0f : -1.0f;
    m.Polygon(bottom, Vector3(0, -dir, 0));
    m.Polygon(top, Vector3(0, dir, 0));
    return m;
}

Matrix PartFrame(const Part& part) {
    Matrix m;
    m.CreateIdentity();
    m.ReplaceRow(0, part.rest.x);
    m.ReplaceRow(1, part.rest.y);
    m.ReplaceRow(2, part.rest.z);
    m.ReplaceRow(3, part.joint);
    return m;
}

void WritePartMeshes(const std::string& dir, const Part& part, MeshBuilder mesh, MeshBuilder shadow,
                     bool inRestPose) {
    if (!inRestPose) {
        const Matrix frame = PartFrame(part);
        mesh.Transform(frame);
        shadow.Transform(frame);
    }
    mesh.Write(dir + "meshes/" + part.mesh, false, part.mesh);
    shadow.Write(dir + "3/" + part.mesh, false, part.mesh);
}

MeshBuilder ShadowWedge(const Vector3& a0, const Vector3& a1, const Vector3& b0,
                        const Vector3& b1) {
    MeshBuilder m;
    const Vector3 centre = (a0 + a1 + b0 + b1) * 0.25f;
    const Vector3 corners[4] = {a0, a1, b0, b1};
    for (const Vector3& p : corners) m.AddVertex(p);
    const int faces[4][3] = {{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}};
    for (const auto& f : faces) {
        const Vector3 middle =
            (m.positions[f[0]] + m.positions[f[1]] + m.positions[f[2]]) * (1.0f / 3);
        m.Triangle(f[0], f[1], f[2], middle - centre);
    }
    return m;
}

MeshBuilder ShadowWedgeBox(const Vector3& lo, const Vector3& hi) {
    const Vector3 c = (lo + hi) * 0.5f, h = (hi - lo) * 0.5f;
    const float half[3] = {h.x, h.y, h.z};
    auto axis = [](int i, float v) {
        return i == 0 ? Vector3(v, 0, 0) : i == 1 ? Vector3(0, v, 0) : Vector3(0, 0, v);
    };
    int along = 0;
    for (int i = 1; i < 3; ++i)
        if (half[i] > half[along]) along = i;
    const int first = (along + 1) % 3, second = (along + 2) % 3;
    const float w = 1.3f;
    const Vector3 a = c - axis(along, half[along]), b = c + axis(along, half[along]);
    return ShadowWedge(a - axis(first, half[first] * w), a + axis(first, half[first] * w),
                       b - axis(second, half[second] * w), b + axis(second, half[second] * w));
}

MeshBuilder ShadowWedge(const std::vector<Ring>& rings) {
    const Ring& lo = rings.front();
    const Ring& hi = rings.back();
    float rx = 0, rz = 0;
    for (const Ring& r : rings) {
        rx = std::max(rx, r.rx);
        rz = std::max(rz, r.rz);
    }
    // Half way along, a tetrahedron is half as wide as its edges: widen them.
    const float w = 1.3f;
    return ShadowWedge({-rx * w, lo.y, lo.cz}, {rx * w, lo.y, lo.cz}, {0, hi.y, hi.cz - rz * w},
                       {0, hi.y, hi.cz + rz * w});
}

void WriteCloth(const std::string& path, const std::vector<std::vector<Vector3>>& rows,
                const std::vector<bool>& joined, const Vector3& outward) {
    MeshBuilder m;
    std::vector<int> first;
    for (const auto& row : rows) {
        first.push_back(static_cast<int>(m.positions.size()));
        for (const Vector3& p : row) m.AddVertex(p);
    }
    for (size_t r = 0; r + 1 < rows.size(); ++r) {
        if (!joined[r]) continue;
        const size_t n = std::min(rows[r].size(), rows[r + 1].size());
        for (size_t j = 0; j + 1 < n; ++j) {
            const int a = first[r] + static_cast<int>(j), b = a + 1;
            const int c = first[r + 1] + static_cast<int>(j), d = c + 1;
            m.Triangle(a, c, b, outward);
            m.Triangle(b, c, d, outward);
        }
    }
    m.Write(path, true, "cloth");
}

void WriteImage(const std::string& path, int width, int height,
                const std::function<Vector3(float, float)>& paint) {
    Image image(width, height, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Vector3 c = paint((x + 0.5f) / width, (y + 0.5f) / height);
            image.Set(x, y, c.x, c.y, c.z);
        }
    image.Write(path);
}

void WriteGreyImage(const std::string& path, int width, int height,
                    const std::function<float(float, float)>& paint) {
    Image image(width, height, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Set(x, y, paint((x + 0.5f) / width, (y + 0.5f) / height));
    image.Write(path);
}

MatSpec BodyMaterial(const std::string& image, const std::string& map) {
    MatSpec m;
    m.image = image;
    m.map = map;
    // Just over 1, so that a cylindrical map mends its seam at the front.
    m.scaleU = map == "CYL" ? 1.001f : 1.0f;
    m.ambient = Vector3(0.45f, 0.45f, 0.45f);
    m.diffuse = Vector3(0.9f, 0.9f, 0.9f);
    return m;
}

float Grain(float u, float v, int cells, unsigned seed) {
    return Noise(u * cells, v * cells, cells, seed);
}

float WrappedDistance(float u, float v, float cu, float cv, int width, int height) {
    float du = std::fabs(u - cu);
    du = std::min(du, 1 - du);
    const float dx = du * width, dy = (v - cv) * height;
    return std::sqrt(dx * dx + dy * dy);
}

}  // namespace content
