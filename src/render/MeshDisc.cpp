#include "render/MeshDisc.h"

#include <cmath>
#include <ostream>

#include "core/Trace.h"

// Vertices go in inner/outer pairs around the ring; the last pair repeats the
// first angle so that u can run to its end.
MeshDisc::MeshDisc(const Vector3& center, const Vector3& axisA, const Vector3& normal,
                   const Vector3& axisB, const Vector3& radii, bool doubleSided, int segments) {
    debug << "meshdisc constr" << std::endl;
    if (segments < 1) {
        debug << "meshdisc: " << segments << " segments make no ring; the disc stays empty"
              << std::endl;
        return;
    }
    const int n = segments;
    Allocate(2 * n + 2, doubleSided ? 4 * n : 2 * n);

    for (int k = 0; k <= n; ++k) {
        const float t = static_cast<float>(k) / n;
        const float sine = std::sin(2 * 3.1415927f * t);
        const float cosine = static_cast<float>(std::cos(2 * 3.1415926535 * t));
        const Vector3 offset = axisA * (radii.x * sine) + axisB * (radii.z * cosine);
        vertices[2 * k] = Vertex(center + offset / 2, normal, 0.997f * t, 0.997f);
        vertices[2 * k + 1] = Vertex(center + offset, normal, 0.997f * t, 0);
    }

    int* face = faces.data();
    for (int s = 0; s < n; ++s) {
        const int i = 2 * s;
        const int triangles[4][3] = {
            {i, i + 1, i + 2}, {i + 1, i + 2, i + 3}, {i, i + 2, i + 1}, {i + 1, i + 3, i + 2}};
        for (int t = 0; t < (doubleSided ? 4 : 2); ++t) {
            for (int corner : triangles[t]) *face++ = corner % numVertices;
        }
    }
}
