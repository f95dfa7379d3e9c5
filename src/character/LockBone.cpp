#include "character/LockBone.h"

#include "character/Bone.h"

LockBone::LockBone(Object* parent_, const Vector3& joint, const Vector3& end_, const Vector3& hint,
                   const Vector3& extent, Mesh* mesh_, Mesh* shadowMesh_, Mesh* collisionMesh_,
                   Material* material_)
    : end(end_), length((end_ - joint).Length()) {
    tipOffset = Bone::PlaceSegment(*this, parent_, joint, end_, hint, extent, mesh_, shadowMesh_,
                                   collisionMesh_, material_);
    Update();
    rotates = true;
    translates = false;
}

// The world matrix is rebuilt every time, posed or not: the parent may have
// moved although nobody touched this part.
void LockBone::Update() {
    prevPos = worldPos;
    prevTip = tip;
    world.CreateIdentity();
    if (parent) {
        world = world * parent->world;
        world = world * parent->rest;
    }
    world = world * local;
    world = world * restInverse;
    dirty = false;
    Bone::PlaceTip(*this, tipOffset);
}
