#include "render/MeshCylinder.h"

#include <cmath>
#include <ostream>

#include "core/Trace.h"

// Vertices go in bottom/top pairs around the tube. There is no repeated pair:
// the last segment closes onto the first, its u running back to 0.
MeshCylinder::MeshCylinder(const Vector3& base, const Vector3& axisA, const Vector3& axisH,
                           const Vector3& axisB, const Vector3& radii, bool doubleSided,
                           int segments) {
    debug << "meshcyl constr" << std::endl;
    if (segments < 1) {
        debug << "meshcyl: " << segments << " segments make no tube; the cylinder stays empty"
              << std::endl;
        return;
    }
    const int n = segments;
    Allocate(2 * n, doubleSided ? 4 * n : 2 * n);

    for (int k = 0; k < n; ++k) {
        const float t = static_cast<float>(k) / n;
        const float sine = std::sin(2 * 3.1415927f * t);
        const float cosine = static_cast<float>(std::cos(2 * 3.1415926535 * t));
        // The normal follows the axes alone: neither scaled by the radii nor normalized.
        const Vector3 around = axisA * sine + axisB * cosine;
        const Vector3 ring = base + axisA * (radii.x * sine) + axisB * (radii.z * cosine);
        for (int j = 0; j < 2; ++j) {
            vertices[2 * k + j] =
                Vertex(ring + axisH * (j * radii.y), around, t, static_cast<float>(j));
        }
    }

    int* face = faces.data();
    for (int s = 0; s < n; ++s) {
        const int i = 2 * s;
        const int triangles[4][3] = {
            {i, i + 2, i + 1}, {i + 2, i + 3, i + 1}, {i, i + 1, i + 2}, {i + 3, i + 2, i + 1}};
        for (int t = 0; t < (doubleSided ? 4 : 2); ++t) {
            for (int corner : triangles[t]) *face++ = corner % numVertices;
        }
    }
}
