#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <utility>
#include <vector>

#include "core/Trace.h"
#include "math/CSpline.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

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

}  // namespace

TEST(CSpline, NewAndClearedSplinesRestAtZero) {
    Feeder feeder(WALK);
    EXPECT_FALSE(feeder.spline.NeedPoint());
    EXPECT_EQ(feeder.spline.EvalPos(), Vector3());
    EXPECT_EQ(feeder.spline.EvalRot(), Vector3());
    feeder.Frame(0.5f);
    feeder.spline.Clear();
    EXPECT_EQ(feeder.spline.count, 4);
    EXPECT_EQ(feeder.spline.time, 0.0f);
    EXPECT_EQ(feeder.spline.EvalPos(), Vector3());
    EXPECT_EQ(feeder.spline.EvalRot(), Vector3());
}

TEST(CSpline, SlidesOneSlotPerCallAndThenExtrapolates) {
    const Vector3 speed(10, 0, 0);
    Feeder feeder({Moving(0, {}, {0, 0, 0}, speed), Moving(1, {}, {10, 0, 0}, speed),
                   Moving(2, {}, {20, 0, 0}, speed)});
    feeder.Frame(0);
    feeder.spline.SetTime(std::nanf(""));
    EXPECT_FALSE(feeder.spline.NeedPoint());

    feeder.spline.SetTime(1);
    feeder.spline.SetTime(5);  // well past slot 2, but the window waits for a point
    EXPECT_TRUE(feeder.spline.NeedPoint());
    EXPECT_EQ(feeder.spline.times[2], 2.0f);
    ExpectNear(feeder.spline.EvalPos(), {50, 0, 0}, 1e-3f);  // steady motion runs on straight
}

TEST(CSpline, EqualTimesGiveAZeroSegmentAndZeroTangents) {
    const Vector3 b(3, 4, 5), bRot(0.5f, 0, 0);
    Feeder feeder({At(0, {}, {1, 1, 1}), At(0.5f, bRot, b), At(0.5f, {}, {9, 9, 9})});
    feeder.Frame(0);
    CSpline& spline = feeder.spline;
    spline.SetTime(0.5f);  // slots 1 and 2 now share the time 0.5
    spline.SetTime(0.7f);
    EXPECT_EQ(spline.EvalPos(), b);
    EXPECT_EQ(spline.curVel, Vector3());
    EXPECT_EQ(spline.EvalRot(), bRot);

    // A third key at the same time leaves no time span to take a tangent over.
    spline.AddPoint(0.5f, {}, {20, 0, 0});
    EXPECT_EQ(spline.vel[2], Vector3());
    EXPECT_EQ(spline.rotVel[2], Vector3());
}

TEST(CSpline, KeyWithoutPositionFliesUnderGravity) {
    Key jump{0.5f, {0, 1, 0}, {}, {}, false};
    Feeder feeder({Moving(0, {}, {5, 100, 0}, {0, 0, 0}), jump, At(1, {}, {0, 0, 0})});
    feeder.Frame(0);
    // Hermite interpolation between ballistic end points is the parabola itself.
    feeder.Frame(0.25f);
    ExpectNear(feeder.spline.EvalPos(), {5, 100 - 18.0856f, 0}, 1e-3f);
    feeder.Frame(0.5f);
    ExpectNear(feeder.spline.EvalPos(), {5, 100 - 72.34253f, 0}, 1e-3f);
    ExpectNear(feeder.spline.curVel, {0, -289.3701f, 0}, 1e-3f);
}

TEST(CSpline, PassesThroughEveryKeyWithContinuousVelocity) {
    Feeder feeder(WALK);
    Vector3 velocityBefore;
    for (size_t i = 0; i + 1 < WALK.size(); ++i) {
        const Key& k = WALK[i];
        SCOPED_TRACE(k.t);
        feeder.Frame(k.t - 1e-4f);
        feeder.spline.EvalPos();
        velocityBefore = feeder.spline.curVel;
        feeder.Frame(k.t);
        ExpectNear(feeder.spline.EvalPos(), k.pos, 1e-4f);
        ExpectNear(feeder.spline.EvalRot(), k.rot, 1e-5f);
        if (k.hasVel) ExpectNear(feeder.spline.curVel, k.vel, 1e-4f);
        if (i > 0) ExpectNear(feeder.spline.curVel, velocityBefore, 1.0f);
    }
}

TEST(CSpline, ResetToCurrentContinuesFromThePresentState) {
    Feeder feeder(WALK);
    for (float now : {0.0f, 0.1f, 0.2f, 0.33f}) feeder.Frame(now);
    const Vector3 pos = feeder.spline.EvalPos();
    const Vector3 vel = feeder.spline.curVel;
    const Vector3 rot = feeder.spline.EvalRot();

    feeder.spline.ResetToCurrent();
    EXPECT_TRUE(feeder.spline.NeedPoint());
    // Until the new motion has a point, the curve stands where it was.
    ExpectNear(feeder.spline.EvalPos(), pos, 1e-3f);
    ExpectNear(feeder.spline.EvalRot(), rot, 1e-5f);

    const Vector3 target(-20, 0, 8);
    feeder.keys = {At(0.5f, {1, 1, 1}, target), At(0.8f, {}, {}), At(1, {}, {})};
    feeder.next = 0;
    feeder.Frame(0.33f);
    ExpectNear(feeder.spline.EvalPos(), pos, 1e-4f);
    ExpectNear(feeder.spline.curVel, vel, 1e-3f);
    ExpectNear(feeder.spline.EvalRot(), rot, 1e-5f);
    feeder.Frame(0.5f);
    ExpectNear(feeder.spline.EvalPos(), target, 1e-4f);
}

TEST(CSplineDeathTest, AddingToAFullWindowEndsTheProgram) {
    CSpline spline;  // a new spline is full
    EXPECT_EXIT((debug.rdbuf(std::cerr.rdbuf()), spline.AddPoint(1, {}, {1, 0, 0})),
                testing::ExitedWithCode(255), "Assertion failed!");
}
