#include "ai/Skeleton.h"

#include <algorithm>
#include <cmath>

#include "anim/KeyFrame.h"
#include "character/Bone.h"
#include "character/Head.h"
#include "character/LockBone.h"
#include "character/Person.h"

namespace {

// The segment of the parts that have one; the others are a point at their joint.
Vector3 TipOffset(const Object& o) {
    if (const auto* bone = dynamic_cast<const Bone*>(&o)) return bone->tipOffset;
    if (const auto* lock = dynamic_cast<const LockBone*>(&o)) return lock->tipOffset;
    if (const auto* head = dynamic_cast<const Head*>(&o)) return head->tipOffset;
    return Vector3();
}

// Only plain bones follow the keyframe's angles; a locked bone never turns, a
// head turns after its target, hair and cloth swing by themselves.
bool TurnsWithKey(const Object& o) {
    return dynamic_cast<const Bone*>(&o) != nullptr;
}

}  // namespace

Skeleton::Skeleton(const Person& person) {
    const int n = std::min(person.nbones, person.bones.count);
    parts.reserve(n);
    for (int i = 0; i < n; ++i) {
        const Object& o = *person.bones[i];
        int parent = -1;
        for (int j = 0; j < i; ++j) {
            if (static_cast<const Object*>(person.bones[j]) == o.parent) parent = j;
        }
        const Vector3 radii(o.size.x, o.size.y / 2, o.size.z);
        parts.push_back({parent, o.local, o.rest, o.restInverse, TipOffset(o), radii, TurnsWithKey(o)});
    }
    placed.resize(n);
}

void Skeleton::Pose(const KeyFrame& from, const KeyFrame& to, float f) {
    const auto between = [f](const Vector3& a, const Vector3& b) { return a + (b - a) * f; };
    // The body's root as the match sets it: its position, then its facing.
    Matrix translation, rotation;
    translation.CreateTranslate(between(from.pos, to.pos));
    rotation.CreateRotateXZY(between(from.facing, to.facing));
    const Matrix root = translation * rotation;

    std::vector<Matrix> world(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        const Part& part = parts[i];
        Matrix w = part.parent < 0 ? root : world[part.parent] * parts[part.parent].rest;
        w = w * part.local;
        const int b = static_cast<int>(i);
        if (part.turns && b < from.nbones && b < to.nbones) {
            Matrix turn;
            turn.CreateRotateXZY(-between(from.rot[b], to.rot[b]));
            w = w * turn;
        }
        world[i] = w * part.restInverse;
        placed[i] = world[i] * part.rest;
    }
}

Vector3 Skeleton::Joint(int part) const { return placed[part] * Vector3(); }

Vector3 Skeleton::Tip(int part) const {
    return (placed[part] ^ parts[part].tipOffset) + Joint(part);
}

void Skeleton::Ellipsoid(int part, Vector3& centre, Vector3 axes[3]) const {
    const Vector3& r = parts[part].radii;
    const Matrix& m = placed[part];
    centre = m * Vector3(0, r.y, 0);
    axes[0] = (m ^ Vector3(1, 0, 0)) * r.x;
    axes[1] = (m ^ Vector3(0, 1, 0)) * r.y;
    axes[2] = (m ^ Vector3(0, 0, 1)) * r.z;
}

float Skeleton::Extent(int part, const Vector3& u) const {
    Vector3 centre, axes[3];
    Ellipsoid(part, centre, axes);
    const Vector3 along(u.Dot(axes[0]), u.Dot(axes[1]), u.Dot(axes[2]));
    return centre.Dot(u) + along.Length();
}
