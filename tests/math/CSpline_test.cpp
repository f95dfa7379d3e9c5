#include "math/CSpline.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "support/Near.h"
#include "support/TraceCapture.h"

namespace {

// A key point: rotation only when it has no position.
struct Key {
    float t;
    Vector3 rot, pos, vel;
    bool hasPos = true, hasVel = false;
};
Key At(float t, Vector3 rot, Vector3 pos) { return {t, rot, pos, {}}; }
Key Moving(float t, Vector3 rot, Vector3 pos, Vector3 vel) { return {t, rot, pos, vel, true, true}; }

// Drives a spline the way the match sequencer does each frame: set the
// time, then feed keys while the spline asks for them, setting the time
// again after each so that keys already behind the clock are consumed.
struct Feeder {
    explicit Feeder(std::vector<Key> keys_) : keys(std::move(keys_)) {}
    void Frame(float now) {
        spline.SetTime(now);
        while (spline.NeedPoint() && next < keys.size()) {
            const Key& k = keys[next++];
            if (k.hasVel) spline.AddPoint(k.t, k.rot, k.pos, k.vel);
            else if (k.hasPos) spline.AddPoint(k.t, k.rot, k.pos);
            else spline.AddPoint(k.t, k.rot);
            spline.SetTime(now);
        }
    }
    std::vector<Key> keys;
    size_t next = 0;
    CSpline spline;
};

const std::vector<Key> WALK = {
    At(0, {0, 0, 0}, {0, 0, 0}),
    At(0.1f, {0.5f, 0, 0}, {10, 5, 0}),
    Moving(0.25f, {0.2f, 1, 0}, {30, 5, -4}, {100, 0, 0}),
    At(0.4f, {-0.3f, 1.5f, 0.2f}, {35, 0, -10}),
    Moving(0.7f, {0, 3, 0}, {20, 0, 0}, {0, 0, 0}),
    At(1, {0, 0, 0}, {0, 0, 0}),
    At(1.2f, {0, 0, 0}, {-5, 0, 0}),
};

TEST(CSpline, PassesThroughEveryKeyWithContinuousVelocity) {
    Feeder feeder(WALK);
    EXPECT_EQ(feeder.spline.EvalPos(), Vector3()) << "a new spline rests at zero";
    for (size_t i = 0; i + 1 < WALK.size(); ++i) {
        const Key& k = WALK[i];
        SCOPED_TRACE(k.t);
        feeder.Frame(k.t - 1e-4f);
        feeder.spline.EvalPos();
        const Vector3 velocityBefore = feeder.spline.curVel;
        feeder.Frame(k.t);
        EXPECT_TRUE(Near(feeder.spline.EvalPos(), k.pos) && Near(feeder.spline.EvalRot(), k.rot, 1e-5f));
        if (k.hasVel) { EXPECT_TRUE(Near(feeder.spline.curVel, k.vel)); }
        if (i > 0) { EXPECT_TRUE(Near(feeder.spline.curVel, velocityBefore, 1.0f)); }
    }
}

TEST(CSpline, EqualTimesGiveAZeroSegmentAndZeroTangents) {
    const Vector3 b(3, 4, 5), bRot(0.5f, 0, 0);
    Feeder feeder({At(0, {}, {1, 1, 1}), At(0.5f, bRot, b), At(0.5f, {}, {9, 9, 9})});
    feeder.Frame(0);
    CSpline& spline = feeder.spline;
    spline.SetTime(0.5f);  // slots 1 and 2 now share the time 0.5
    spline.SetTime(0.7f);
    EXPECT_TRUE(spline.EvalPos() == b && spline.curVel == Vector3() && spline.EvalRot() == bRot);
    spline.AddPoint(0.5f, {}, {20, 0, 0});
    EXPECT_EQ(spline.vel[2], Vector3()) << "no time span to take a tangent over";
}

TEST(CSpline, AKeyWithoutPositionFliesUnderGravity) {
    Feeder feeder({Moving(0, {}, {5, 100, 0}, {0, 0, 0}), Key{0.5f, {0, 1, 0}, {}, {}, false},
                   At(1, {}, {0, 0, 0})});
    // Hermite interpolation between ballistic end points is the parabola itself.
    feeder.Frame(0), feeder.Frame(0.25f);
    EXPECT_TRUE(Near(feeder.spline.EvalPos(), Vector3(5, 100 - 18.0856f, 0), 1e-3f));
    feeder.Frame(0.5f);
    EXPECT_TRUE(Near(feeder.spline.EvalPos(), Vector3(5, 100 - 72.34253f, 0), 1e-3f) &&
                Near(feeder.spline.curVel, Vector3(0, -289.3701f, 0), 1e-3f));
}

TEST(CSpline, ResetToCurrentContinuesFromThePresentState) {
    Feeder feeder(WALK);
    for (float now : {0.0f, 0.1f, 0.2f, 0.33f}) feeder.Frame(now);
    const Vector3 pos = feeder.spline.EvalPos(), vel = feeder.spline.curVel;
    feeder.spline.ResetToCurrent();
    feeder.keys = {At(0.5f, {1, 1, 1}, {-20, 0, 8}), At(0.8f, {}, {}), At(1, {}, {})};
    feeder.next = 0;
    feeder.Frame(0.33f);
    EXPECT_TRUE(Near(feeder.spline.EvalPos(), pos) && Near(feeder.spline.curVel, vel, 1e-3f))
        << "no jerk where the new keys take over";
}

TEST(CSplineDeathTest, AddingToAFullWindowEndsTheProgram) {
    CSpline spline;  // a new spline is full
    EXPECT_EXIT((TraceToStderr(), spline.AddPoint(1, {}, {1, 0, 0})),
                testing::ExitedWithCode(255), "Assertion failed!");
}

}  // namespace
