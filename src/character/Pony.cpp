#include "character/Pony.h"

#include <algorithm>
#include <ostream>

#include "core/Clock.h"
#include "core/System.h"
#include "core/Trace.h"
#include "render/Mesh.h"

namespace {

// A frame this long or longer snaps a segment onto its target direction.
const float SETTLE_MS = 200;
// The share of the downward pull for a segment hanging from another segment;
// a root follows its bone alone.
const float HANGING_GRAVITY = 0.4f;

Matrix Inverted(Matrix m) {
    m.Inverse();
    return m;
}

}  // namespace

Pony::Pony(Object* parent_, const Vector3& joint, const Vector3& end_, const Vector3& hint,
           const Vector3& extent, Mesh* mesh_, Mesh* shadowMesh_, Mesh* collisionMesh_,
           Material* material_, bool isRoot_)
    : end(end_), length((end_ - joint).Length()), isRoot(isRoot_) {
    debug << "isroot: " << (isRoot ? "true" : "false") << std::endl;
    parent = parent_;
    restPos = joint;
    if (length > 0) restY = (end - joint) / length;
    restX = restY.Cross(hint).Normalized();
    restZ = restX.Cross(restY).Normalized();
    size = extent;

    SetRotation(restX, restY, restZ);
    SetPosition(joint);
    local = translation * rotation;
    const Matrix restTransform = local;
    restInverse = Inverted(local);
    if (parent) local = parent->restInverse * local;
    localOrigin = restInverse * joint;
    localZ = restInverse ^ restZ;

    // With `rest` still the identity, SetMesh leaves the meshes in the
    // segment's own frame, where "away from the axis" is away from local y.
    SetMesh(mesh_, shadowMesh_, collisionMesh_, material_);
    if (mesh != nullptr) mesh->RecalcNormalsCyl();
    // Only then do they go back to the rest pose: `world` ends in restInverse,
    // so it expects rest-pose coordinates like every other node's.
    rest = restTransform;
    for (Mesh* m : {mesh, shadowMesh, collisionMesh})
        if (m != nullptr) m->Transform(rest);

    SetRotation(Vector3(0, 0, 0));
    SetPosition(Vector3(0, 0, 0));
    // Until the first steps have set them, the tips are where the segment was
    // modelled; the first step blends in the tip of two steps before.
    worldPos = joint;
    prevTip = end;
    tip = end;
    Update();
}

Vector3 HangFromParent(Object& segment, const Vector3& end, bool isRoot) {
    const Object* parent = segment.parent;
    Vector3 d;
    if (parent == nullptr) {
        segment.worldPos = segment.restPos;
        d = end - segment.restPos;
    } else if (isRoot) {
        segment.worldPos = Vector3(parent->world * Vector4(segment.restPos));
        d = parent->world ^ (end - segment.restPos);
    } else {
        segment.worldPos = parent->tip;
        d = parent->tip - parent->worldPos;
    }
    return d.Normalized();
}

void Pony::Update() {
    prevPos = worldPos;
    const float gravity = isRoot ? 0 : HANGING_GRAVITY;
    const Vector3 d = HangFromParent(*this, end, isRoot);

    const float k = std::clamp(System::instance()->clock->delta / SETTLE_MS, 0.0f, 1.0f);
    const Vector3 o = (prevTip - worldPos).Normalized();
    const Vector3 g = (d * (1 - gravity) + Vector3(0, -1, 0) * gravity).Normalized();
    const Vector3 n = (g * k + o * (1 - k)).Normalized();
    prevTip = tip;
    tip = worldPos + n * length;

    // A segment hanging straight down or up has no side in the horizontal
    // plane; z serves as its reference instead.
    const bool vertical = tip.x == worldPos.x && tip.z == worldPos.z;
    const Vector3 reference = vertical ? Vector3(0, 0, 1) : Vector3(0, 1, 0);
    const Vector3 a = reference.Cross(n).Normalized();
    const Vector3 b = n.Cross(a).Normalized();
    translation.CreateTranslate(worldPos);
    rotation.CreateIdentity();  // the unit axes go onto a, n and b
    rotation.ReplaceRow(0, a);
    rotation.ReplaceRow(1, n);
    rotation.ReplaceRow(2, b);
    world = translation * rotation * restInverse;
}
