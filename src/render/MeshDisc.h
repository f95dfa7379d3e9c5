#pragma once

#include "render/Mesh.h"

// A flat ring in the plane of axisA and axisB, open in the middle: its inner
// edge lies at half the radius (radii.x along axisA, radii.z along axisB).
// Single-sided, its alternate triangles face opposite ways.
class MeshDisc : public Mesh {
public:
    MeshDisc(const Vector3& center, const Vector3& axisA, const Vector3& normal,
             const Vector3& axisB, const Vector3& radii, bool doubleSided, int segments);
};
