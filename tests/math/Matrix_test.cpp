#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "math/Matrix.h"

namespace {

const float PI = 3.14159265358979f;
const float EPS = 1e-5f;

Matrix Identity() {
    Matrix identity;
    identity.CreateIdentity();
    return identity;
}

Matrix FromRows(const Vector4& r0, const Vector4& r1, const Vector4& r2, const Vector4& r3) {
    Matrix matrix;
    matrix.ReplaceRow(0, r0);
    matrix.ReplaceRow(1, r1);
    matrix.ReplaceRow(2, r2);
    matrix.ReplaceRow(3, r3);
    return matrix;
}

::testing::AssertionResult Near(const Matrix& actual, const Matrix& expected, float eps = EPS) {
    for (int i = 0; i < 16; ++i)
        if (!(std::fabs(actual.m[i] - expected.m[i]) <= eps))
            return ::testing::AssertionFailure() << "m[" << i << "] differs\nactual:\n"
                                                 << actual << "expected:\n" << expected;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult Near(const Vector3& actual, const Vector3& expected, float eps = EPS) {
    if ((actual - expected).Length() <= eps) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "actual" << actual << "expected" << expected;
}

Matrix RotateX(float a) { Matrix r; r.CreateRotateX(a); return r; }
Matrix RotateY(float a) { Matrix r; r.CreateRotateY(a); return r; }
Matrix RotateZ(float a) { Matrix r; r.CreateRotateZ(a); return r; }

// A general affine transform: rotation, non-uniform scale, translation.
Matrix GeneralAffine() {
    Matrix scale, translate;
    scale.CreateScale(2, 0.5f, -3);
    translate.CreateTranslate(4, -1, 7);
    return translate * RotateY(0.4f) * scale * RotateX(-1.1f);
}

}  // namespace

TEST(MatrixTest, DefaultIsZeroAndElementsAreRowMajor) {
    Matrix matrix;
    for (float element : matrix.m) EXPECT_EQ(element, 0);

    matrix(1, 2) = 5;
    EXPECT_EQ(matrix.m[6], 5);
    const Matrix& constant = matrix;
    EXPECT_EQ(&constant(3, 1), &matrix.m[13]);

    matrix.ReplaceRow(2, Vector4(1, 2, 3, 4));
    matrix.ReplaceCol(3, Vector3(7, 8, 9));  // rows 0 to 2 only
    EXPECT_EQ(matrix.m[8], 1);
    EXPECT_EQ(matrix.m[11], 9);
    EXPECT_EQ(matrix.m[15], 0);
    EXPECT_EQ(matrix.GetRow(2).z, 3);
    EXPECT_EQ(matrix.GetCol(3).y, 8);
    matrix.ReplaceCol(0, Vector4(-1, -2, -3, -4));
    matrix.ReplaceRow(3, Vector3(5, 6, 7));  // keeps the fourth element
    EXPECT_EQ(matrix.GetCol(0).w, 5);
    EXPECT_EQ(matrix.GetRow(3).w, 0);
    EXPECT_EQ(matrix.GetRow(3).y, 6);
}

TEST(MatrixTest, CreateOperationsOverwriteEverything) {
    Matrix matrix = GeneralAffine();
    matrix.CreateZero();
    EXPECT_TRUE(Near(matrix, Matrix(), 0));

    matrix = GeneralAffine();
    matrix.CreateTranslate(Vector3(1, 2, 3));
    EXPECT_TRUE(Near(matrix, FromRows({1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}), 0));

    matrix.CreateScale(2);
    EXPECT_TRUE(Near(matrix, FromRows({2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}), 0));
    matrix.CreateScale(Vector3(2, 3, 4));
    EXPECT_TRUE(Near(matrix, FromRows({2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {0, 0, 0, 1}), 0));
}

TEST(MatrixTest, ProductAppliesRightOperandFirst) {
    Matrix scale, translate;
    scale.CreateScale(2);
    translate.CreateTranslate(1, 0, 0);
    const Vector3 p(1, 1, 1);
    EXPECT_TRUE(Near((translate * scale) * p, Vector3(3, 2, 2)));
    EXPECT_TRUE(Near((scale * translate) * p, Vector3(4, 2, 2)));
    EXPECT_TRUE(Near(GeneralAffine() * Identity(), GeneralAffine(), 0));
}

TEST(MatrixTest, SingleAxisRotationsTurnTheAxes) {
    const float a = PI / 2;
    EXPECT_TRUE(Near(RotateY(a) * Vector3(1, 0, 0), Vector3(0, 0, 1)));
    EXPECT_TRUE(Near(RotateY(a) * Vector3(0, 0, 1), Vector3(-1, 0, 0)));
    EXPECT_TRUE(Near(RotateX(a) * Vector3(0, 1, 0), Vector3(0, 0, -1)));
    EXPECT_TRUE(Near(RotateX(a) * Vector3(0, 0, 1), Vector3(0, 1, 0)));
    EXPECT_TRUE(Near(RotateZ(a) * Vector3(1, 0, 0), Vector3(0, -1, 0)));
    EXPECT_TRUE(Near(RotateZ(a) * Vector3(0, 1, 0), Vector3(1, 0, 0)));
    EXPECT_EQ(RotateZ(a).m[15], 1);
}

TEST(MatrixTest, EulerRotationIsProductXZY) {
    Matrix euler;
    euler.CreateRotateXZY(Vector3(0, 0, 0));
    EXPECT_TRUE(Near(euler, Identity(), 0));

    const Vector3 r(0.3f, -1.2f, 2.1f);
    euler.CreateRotateXZY(r);
    EXPECT_TRUE(Near(euler, RotateX(r.x) * RotateZ(r.z) * RotateY(r.y)));

    const float cx = std::cos(r.x), sx = std::sin(r.x), cy = std::cos(r.y), sy = std::sin(r.y);
    const float cz = std::cos(r.z), sz = std::sin(r.z);
    EXPECT_TRUE(Near(euler, FromRows({cy * cz, sx * sy - cx * cy * sz, cy * sx * sz + cx * sy, 0},
                                     {sz, cx * cz, -sx * cz, 0},
                                     {-cz * sy, cx * sy * sz + cy * sx, cx * cy - sx * sy * sz, 0},
                                     {0, 0, 0, 1})));
}

TEST(MatrixTest, InverseUndoesTheTransform) {
    Matrix rotation;
    rotation.CreateRotateXZY(Vector3(0.7f, 2.5f, -0.4f));
    Matrix inverse = rotation, transpose = rotation;
    inverse.Inverse();
    transpose.Transpose();
    EXPECT_TRUE(Near(inverse, transpose));

    const Matrix affine = GeneralAffine();
    inverse = affine;
    inverse.Inverse();
    EXPECT_TRUE(Near(affine * inverse, Identity()));
    EXPECT_TRUE(Near(inverse * affine, Identity()));

    // Needs row swaps: the leading element is zero.
    const Matrix swapped = FromRows({0, 1, 0, 0}, {0, 0, 2, 0}, {4, 0, 0, 0}, {1, 2, 3, 1});
    inverse = swapped;
    inverse.Inverse();
    EXPECT_TRUE(Near(swapped * inverse, Identity()));
}

TEST(MatrixTest, InverseOfAMatrixWithAZeroRowIsIdentity) {
    Matrix singular = GeneralAffine();
    singular.ReplaceRow(1, Vector4(0, 0, 0, 0));
    singular.Inverse();
    EXPECT_TRUE(Near(singular, Identity(), 0));

    Matrix zero;
    zero.Inverse();
    EXPECT_TRUE(Near(zero, Identity(), 0));
}

TEST(MatrixTest, LuDecompositionRecordsPivotsAndParity) {
    Matrix a = FromRows({0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1});
    int indx[4];
    float d = 0;
    ASSERT_EQ(ludcmp(a, indx, &d), 0);
    EXPECT_EQ(indx[0], 1);
    EXPECT_EQ(d, -1);

    float b[4] = {0, 0, 1, 0};
    lubksb(a, indx, b);
    EXPECT_EQ(b[2], 1);
    EXPECT_EQ(b[0], 0);

    // Equal scaled pivots in column 0: the later row wins.
    Matrix tie = FromRows({1, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1});
    ASSERT_EQ(ludcmp(tie, indx, &d), 0);
    EXPECT_EQ(indx[0], 1);
    EXPECT_EQ(d, -1);

    Matrix singular;
    EXPECT_EQ(ludcmp(singular, indx, &d), 1);
}

TEST(MatrixTest, PointsGetTranslationAndDirectionsDoNot) {
    Matrix translate;
    translate.CreateTranslate(1, -2, 3);
    const Vector3 v(0.5f, 4, -6);
    EXPECT_TRUE(Near(translate * v, Vector3(1.5f, 2, -3)));
    EXPECT_EQ(translate ^ v, v);

    const Matrix affine = GeneralAffine();
    EXPECT_TRUE(Near(affine * v, (affine ^ v) + Vector3(affine.GetRow(3))));

    const Vector4 h = affine * Vector4(v);
    EXPECT_TRUE(Near(Vector3(h), affine * v));
    EXPECT_FLOAT_EQ(h.w, 1);
}

TEST(MatrixTest, ViewLooksAlongPositiveZ) {
    Matrix view;
    const Vector3 from(1, 2, 3), up(0, 1, 0);
    view.CreateView(from, Vector3(1, 2, -7), up, 0.5f);
    EXPECT_TRUE(Near(view * from, Vector3(0, 0, 0)));
    EXPECT_TRUE(Near(view * Vector3(1, 2, -2), Vector3(0, 0, 5)));
    EXPECT_GT((view * Vector3(1.5f, 2.5f, 0)).y, 0);  // up stays up
    EXPECT_TRUE(Near(Vector3(view.GetCol(3)), Vector3(0, 0, 0)));
    EXPECT_EQ(view.m[15], 1);

    view.CreateView(from, from, up, 0);
    for (float element : view.m) EXPECT_FALSE(std::isnan(element));
    EXPECT_EQ(Vector3(view.m[2], view.m[6], view.m[10]), Vector3(0, 0, 0));
}

TEST(MatrixTest, ProjectionMapsNearToZeroAndFarToOne) {
    const float nearZ = 0.5f, farZ = 200, fov = PI / 3;
    Matrix projection;
    projection.CreateProjection(nearZ, farZ, fov);
    const auto depth = [&](float z) {
        const Vector4 clip = projection * Vector4(0, 0, z, 1);
        return clip.z / clip.w;
    };
    EXPECT_NEAR(depth(nearZ), 0, EPS);
    EXPECT_NEAR(depth(farZ), 1, EPS);

    const float cot = 1 / std::tan(fov / 2);
    const Vector4 clip = projection * Vector4(1, 1, 10, 1);
    EXPECT_NEAR(clip.x / clip.w, cot / 1.2f / 10, EPS);
    EXPECT_NEAR(clip.y / clip.w, cot / 10, EPS);
}

TEST(MatrixTest, GLMatrixCopiesStorageOrder) {
    Matrix matrix;
    for (int i = 0; i < 16; ++i) matrix.m[i] = float(i);
    const float* gl = matrix.GLMatrix();
    EXPECT_EQ(gl, Matrix::glmatrix);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(gl[i], float(i));

    Identity().GLMatrix();
    EXPECT_EQ(gl[1], 0);
    EXPECT_EQ(gl[5], 1);
}

TEST(MatrixTest, WritesOneLinePerRow) {
    Matrix matrix;
    matrix.CreateTranslate(1.5f, -2, 3);
    std::ostringstream out;
    out << matrix;
    EXPECT_EQ(out.str(),
              "|1,\t0,\t0,\t0|\n"
              "|0,\t1,\t0,\t0|\n"
              "|0,\t0,\t1,\t0|\n"
              "|1.5,\t-2,\t3,\t1|\n");
}
