#include "math/Camera.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/Clock.h"
#include "core/System.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

Clock& GameClock() { return *System::instance()->clock; }

TEST(Camera, DefaultLooksAtTheOriginFromAboveAndBehind) {
    const Camera camera;
    ExpectNear(camera.from, Vector3(0, 100, -100));
    EXPECT_EQ(camera.near, 1);
    EXPECT_EQ(camera.far, 5000);
    EXPECT_FLOAT_EQ(camera.fov, 0.8f);
    // The flat matrix turns a billboard's normal (0, 0, 1) along the view.
    const float h = std::sqrt(0.5f);
    ExpectNear(camera.flat ^ Vector3(0, 0, 1), Vector3(0, -h, h));
    // The target is straight ahead: on the view axis, in front.
    const Vector3 inView = camera.view * Vector3(0, 0, 0);
    EXPECT_NEAR(inView.x, 0, 1e-4f);
    EXPECT_NEAR(inView.y, 0, 1e-4f);
    EXPECT_GT(inView.z, 0);
}

TEST(Camera, ShakeBobsBothPointsAndFades) {
    GameClock().time = 10000;
    Camera camera;
    camera.SetFrom(Vector3(1, 2, 3));
    {
        SCOPED_TRACE("no shake started");
        ExpectNear(camera.from, Vector3(1, 2, 3));
    }

    camera.StartShake(500);
    EXPECT_EQ(camera.shakeEnd, 10500);
    camera.SetFrom(Vector3(1, 2, 3));
    {
        SCOPED_TRACE("the shake starts at sin 0");
        ExpectNear(camera.from, Vector3(1, 2, 3));
    }

    GameClock().time = 10047;
    camera.SetFrom(Vector3(1, 2, 3));
    camera.SetAt(Vector3(0, 0, 0));
    const float k = 453.0f / 500.0f;
    const float offset = 7 * k * k * std::sin(47.0f / 30.0f);
    EXPECT_NEAR(offset, 5.7f, 0.05f);
    ExpectNear(camera.from, Vector3(1, 2 + offset, 3));
    ExpectNear(camera.at, Vector3(0, offset, 0));
    {
        SCOPED_TRACE("the target is kept unshaken");
        ExpectNear(camera.target, Vector3(0, 0, 0));
    }

    GameClock().time = 10500;
    camera.SetFrom(Vector3(1, 2, 3));
    {
        SCOPED_TRACE("over at its end");
        ExpectNear(camera.from, Vector3(1, 2, 3));
    }
}

TEST(Camera, CopiesLeaveTheShakeBehind) {
    GameClock().time = 0;
    Camera camera(Vector3(5, 5, 5), Vector3(0, 1, 0), Vector3(0, 1, 0), 0, 2, 300, 1.0f);
    camera.StartShake(600);
    const Camera copy(camera);
    EXPECT_EQ(copy.shakeEnd, 0);
    EXPECT_EQ(copy.far, 300);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(copy.projection.m[i], camera.projection.m[i]);
}

TEST(Camera, RollChangesNoMatrix) {
    Camera camera;
    const Matrix before = camera.view;
    camera.SetRoll(1.0f);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(camera.view.m[i], before.m[i]);
    EXPECT_EQ(camera.roll, 1.0f);
}

}  // namespace
