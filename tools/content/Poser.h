#pragma once

// Poses described the way an animator thinks of them: how the spine bends,
// where each foot stands and each hand reaches, where a weapon points. The
// poser solves the limbs (two-segment reach with a pole for the knee or the
// elbow) in the order the skeleton needs: spine, legs, arms, hands, weapon,
// then a second hand gripping the weapon.
//
// Positions are in the frame the move is placed in (the fighter's own frame
// at the start of the move): feet where they stand on the floor, hands
// relative to the root, so that a crouch lowers the hands with the body.
// Angles are in degrees: x bends forward, y twists (positive turns the front
// toward the fighter's right), z leans toward the fighter's left.

#include <optional>
#include <string>

#include "content/Rig.h"

namespace content {

const int RIGHT = 0;  // on -x
const int LEFT = 1;   // on +x

// Runs add(side, s, k) for the right side (s = -1, k = "r"), then the left.
template <typename Add>
void BothSides(const Add& add) {
    for (const int side : {RIGHT, LEFT})
        add(side, side == RIGHT ? -1.0f : 1.0f, std::string(side == RIGHT ? "r" : "l"));
}

// The parts a move needs, by their index in the rig.
struct BodyMap {
    int hips = -1, belly = -1, chest = -1, neck = -1, head = -1;
    int upper[2] = {-1, -1}, fore[2] = {-1, -1}, hand[2] = {-1, -1};
    int thigh[2] = {-1, -1}, shin[2] = {-1, -1}, foot[2] = {-1, -1};
    int weapon = -1;
};

class Poser {
public:
    Poser(const Rig& rig, const BodyMap& body);

    Poser& Root(float x, float y, float z) {
        pos = Vector3(x, y, z);
        return *this;
    }
    Poser& Hips(float x, float y, float z) {
        hips = Vector3(x, y, z);
        return *this;
    }
    Poser& Belly(float x, float y, float z) {
        belly = Vector3(x, y, z);
        return *this;
    }
    Poser& Chest(float x, float y, float z) {
        chest = Vector3(x, y, z);
        return *this;
    }
    Poser& Neck(float x, float y, float z) {
        neck = Vector3(x, y, z);
        return *this;
    }

    // The ankle of `side` stands at `ankle`; toes turned outward by `toeOut`
    // degrees and pitched up by `pitch` degrees from flat.
    Poser& Foot(int side, const Vector3& ankle, float toeOut = 0, float pitch = 0);
    // The foot points along `direction` (a kick's extended foot).
    Poser& FootAlong(int side, const Vector3& direction);
    // The knee of `side` points toward `pole` (default: forward, a little out).
    Poser& Knee(int side, const Vector3& pole) {
        leg[side].pole = pole;
        return *this;
    }
    // The leg hangs by angles instead: thigh and knee (degrees, x forward, z out).
    Poser& LegAngles(int side, const Vector3& thigh, const Vector3& knee);

    // The point `reachBeyond` past the wrist along the forearm goes to
    // `target` (relative to the root); the elbow points toward `pole`.
    Poser& Hand(int side, const Vector3& target, const Vector3& pole, float reachBeyond = 0);
    // The arm by angles (degrees): shoulder (x forward, z outward), elbow bend.
    Poser& ArmAngles(int side, const Vector3& shoulder, float elbow, float elbowOut = 0);
    // The hand points along `direction`; by default it continues the forearm.
    Poser& Wrist(int side, const Vector3& direction);

    // The weapon points along `direction` from the hand that holds it.
    Poser& Weapon(const Vector3& direction) {
        weapon = direction;
        return *this;
    }
    // Hand `side` grips the weapon `along` units behind its grip point.
    Poser& Grip(int side, float along, const Vector3& pole);

    // Moves the whole figure: the root and both feet (hands follow the root).
    Poser& Shift(const Vector3& by);
    // Moves one foot from where the pose put it.
    Poser& ShiftFoot(int side, const Vector3& by) {
        leg[side].ankle += by;
        return *this;
    }
    Vector3 Ankle(int side) const { return leg[side].ankle; }

    Pose Get() const;  // solves everything

    Vector3 pos;
    Vector3 hips, belly, chest, neck;

private:
    struct Leg {
        bool byAngles = false;
        Vector3 ankle, pole{0, 0, -1}, thigh, knee;
        float toeOut = 0, pitch = 0;
        std::optional<Vector3> along;
    };
    struct Arm {
        enum Mode { ANGLES, REACH, GRIP } mode = ANGLES;
        Vector3 target, pole{0, -0.3f, 1}, shoulder;
        float elbow = 0, elbowOut = 0, beyond = 0, along = 0;
        std::optional<Vector3> wrist;
    };

    // The upper and lower parts reach so that the point `beyond` past the
    // lower part's end lands on `target`, the bend toward `pole`.
    void Reach(Pose& pose, int upper, int lower, const Vector3& target, const Vector3& pole,
               float beyond) const;
    void SolveArm(Pose& pose, int side) const;

    const Rig* rig;
    BodyMap body;
    Leg leg[2];
    Arm arm[2];
    std::optional<Vector3> weapon;
};

}  // namespace content
