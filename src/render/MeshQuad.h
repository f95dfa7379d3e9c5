#pragma once

#include "render/Mesh.h"

// A flat rectangle of two triangles: one corner, two edge directions and the
// lengths along them (size.x along axisU, size.y along axisV).
class MeshQuad : public Mesh {
public:
    MeshQuad(const Vector3& origin, const Vector3& axisU, const Vector3& axisV,
             const Vector3& size);
};
