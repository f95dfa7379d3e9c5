#pragma once

#include <iosfwd>

#include "math/Vector3.h"
#include "math/Vector4.h"

// A 4x4 transform in OpenGL's memory order. Element (i, j) is m[4i + j];
// vectors are rows multiplied from the left, so rows 0-2 are the images of
// the axes, row 3 the translation and column 3 the projective part.
struct Matrix {
    Matrix();  // all zeros, not the identity

    float& operator()(int i, int j) { return m[4 * i + j]; }
    const float& operator()(int i, int j) const { return m[4 * i + j]; }

    Matrix operator*(const Matrix& b) const;    // applies b first, then this
    Vector4 operator*(const Vector4& v) const;  // v'[j] = sum_i v[i] * (i, j)
    Vector3 operator*(const Vector3& p) const;  // point: translation included
    Vector3 operator^(const Vector3& d) const;  // direction: no translation

    Vector4 GetRow(int i) const;
    Vector4 GetCol(int j) const;
    void ReplaceRow(int i, const Vector4& v);
    void ReplaceRow(int i, const Vector3& v);  // first three elements only
    void ReplaceCol(int j, const Vector4& v);
    void ReplaceCol(int j, const Vector3& v);  // rows 0 to 2 only

    // Each Create... overwrites the whole matrix; angles are in radians.
    void CreateZero();
    void CreateIdentity();
    void CreateTranslate(float x, float y, float z);
    void CreateTranslate(const Vector3& t);
    void CreateScale(float s);
    void CreateScale(float x, float y, float z);
    void CreateScale(const Vector3& s);
    void CreateRotateX(float a);
    void CreateRotateY(float a);
    void CreateRotateZ(float a);
    void CreateRotateXZY(const Vector3& r);  // turns about Y, then Z, then X
    // View space: x along the side axis, y up, z along the viewing direction.
    // roll is accepted and ignored; the camera applies it itself.
    void CreateView(const Vector3& from, const Vector3& at, const Vector3& up, float roll);
    // Depth nearZ maps to 0 and farZ to 1; 1.2 is the fixed horizontal aspect.
    void CreateProjection(float nearZ, float farZ, float fov);

    void Inverse();  // becomes the identity when a row is all zeros
    void Transpose();
    // Copies the matrix into glmatrix and returns it; the next call overwrites it.
    float* GLMatrix() const;

    float m[16];
    static float glmatrix[16];
};

// Crout LU decomposition with implicit partial pivoting (Numerical Recipes),
// in place on a; indx records the pivot rows and d the parity of the swaps.
// Returns 1 when a row is all zeros (singular), otherwise 0.
int ludcmp(Matrix& a, int indx[4], float* d);
// Solves a x = b for the decomposition made by ludcmp; x replaces b.
void lubksb(const Matrix& a, const int indx[4], float b[4]);

// One line per row: "|a,\tb,\tc,\td|".
std::ostream& operator<<(std::ostream& out, const Matrix& matrix);
