// The value types of 3D arithmetic and the camera built from them.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "math/Camera.h"
#include "math/Matrix.h"
#include "support/ClockGuard.h"
#include "support/Near.h"

namespace {

const float PI = 3.14159265358979f;

Matrix Rotate(char axis, float a) {
    Matrix r;
    if (axis == 'x') r.CreateRotateX(a);
    if (axis == 'y') r.CreateRotateY(a);
    if (axis == 'z') r.CreateRotateZ(a);
    return r;
}

TEST(Vectors, NormalisingZeroAndTheTextFormWithNoiseAsZero) {
    EXPECT_EQ(Vector3().Normalized(), Vector3()) << "zero stays zero, not NaN";
    EXPECT_EQ(Vector3(Vector4(2, 4, -6, 2)), Vector3(1, 2, -3)) << "divided by w";
    std::stringstream text;
    // The float nearest 0.00001 lies just below it: noise too. The next one up is kept.
    text << Vector3(0.00001f, -2.5f, 0.0000101f);
    EXPECT_EQ(text.str(), "\t0\t-2.5\t1.01e-05\t");
    Vector3 back;
    text >> back;
    EXPECT_EQ(back, Vector3(0, -2.5f, 0.0000101f));
}

TEST(Vectors, MatricesTurnMoveInvertAndCombineRightFirst) {
    const struct {
        char axis;
        Vector3 from, to;
    } quarterTurns[] = {{'y', {1, 0, 0}, {0, 0, 1}}, {'x', {0, 1, 0}, {0, 0, -1}},
                        {'z', {1, 0, 0}, {0, -1, 0}}};
    for (const auto& t : quarterTurns) EXPECT_TRUE(Near(Rotate(t.axis, PI / 2) * t.from, t.to));
    const Vector3 r(0.3f, -1.2f, 2.1f);
    Matrix euler, move, identity;
    euler.CreateRotateXZY(r);
    EXPECT_TRUE(Near(euler, Rotate('x', r.x) * Rotate('z', r.z) * Rotate('y', r.y)));
    move.CreateTranslate(1, -2, 3);
    EXPECT_EQ(move ^ Vector3(0.5f, 4, -6), Vector3(0.5f, 4, -6)) << "directions are not moved";
    identity.CreateIdentity();
    Matrix swapped;  // the leading element is zero: only row swaps find the pivots
    swapped.ReplaceRow(0, Vector4(0, 1, 0, 0));
    swapped.ReplaceRow(1, Vector4(0, 0, 2, 0));
    swapped.ReplaceRow(2, Vector4(4, 0, 0, 0));
    swapped.ReplaceRow(3, Vector4(1, 2, 3, 1));
    for (const Matrix& m : {move * euler, swapped}) {
        Matrix inverse = m;
        inverse.Inverse();
        EXPECT_TRUE(Near(m * inverse, identity));
    }
    Matrix singular = euler;
    singular.ReplaceRow(1, Vector4(0, 0, 0, 0));
    singular.Inverse();
    EXPECT_TRUE(Near(singular, identity, 0));
}

TEST(Camera, BillboardsTurnWithoutStretchingAndCopiesKeepTheViewButNotTheShake) {
    const Camera standard;  // from above and behind, looking down 45 degrees
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(Near(standard.flat ^ Vector3(0, 0, 1), Vector3(0, -h, h)));
    for (const Vector3& axis : {Vector3(1, 0, 0), Vector3(0, 1, 0)}) {
        EXPECT_NEAR((standard.flat ^ axis).Length(), 1, 1e-5f) << "a sprite keeps its size";
    }
    ClockGuard time;
    time.At(10000);
    Camera camera(Vector3(1, 2, 3), Vector3(), Vector3(0, 1, 0), 0);
    camera.StartShake(500);
    const Camera copied(camera);
    Camera assigned;
    assigned = camera;
    const Camera* const copies[] = {&copied, &assigned};
    for (const Camera* copy : copies) {
        EXPECT_TRUE(Near(copy->view, camera.view));
        EXPECT_TRUE(Near(copy->flat, camera.flat));
        EXPECT_EQ(copy->shakeEnd, 0) << "a copy leaves the shake behind";
    }
    // The shake bobs both points, fading with the square of what is left.
    const struct {
        int ms;
        float offset;
    } samples[] = {{10000, 0}, {10047, 7 * (453 / 500.0f) * (453 / 500.0f) * std::sin(47 / 30.0f)}, {10500, 0}};
    for (const auto& s : samples) {
        time.At(s.ms);
        camera.SetFrom(Vector3(1, 2, 3));
        camera.SetAt(Vector3());
        EXPECT_TRUE(Near(camera.from, Vector3(1, 2 + s.offset, 3))) << s.ms;
        EXPECT_TRUE(Near(camera.at, Vector3(0, s.offset, 0))) << s.ms;
        EXPECT_EQ(camera.target, Vector3()) << "the target is kept unshaken";
    }
}

}  // namespace
