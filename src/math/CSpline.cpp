#include "math/CSpline.h"

#include "core/Assert.h"
#include "math/Gravity.h"

namespace {

CSpline::Segment Divided(const Vector3& p1, const Vector3& p2, const Vector3& v1,
                         const Vector3& v2, float h) {
    CSpline::Segment c;
    c.a = v1;
    c.b = (p2 - p1) / h;
    c.c = v2;
    c.d = (c.b - c.a) / h;
    c.e = (c.c - c.b) / h;
    c.f = (c.e - c.d) / h;
    return c;
}

// Not clamped: before slot 1 or past slot 2 the cubic is extrapolated.
Vector3 Value(const Vector3& p1, const CSpline::Segment& c, float s, float h) {
    return p1 + c.a * s + c.d * (s * s) + c.f * (s * s * (s - h));
}

Vector3 Slope(const CSpline::Segment& c, float s, float h) {
    return c.a + c.d * (2 * s) + c.f * (3 * s * s) - c.f * (2 * h * s);
}

}  // namespace

CSpline::CSpline() { Clear(); }

void CSpline::Clear(float start) {
    for (int i = 0; i < 4; ++i) {
        times[i] = start + static_cast<float>(i - 3);
        pos[i] = rot[i] = vel[i] = rotVel[i] = Vector3();
        velKnown[i] = true;
    }
    count = 4;
    time = start;
    curRot = curPos = curVel = Vector3();
    dirty = true;
}

void CSpline::SetTime(float t) {
    time = t;
    // Written so that a NaN time never slides the window.
    if (!(t >= times[2]) || count < 4) return;
    --count;
    dirty = true;
    times.ShiftLeft();
    pos.ShiftLeft();
    rot.ShiftLeft();
    vel.ShiftLeft();
    rotVel.ShiftLeft();
    velKnown.ShiftLeft();
}

void CSpline::AddPoint(float t, const Vector3& r) {
    const float h3 = t - times[2];
    Store(t, r, pos[2] + vel[2] * h3 + GRAVITY * (0.5f * h3 * h3), vel[2] + GRAVITY * h3, true);
}

void CSpline::AddPoint(float t, const Vector3& r, const Vector3& p) {
    Store(t, r, p, vel[3], false);
}

void CSpline::AddPoint(float t, const Vector3& r, const Vector3& p, const Vector3& v) {
    Store(t, r, p, v, true);
}

void CSpline::Store(float t, const Vector3& r, const Vector3& p, const Vector3& v, bool velGiven) {
    if (count <= 1) return;
    // A full window has no free slot: writing slot 3 again would lose the
    // look-ahead key and push count past the window.
    KV_ASSERT(NeedPoint());
    times[3] = t;
    rot[3] = r;
    pos[3] = p;
    vel[3] = v;
    velKnown[3] = velGiven;
    CalcVelPt2();
    ++count;
}

void CSpline::CalcVelPt2() {
    const bool sameTime = times[3] == times[1];
    const float d = times[3] - times[1];
    if (!velKnown[2]) {
        vel[2] = sameTime ? Vector3() : (pos[3] - pos[1]) / d;
        velKnown[2] = true;
    }
    // A given velocity steers the position only; rotation always takes the difference.
    rotVel[2] = sameTime ? Vector3() : (rot[3] - rot[1]) / d;
}

void CSpline::CalcSegment() {
    const float h = times[2] - times[1];
    if (h == 0) {
        posCoef = rotCoef = Segment();
    } else {
        posCoef = Divided(pos[1], pos[2], vel[1], vel[2], h);
        rotCoef = Divided(rot[1], rot[2], rotVel[1], rotVel[2], h);
    }
    dirty = false;
}

Vector3 CSpline::EvalPos() {
    if (dirty) CalcSegment();
    const float s = time - times[1];
    const float h = times[2] - times[1];
    curPos = Value(pos[1], posCoef, s, h);
    curVel = Slope(posCoef, s, h);
    return curPos;
}

Vector3 CSpline::EvalRot() {
    if (dirty) CalcSegment();
    const float s = time - times[1];
    const float h = times[2] - times[1];
    curRot = Value(rot[1], rotCoef, s, h);
    return curRot;
}

void CSpline::ResetToCurrent() {
    EvalPos();
    EvalRot();
    // The present state becomes slot 2, one second after slot 1.
    times[1] = time - 1.0f;
    times[2] = time;
    pos[2] = curPos;
    rot[2] = curRot;
    vel[2] = curVel;
    velKnown[2] = true;
    // The old coefficients belong to the old slots; recomputed, the segment
    // ends exactly in the present state, so an evaluation before the next
    // shift shows no jump.
    dirty = true;
    count = 3;
    SetTime(time);
}
