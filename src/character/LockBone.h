#pragma once

#include "character/Object.h"

// A segment rigidly fixed to its parent: it ignores the rotation and
// translation the animation gives it and moves exactly with its parent.
class LockBone : public Object {
public:
    LockBone(Object* parent, const Vector3& joint, const Vector3& end, const Vector3& hint,
             const Vector3& extent, Mesh* mesh, Mesh* shadowMesh, Mesh* collisionMesh,
             Material* material);

    using Object::Update;
    void Update() override;  // world from the parent alone, then joint and tip

    Vector3 end;        // far end of the segment, rest pose
    float length;       // from the joint to end
    Vector3 tipOffset;  // the segment in the part's own frame
};
