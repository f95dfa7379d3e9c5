#pragma once

#include "character/Object.h"

// A rigid segment of hair that nobody animates: a root hangs from a bone,
// every next segment from the end of the one before. Each step it points in a
// blend of its parent's direction, a pull downwards and its own earlier
// direction, mixed by the frame time so that it settles at the same speed
// whatever the frame rate. Its meshes are bound to the rest pose like any
// node's; `world` carries them to where the segment hangs now.
class Pony : public Object {
public:
    Pony(Object* parent, const Vector3& joint, const Vector3& end, const Vector3& hint,
         const Vector3& extent, Mesh* mesh, Mesh* shadowMesh, Mesh* collisionMesh,
         Material* material, bool isRoot);

    using Object::Update;
    void Update() override;  // one step; keeps stepping while the clock is frozen

    Vector3 end;          // rest end point
    float length = 0;     // from the joint to the end
    bool isRoot = false;  // hangs from a bone rather than from another segment
};

// Places a hanging segment's joint (its worldPos) where it hangs now and
// returns the direction its parent points it in: a root hangs from its bone's
// current pose, a later segment from the tip of the one before, and one with
// no parent where it was modelled.
Vector3 HangFromParent(Object& segment, const Vector3& end, bool isRoot);
