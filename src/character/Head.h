#pragma once

#include "character/Object.h"

// A segment that turns about the vertical each frame so that the face keeps
// looking towards a target, at most 0.05 radian a frame. Its animated
// rotation is ignored.
class Head : public Object {
public:
    Head(Object* parent, const Vector3& joint, const Vector3& end, const Vector3& hint,
         const Vector3& extent, Mesh* mesh, Mesh* shadowMesh, Mesh* collisionMesh,
         Material* material);

    using Object::Update;
    void Update() override;  // follows the parent and turns towards the target; still while time is frozen

    void target(Object* o) { targetObject = o; }  // the object to look at

    Vector3 end;                     // far end of the segment, rest pose
    float length;                    // from the joint to end
    Vector3 tipOffset;               // the segment in the part's own frame
    Object* targetObject = nullptr;  // the opponent; null until target() is called
    Vector3 look;                    // look angles; only the yaw, look.y, changes
};
