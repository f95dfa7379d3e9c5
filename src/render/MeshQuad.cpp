#include "render/MeshQuad.h"

// Vertex 2s + t sits s edges along axisU and t along axisV and carries the
// texture coordinates (s, t).
MeshQuad::MeshQuad(const Vector3& origin, const Vector3& axisU, const Vector3& axisV,
                   const Vector3& size) {
    Allocate(4, 2);
    const Vector3 normal = axisU.Cross(axisV).Normalize();
    for (int s = 0; s < 2; ++s) {
        for (int t = 0; t < 2; ++t) {
            const Vector3 pos = origin + axisU * (s * size.x) + axisV * (t * size.y);
            vertices[2 * s + t] = Vertex(pos, normal, static_cast<float>(s), static_cast<float>(t));
        }
    }
    faces = {0, 1, 2, 2, 1, 3};
}
