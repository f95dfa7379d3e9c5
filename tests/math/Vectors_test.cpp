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

Matrix Identity() {
    Matrix m;
    m.CreateIdentity();
    return m;
}

TEST(Vectors, ArithmeticAndTheTextFormWithNoiseAsZero) {
    const Vector3 a(1, 2, 3), b(-4, 5, 0.5f);
    EXPECT_EQ(a - b, Vector3(5, -3, 2.5f));
    EXPECT_EQ(2 * a / 4, Vector3(0.5f, 1, 1.5f));
    EXPECT_FLOAT_EQ(a.Dot(b), 7.5f);
    EXPECT_EQ(Vector3(1, 0, 0).Cross(Vector3(0, 1, 0)), Vector3(0, 0, 1));
    EXPECT_TRUE(Near(Vector3(3, 0, -4).Normalized(), Vector3(0.6f, 0, -0.8f)));
    EXPECT_EQ(Vector3().Normalized(), Vector3()) << "zero stays zero, not NaN";
    EXPECT_EQ(Vector3(Vector4(2, 4, -6, 2)), Vector3(1, 2, -3)) << "divided by w";
    EXPECT_FLOAT_EQ(Vector4(1, 2, 2, 4).norm(), 5);

    std::stringstream text;
    // The float nearest 0.00001 lies just below it: noise too. The next one up is kept.
    text << Vector3(0.00001f, -2.5f, 0.0000101f);
    EXPECT_EQ(text.str(), "\t0\t-2.5\t1.01e-05\t");
    Vector3 back;
    text >> back;
    EXPECT_EQ(back, Vector3(0, -2.5f, 0.0000101f));
}

TEST(Vectors, MatricesTurnMoveAndCombineRightFirst) {
    const struct {
        char axis;
        Vector3 from, to;
    } quarterTurns[] = {{'y', {1, 0, 0}, {0, 0, 1}}, {'y', {0, 0, 1}, {-1, 0, 0}},
                        {'x', {0, 1, 0}, {0, 0, -1}}, {'z', {1, 0, 0}, {0, -1, 0}}};
    for (const auto& t : quarterTurns) EXPECT_TRUE(Near(Rotate(t.axis, PI / 2) * t.from, t.to));
    const Vector3 r(0.3f, -1.2f, 2.1f);
    Matrix euler;
    euler.CreateRotateXZY(r);
    EXPECT_TRUE(Near(euler, Rotate('x', r.x) * Rotate('z', r.z) * Rotate('y', r.y)));

    Matrix move, scale;
    move.CreateTranslate(1, -2, 3);
    scale.CreateScale(2);
    EXPECT_TRUE(Near((move * scale) * Vector3(1, 1, 1), Vector3(3, 0, 5)));
    EXPECT_EQ(move ^ Vector3(0.5f, 4, -6), Vector3(0.5f, 4, -6)) << "directions are not moved";
    EXPECT_EQ(move.m[13], -2) << "row-major, the translation in row three";
    move.ReplaceCol(3, Vector3(7, 8, 9));
    EXPECT_EQ(move.m[11], 9);
    EXPECT_EQ(move.m[15], 1) << "a column of three leaves the fourth row";
}

TEST(Vectors, TheInverseUndoesATransformAndAZeroRowGivesTheIdentity) {
    Matrix scale, move;
    scale.CreateScale(2, 0.5f, -3);
    move.CreateTranslate(4, -1, 7);
    const Matrix affine = move * Rotate('y', 0.4f) * scale * Rotate('x', -1.1f);
    Matrix swapped;  // the leading element is zero: only row swaps find the pivots
    swapped.ReplaceRow(0, Vector4(0, 1, 0, 0));
    swapped.ReplaceRow(1, Vector4(0, 0, 2, 0));
    swapped.ReplaceRow(2, Vector4(4, 0, 0, 0));
    swapped.ReplaceRow(3, Vector4(1, 2, 3, 1));
    for (const Matrix& m : {affine, swapped}) {
        Matrix inverse = m;
        inverse.Inverse();
        EXPECT_TRUE(Near(m * inverse, Identity()));
        EXPECT_TRUE(Near(inverse * m, Identity()));
    }
    Matrix singular = affine;
    singular.ReplaceRow(1, Vector4(0, 0, 0, 0));
    singular.Inverse();
    EXPECT_TRUE(Near(singular, Identity(), 0));
}

TEST(Camera, LooksFromAboveAndBehindAndAShakeBobsBothPointsFadingOverItsLength) {
    const Camera standard;
    EXPECT_TRUE(Near(standard.from, Vector3(0, 100, -100)));
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(Near(standard.flat ^ Vector3(0, 0, 1), Vector3(0, -h, h)))
        << "the flat matrix turns a billboard's normal along the view";

    ClockGuard time;
    time.At(10000);
    Camera camera;
    camera.StartShake(500);
    const struct {
        int ms;
        float offset;
    } samples[] = {{10000, 0}, {10047, 7 * (453 / 500.0f) * (453 / 500.0f) * std::sin(47 / 30.0f)},
                   {10500, 0}};
    for (const auto& s : samples) {
        time.At(s.ms);
        camera.SetFrom(Vector3(1, 2, 3));
        camera.SetAt(Vector3());
        EXPECT_TRUE(Near(camera.from, Vector3(1, 2 + s.offset, 3))) << s.ms;
        EXPECT_TRUE(Near(camera.at, Vector3(0, s.offset, 0))) << s.ms;
        EXPECT_EQ(camera.target, Vector3()) << "the target is kept unshaken";
    }
    EXPECT_EQ(Camera(camera).shakeEnd, 0) << "a copy leaves the shake behind";
}

}  // namespace
