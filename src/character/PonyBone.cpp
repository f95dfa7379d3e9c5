#include "character/PonyBone.h"

#include <algorithm>

#include "character/Pony.h"
#include "core/Clock.h"
#include "core/System.h"

namespace {

const float SETTLE_MS = 200;
// Even a long frame keeps a tenth of the old direction.
const float MAX_STEP_SHARE = 0.9f;
// A new tail hangs in its target shape for this many steps before it trails:
// its earlier direction means nothing yet.
const int SETTLE_STEPS = 2;
// cos 60°: how far a segment may bend away from its parent.
const float STIFFNESS = 0.5f;
// Each pull towards the parent at least doubles a small sideways part, so the
// stiffness loop needs a few dozen rounds at most from a direction that is
// opposite but for rounding.
const int MAX_PULLS = 64;

Matrix Inverted(Matrix m) {
    m.Inverse();
    return m;
}

// Turns the unit axes onto a, n and b: n along the segment, a across it at a
// right angle to the reference, b completing the frame.
Matrix SegmentAxes(const Vector3& n, const Vector3& reference) {
    Vector3 a = reference.Cross(n).Normalized();
    // A reference along the segment gives no side; any other axis will do.
    if (a == Vector3()) a = Vector3(0, 1, 0).Cross(n).Normalized();
    if (a == Vector3()) a = Vector3(1, 0, 0).Cross(n).Normalized();
    const Vector3 b = n.Cross(a).Normalized();
    Matrix m;
    m.CreateIdentity();
    m.ReplaceRow(0, a);
    m.ReplaceRow(1, n);
    m.ReplaceRow(2, b);
    return m;
}

}  // namespace

PonyBone::PonyBone(Object* parent_, const Vector3& joint, const Vector3& end_,
                   const Vector3& hint, float flex_, int start_, int count_, bool isRoot_)
    : end(end_), length((end_ - joint).Length()), isRoot(isRoot_), flex(flex_) {
    parent = parent_;
    restPos = joint;
    if (length > 0) restY = (end - joint) / length;
    restX = restY.Cross(hint).Normalized();
    restZ = restX.Cross(restY).Normalized();

    SetRotation(restX, restY, restZ);
    SetPosition(joint);
    local = translation * rotation;
    restInverse = Inverted(local);
    if (parent) local = parent->restInverse * local;
    localOrigin = restInverse * joint;
    localZ = restInverse ^ restZ;
    SetRotation(Vector3(0, 0, 0));
    SetPosition(Vector3(0, 0, 0));

    settle = 1;  // the first step, here, has no previous tip either
    Update();
    start = start_;
    count = count_;
    settle = SETTLE_STEPS;
}

void PonyBone::Update() {
    const Clock* clock = System::instance()->clock;
    if (clock->mode == 0) return;

    prevPos = worldPos;
    const Vector3 d = HangFromParent(*this, end, isRoot);

    float keep = 1 - std::clamp(clock->delta / SETTLE_MS, 0.0f, MAX_STEP_SHARE);
    if (settle > 0) {
        keep = 0;
        --settle;
    }
    const Vector3 o = (tip - worldPos).Normalized();
    const Vector3 g = ((d * 0.8f + Vector3(0, -0.2f, 0)) * (1 - flex)).Normalized();
    Vector3 n = (g * (1 - keep) + o * (keep * flex)).Normalized();

    // Pull n back towards the parent's direction until it lies within the
    // cone. Exactly opposite, there is no side to pull it round by: it then
    // takes the parent's direction. A parent without a direction sets no cone.
    if (d != Vector3()) {
        for (int pulls = 0; d.Dot(n) < STIFFNESS; ++pulls) {
            if (n == -d || pulls == MAX_PULLS) {
                n = d;
                break;
            }
            n = (d + n * 2).Normalized();
        }
    }
    prevTip = tip;
    tip = worldPos + n * length;

    const Vector3 reference = parent ? parent->world ^ parent->localZ : restZ;
    translation.CreateTranslate(worldPos);
    rotation = SegmentAxes(n, reference);
    // No restInverse: the tail keeps the segment's vertices in its own frame.
    world = translation * rotation;
}
