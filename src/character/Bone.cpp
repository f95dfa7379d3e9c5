#include "character/Bone.h"

Bone::Bone(Object* parent_, const Vector3& joint, const Vector3& end_, const Vector3& hint,
           const Vector3& extent, Mesh* mesh_, Mesh* shadowMesh_, Mesh* collisionMesh_,
           Material* material_)
    : end(end_), length((end_ - joint).Length()) {
    tipOffset = PlaceSegment(*this, parent_, joint, end_, hint, extent, mesh_, shadowMesh_,
                             collisionMesh_, material_);
    Update();
    rotates = true;
    translates = false;
}

void Bone::Update() {
    prevPos = worldPos;
    prevTip = tip;
    Object::Update();
    PlaceTip(*this, tipOffset);
}

Vector3 Bone::PlaceSegment(Object& part, Object* parent, const Vector3& joint, const Vector3& end,
                           const Vector3& hint, const Vector3& extent, Mesh* mesh,
                           Mesh* shadowMesh, Mesh* collisionMesh, Material* material) {
    part.parent = parent;
    part.restPos = joint;
    const Vector3 segment = end - joint;
    // A segment of no length keeps the default axis along y.
    if (segment.Length() > 0) part.restY = segment.Normalized();
    part.restX = part.restY.Cross(hint).Normalized();
    part.restZ = part.restX.Cross(part.restY).Normalized();
    part.size = extent;

    part.SetRotation(part.restX, part.restY, part.restZ);
    part.SetPosition(part.restPos);
    part.local = part.translation * part.rotation;
    part.rest = part.local;
    part.restInverse = part.local;
    part.restInverse.Inverse();
    if (parent != nullptr) part.local = parent->restInverse * part.local;
    part.localOrigin = part.restInverse * part.restPos;
    part.localZ = part.restInverse ^ part.restZ;

    part.SetMesh(mesh, shadowMesh, collisionMesh, material);
    part.SetRotation(Vector3(0, 0, 0));
    part.SetPosition(Vector3(0, 0, 0));
    return part.restInverse ^ (part.restY * segment.Length());
}

// `position` and the tip offset are in the part's own frame: `rest` takes them
// to the rest pose, `world` on to where the part stands now.
void Bone::PlaceTip(Object& part, const Vector3& tipOffset) {
    const Matrix placed = part.world * part.rest;
    part.worldPos = placed * part.position;
    part.tip = (placed ^ tipOffset) + part.worldPos;
}
