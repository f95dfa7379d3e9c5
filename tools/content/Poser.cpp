#include "content/Poser.h"

#include <algorithm>
#include <cmath>

namespace content {

namespace {

// The angles of a spine part from degrees.
Vector3 Degrees(const Vector3& d) { return Vector3(Rad(d.x), Rad(d.y), Rad(d.z)); }

// Outward is -x for the right side and +x for the left.
float OutSign(int side) { return side == RIGHT ? -1.0f : 1.0f; }

}  // namespace

Poser::Poser(const Rig& rig_, const BodyMap& body_) : rig(&rig_), body(body_) {
    for (int side : {RIGHT, LEFT}) {
        if (body.foot[side] >= 0) leg[side].ankle = rig->parts[body.foot[side]].joint;
        leg[side].pole = Vector3(OutSign(side) * 0.15f, 0, -1);
        arm[side].pole = Vector3(OutSign(side) * 0.5f, -0.4f, 1);
    }
}

Poser& Poser::Foot(int side, const Vector3& ankle, float toeOut, float pitch) {
    leg[side].byAngles = false;
    leg[side].ankle = ankle;
    leg[side].toeOut = toeOut;
    leg[side].pitch = pitch;
    leg[side].along.reset();
    return *this;
}

Poser& Poser::FootAlong(int side, const Vector3& direction) {
    leg[side].along = direction;
    return *this;
}

Poser& Poser::LegAngles(int side, const Vector3& thigh, const Vector3& knee) {
    leg[side].byAngles = true;
    leg[side].thigh = thigh;
    leg[side].knee = knee;
    return *this;
}

Poser& Poser::Hand(int side, const Vector3& target, const Vector3& pole, float reachBeyond) {
    arm[side].mode = Arm::REACH;
    arm[side].target = target;
    arm[side].pole = pole;
    arm[side].beyond = reachBeyond;
    return *this;
}

Poser& Poser::ArmAngles(int side, const Vector3& shoulder, float elbow, float elbowOut) {
    arm[side].mode = Arm::ANGLES;
    arm[side].shoulder = shoulder;
    arm[side].elbow = elbow;
    arm[side].elbowOut = elbowOut;
    return *this;
}

Poser& Poser::Wrist(int side, const Vector3& direction) {
    arm[side].wrist = direction;
    return *this;
}

Poser& Poser::Grip(int side, float along, const Vector3& pole) {
    arm[side].mode = Arm::GRIP;
    arm[side].along = along;
    arm[side].pole = pole;
    return *this;
}

Poser& Poser::Shift(const Vector3& by) {
    pos += by;
    for (Leg& l : leg) l.ankle += by;
    return *this;
}

void Poser::Reach(Pose& pose, int upper, int lower, const Vector3& target, const Vector3& pole,
                  float beyond) const {
    const Part& a = rig->parts[upper];
    const Part& b = rig->parts[lower];
    const float l1 = a.length, l2 = b.length + beyond;
    const Vector3 start = pose.Place(upper).joint;
    Vector3 toward = target - start;
    float d = toward.Length();
    const Vector3 u = d > 1e-4f ? toward / d : Vector3(0, -1, 0);
    d = std::clamp(d, std::fabs(l1 - l2) + 0.05f, l1 + l2 - 0.05f);
    Vector3 side = pole - u * pole.Dot(u);
    if (side.Length() < 1e-4f) side = Vector3(0, 0, -1) - u * (-u.z);
    side.Normalize();
    const float cosA = std::clamp((l1 * l1 + d * d - l2 * l2) / (2 * l1 * d), -1.0f, 1.0f);
    const float sinA = std::sqrt(1 - cosA * cosA);
    const Vector3 bend = start + (u * cosA + side * sinA) * l1;
    pose.Aim(upper, bend - start);
    pose.Aim(lower, start + u * d - bend);
}

void Poser::SolveArm(Pose& pose, int side) const {
    const Arm& a = arm[side];
    const int upper = body.upper[side], fore = body.fore[side], hand = body.hand[side];
    if (upper < 0) return;
    switch (a.mode) {
        case Arm::ANGLES: {
            const float out = a.shoulder.z * -OutSign(side);
            pose.angles[upper] = Vector3(Rad(a.shoulder.x), Rad(a.shoulder.y), Rad(out));
            pose.angles[fore] = Vector3(Rad(a.elbow), 0, Rad(a.elbowOut * -OutSign(side)));
            break;
        }
        case Arm::REACH:
            Reach(pose, upper, fore, a.target + pose.pos, a.pole, a.beyond);
            break;
        case Arm::GRIP: {
            const Placed w = pose.Place(body.weapon);
            const Vector3 along = (w.tip - w.joint).Normalized();
            const float half = rig->parts[hand].length * 0.5f;
            Reach(pose, upper, fore, w.joint - along * a.along, a.pole, half);
            break;
        }
    }
    if (a.wrist)
        pose.Aim(hand, *a.wrist);
    else
        pose.Relax(hand);
}

Pose Poser::Get() const {
    Pose pose(*rig);
    pose.pos = pos;
    const std::pair<int, Vector3> spine[] = {
        {body.hips, hips}, {body.belly, belly}, {body.chest, chest}, {body.neck, neck}};
    for (const auto& [part, degrees] : spine)
        if (part >= 0) pose.angles[part] = Degrees(degrees);

    for (int side : {RIGHT, LEFT}) {
        const Leg& l = leg[side];
        const int thigh = body.thigh[side], shin = body.shin[side], foot = body.foot[side];
        if (thigh < 0) continue;
        if (l.byAngles) {
            const float s = -OutSign(side);
            pose.angles[thigh] = Vector3(Rad(l.thigh.x), Rad(l.thigh.y), Rad(l.thigh.z * s));
            pose.angles[shin] = Vector3(-Rad(l.knee.x), Rad(l.knee.y), Rad(l.knee.z * s));
        } else {
            Reach(pose, thigh, shin, l.ankle, l.pole, 0);
        }
        if (l.along) {
            pose.Aim(foot, *l.along);
        } else if (l.byAngles) {
            pose.Relax(foot);
        } else {
            // Flat on the floor as modelled, then turned out and pitched.
            const Part& f = rig->parts[foot];
            const Vector3 r = (f.end - f.joint).Normalized();
            const float down = std::atan2(r.y, std::sqrt(r.x * r.x + r.z * r.z)) + Rad(l.pitch);
            const float out = Rad(l.toeOut);
            const Vector3 flat(OutSign(side) * std::sin(out), 0, -std::cos(out));
            pose.Aim(foot, flat * std::cos(down) + Vector3(0, std::sin(down), 0));
        }
    }

    // The weapon hand first: the other hand may grip the weapon it holds.
    for (int side : {RIGHT, LEFT})
        if (arm[side].mode != Arm::GRIP) SolveArm(pose, side);
    if (weapon && body.weapon >= 0) pose.Aim(body.weapon, *weapon);
    for (int side : {RIGHT, LEFT})
        if (arm[side].mode == Arm::GRIP && body.weapon >= 0) SolveArm(pose, side);
    return pose;
}

}  // namespace content
