#pragma once

#include "character/Object.h"

// A limb segment or weapon that the animation turns about its joint. Each
// update records where its joint and tip stand now and stood the frame
// before: the swept quad that blows are tested with, and the weapon trails.
class Bone : public Object {
public:
    // The segment runs from joint to end; hint sets which way it faces and
    // extent the size of its collision ellipsoid (y along the segment).
    Bone(Object* parent, const Vector3& joint, const Vector3& end, const Vector3& hint,
         const Vector3& extent, Mesh* mesh, Mesh* shadowMesh, Mesh* collisionMesh,
         Material* material);

    using Object::Update;
    void Update() override;  // world from the pose, then joint and tip

    // The rest pose every jointed part is built with: restY from joint to end,
    // restX = restY × hint, restZ = restX × restY. Binds the meshes and leaves
    // the part unposed; returns the segment in the part's own frame.
    static Vector3 PlaceSegment(Object& part, Object* parent, const Vector3& joint,
                                const Vector3& end, const Vector3& hint, const Vector3& extent,
                                Mesh* mesh, Mesh* shadowMesh, Mesh* collisionMesh,
                                Material* material);
    // Joint and tip from world: worldPos, then tip = worldPos + the segment.
    static void PlaceTip(Object& part, const Vector3& tipOffset);

    Vector3 end;        // far end of the segment, rest pose
    float length;       // from the joint to end
    Vector3 tipOffset;  // the segment in the part's own frame
};
