#pragma once

#include "render/Mesh.h"

// An open tube standing on `base` along axisH (height radii.y), its
// cross-section an ellipse with radii.x along axisA and radii.z along axisB.
class MeshCylinder : public Mesh {
public:
    MeshCylinder(const Vector3& base, const Vector3& axisA, const Vector3& axisH,
                 const Vector3& axisB, const Vector3& radii, bool doubleSided, int segments);
};
