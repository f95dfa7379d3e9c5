#pragma once

#include "math/SArray.h"
#include "math/Vector3.h"

// Smooth motion through timed key points: a position and a rotation each,
// optionally a velocity. The window holds four keys: slot 0 is history, the
// curve runs from slot 1 to slot 2 (a cubic Hermite segment), and slot 3 is
// the look-ahead that fixes the tangent at slot 2. A key given without a
// position flies ballistically from the one before it. Times are seconds.
class CSpline {
public:
    // Newton divided differences of the Hermite data on the nodes t1, t1, t2, t2.
    struct Segment {
        Vector3 a, b, c, d, e, f;
    };

    CSpline();

    // Four zero keys at start - 3, - 2, - 1 and start seconds; the time is start.
    void Clear(float start = 0);
    void SetTime(float t);  // sets the time; slides the window by at most one slot
    bool NeedPoint() const { return count < 4; }  // the caller must add a point now
    // Rotation only: the position and velocity follow a ballistic flight from slot 2.
    void AddPoint(float t, const Vector3& r);
    // Rotation and position: the velocity comes from the neighbours.
    void AddPoint(float t, const Vector3& r, const Vector3& p);
    // Rotation, position and velocity.
    void AddPoint(float t, const Vector3& r, const Vector3& p, const Vector3& v);
    void CalcVelPt2();       // tangents at slot 2: central differences over slots 1 and 3
    void CalcSegment();      // coefficients of the segment slot 1 -> slot 2
    Vector3 EvalPos();       // position at `time`; also sets curPos and curVel
    Vector3 EvalRot();       // rotation at `time`; also sets curRot
    void ResetToCurrent();   // restarts from the present state so that a new key is steered to at once

    SArray<Vector3, 4> pos;
    SArray<Vector3, 4> rot;     // three angles, interpolated like positions
    SArray<Vector3, 4> vel;     // tangents of the position curve
    SArray<Vector3, 4> rotVel;  // tangents of the rotation curve
    SArray<float, 4> times;
    SArray<bool, 4> velKnown;   // the slot's velocity was given or has been computed
    int count;                  // filled slots: 4 when full, 3 while waiting for a point
    float time;                 // the evaluation time
    Segment posCoef;
    Segment rotCoef;
    bool dirty;                 // the coefficients must be recomputed before evaluating
    Vector3 curRot;             // from the last EvalRot
    Vector3 curPos;             // from the last EvalPos
    Vector3 curVel;             // from the last EvalPos

private:
    // Writes a key into slot 3 and fixes the tangents at slot 2.
    void Store(float t, const Vector3& r, const Vector3& p, const Vector3& v, bool velGiven);
};
