#pragma once

#include "render/Mesh.h"

// An ellipsoid around `center` with axisH as its polar axis: `stacks` rings
// of latitude counting both poles, `slices` vertices around each ring.
class MeshSphere : public Mesh {
public:
    MeshSphere(const Vector3& center, const Vector3& axisA, const Vector3& axisH,
               const Vector3& axisB, const Vector3& radii, bool doubleSided, int slices,
               int stacks);
};
