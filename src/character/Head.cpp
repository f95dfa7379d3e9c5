#include "character/Head.h"

#include "character/Bone.h"
#include "core/Clock.h"
#include "core/System.h"

namespace {

const float LOOK_STEP = 0.05f;       // the most the head turns in one update, radians
const float LOOK_LIMIT = 1.3f;       // beyond it a target far to one side turns the head no further
const float EIGHTH_TURN = 0.7853982f;

}  // namespace

Head::Head(Object* parent_, const Vector3& joint, const Vector3& end_, const Vector3& hint,
           const Vector3& extent, Mesh* mesh_, Mesh* shadowMesh_, Mesh* collisionMesh_,
           Material* material_)
    : end(end_), length((end_ - joint).Length()) {
    tipOffset = Bone::PlaceSegment(*this, parent_, joint, end_, hint, extent, mesh_, shadowMesh_,
                                   collisionMesh_, material_);
    // Placed where the pose puts it, without looking anywhere yet.
    prevPos = worldPos;
    prevTip = tip;
    Object::Update();
    Bone::PlaceTip(*this, tipOffset);
    rotates = true;
    translates = false;
}

// The head is turned about the vertical through its joint, in world space:
// each candidate yaw is put between the joint's orientation and its position.
void Head::Update() {
    if (System::instance()->clock->mode == 0) return;  // time stands still, and so does the head
    prevPos = worldPos;
    prevTip = tip;

    world.CreateIdentity();
    if (parent) {
        world = world * parent->world;
        world = world * parent->rest;
    }
    world = world * local;
    if (translates) world = world * translation;

    if (targetObject != nullptr) {
        // From the target to the head: the way the back of the head should face.
        const Vector3 away = (worldPos - targetObject->worldPos).Normalized();
        Matrix moved;
        moved.CreateIdentity();
        for (int j = 0; j < 3; ++j) {
            moved(3, j) = world(3, j);
            world(3, j) = 0;
        }
        const Matrix turned = world;

        const Vector3 step(0, LOOK_STEP, 0);
        const Vector3 yaws[7] = {look,
                                 look + step,
                                 look - step,
                                 Vector3(0, EIGHTH_TURN, 0),
                                 Vector3(0, -EIGHTH_TURN, 0),
                                 Vector3(0, 3 * EIGHTH_TURN, 0),
                                 Vector3(0, -3 * EIGHTH_TURN, 0)};
        Matrix candidate[7];
        float e[7];
        for (int k = 0; k < 7; ++k) {
            SetRotation(yaws[k]);
            candidate[k] = moved * rotation * turned;
            e[k] = away.Dot((candidate[k] ^ Vector3(0, 0, 1)).Normalized());
        }

        // The wide candidates (±45°, ±135°) decide the way to turn while the
        // target lies far to one side; otherwise the best of staying and one
        // step either way wins.
        if (e[5] > e[6] && e[5] > e[3] && e[5] > e[4]) {
            world = candidate[1];
            if (look.y < LOOK_LIMIT) look += step;
        } else if (e[6] > e[3] && e[6] > e[4]) {
            world = candidate[2];
            if (look.y > -LOOK_LIMIT) look -= step;
        } else if (e[0] > e[1] && e[0] > e[2]) {
            world = candidate[0];
        } else if (e[1] > e[2]) {
            world = candidate[1];
            look += step;
        } else {
            world = candidate[2];
            look -= step;
        }
    }

    world = world * restInverse;
    dirty = false;
    Bone::PlaceTip(*this, tipOffset);
}
