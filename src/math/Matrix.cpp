#include "math/Matrix.h"

#include <cmath>
#include <cstring>
#include <ostream>

float Matrix::glmatrix[16];

Matrix::Matrix() { CreateZero(); }

Matrix Matrix::operator*(const Matrix& b) const {
    Matrix result;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += b(i, k) * (*this)(k, j);
            result(i, j) = sum;
        }
    return result;
}

Vector4 Matrix::operator*(const Vector4& v) const {
    return GetRow(0) * v.x + GetRow(1) * v.y + GetRow(2) * v.z + GetRow(3) * v.w;
}

Vector3 Matrix::operator*(const Vector3& p) const {
    // The input is divided by w before the translation is added; for the
    // affine matrices this is used with, w is 1.
    const float w = p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15];
    const Vector3 q = p / w;
    return {q.x * m[0] + q.y * m[4] + q.z * m[8] + m[12],
            q.x * m[1] + q.y * m[5] + q.z * m[9] + m[13],
            q.x * m[2] + q.y * m[6] + q.z * m[10] + m[14]};
}

Vector3 Matrix::operator^(const Vector3& d) const {
    return GetRow(0) * d.x + GetRow(1) * d.y + GetRow(2) * d.z + Vector4(0, 0, 0, 1);
}

Vector4 Matrix::GetRow(int i) const { return {m[4 * i], m[4 * i + 1], m[4 * i + 2], m[4 * i + 3]}; }

Vector4 Matrix::GetCol(int j) const { return {m[j], m[4 + j], m[8 + j], m[12 + j]}; }

void Matrix::ReplaceRow(int i, const Vector4& v) {
    ReplaceRow(i, Vector3(v.x, v.y, v.z));
    m[4 * i + 3] = v.w;
}

void Matrix::ReplaceRow(int i, const Vector3& v) {
    m[4 * i] = v.x;
    m[4 * i + 1] = v.y;
    m[4 * i + 2] = v.z;
}

void Matrix::ReplaceCol(int j, const Vector4& v) {
    ReplaceCol(j, Vector3(v.x, v.y, v.z));
    m[12 + j] = v.w;
}

void Matrix::ReplaceCol(int j, const Vector3& v) {
    m[j] = v.x;
    m[4 + j] = v.y;
    m[8 + j] = v.z;
}

void Matrix::CreateZero() {
    for (float& element : m) element = 0;
}

void Matrix::CreateIdentity() { CreateScale(1); }

void Matrix::CreateTranslate(float x, float y, float z) {
    CreateIdentity();
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

void Matrix::CreateTranslate(const Vector3& t) { CreateTranslate(t.x, t.y, t.z); }

void Matrix::CreateScale(float s) { CreateScale(s, s, s); }

void Matrix::CreateScale(float x, float y, float z) {
    CreateZero();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    m[15] = 1;
}

void Matrix::CreateScale(const Vector3& s) { CreateScale(s.x, s.y, s.z); }

void Matrix::CreateRotateX(float a) {
    const float ca = std::cos(a), sa = std::sin(a);
    CreateIdentity();
    m[5] = ca;
    m[6] = -sa;
    m[9] = sa;
    m[10] = ca;
}

void Matrix::CreateRotateY(float a) {
    const float ca = std::cos(a), sa = std::sin(a);
    CreateIdentity();
    m[0] = ca;
    m[2] = sa;
    m[8] = -sa;
    m[10] = ca;
}

void Matrix::CreateRotateZ(float a) {
    const float ca = std::cos(a), sa = std::sin(a);
    CreateIdentity();
    m[0] = ca;
    m[1] = -sa;
    m[4] = sa;
    m[5] = ca;
}

void Matrix::CreateRotateXZY(const Vector3& r) {
    // RotateX(r.x) * RotateZ(r.z) * RotateY(r.y), multiplied out.
    const float cx = std::cos(r.x), sx = std::sin(r.x);
    const float cy = std::cos(r.y), sy = std::sin(r.y);
    const float cz = std::cos(r.z), sz = std::sin(r.z);
    CreateIdentity();
    ReplaceRow(0, Vector3(cy * cz, sx * sy - cx * cy * sz, cy * sx * sz + cx * sy));
    ReplaceRow(1, Vector3(sz, cx * cz, -sx * cz));
    ReplaceRow(2, Vector3(-cz * sy, cx * sy * sz + cy * sx, cx * cy - sx * sy * sz));
}

void Matrix::CreateView(const Vector3& from, const Vector3& at, const Vector3& up, float /*roll*/) {
    // Normalized() leaves a zero vector unchanged, so at == from gives a zero
    // forward axis instead of NaNs.
    const Vector3 f = (at - from).Normalized();
    const Vector3 s = up.Cross(f).Normalized();
    const Vector3 u = f.Cross(s).Normalized();
    CreateIdentity();
    ReplaceCol(0, s);
    ReplaceCol(1, u);
    ReplaceCol(2, f);
    m[12] = -s.Dot(from);
    m[13] = -u.Dot(from);
    m[14] = -f.Dot(from);
}

void Matrix::CreateProjection(float nearZ, float farZ, float fov) {
    const float h = fov / 2;
    const float ch = std::cos(h), sh = std::sin(h);
    const float q = sh / (1 - nearZ / farZ);
    CreateZero();
    m[0] = ch / 1.2f;
    m[5] = ch;
    m[10] = q;
    m[11] = sh;
    m[14] = -q * nearZ;
}

int ludcmp(Matrix& a, int indx[4], float* d) {
    const float TINY = 1e-20f;
    float scale[4];  // 1 / the largest element of each row: the implicit pivoting
    *d = 1;
    for (int i = 0; i < 4; ++i) {
        float big = 0;
        for (int j = 0; j < 4; ++j)
            if (std::fabs(a(i, j)) > big) big = std::fabs(a(i, j));
        if (big == 0) return 1;
        scale[i] = 1 / big;
    }
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < j; ++i) {
            float sum = a(i, j);
            for (int k = 0; k < i; ++k) sum -= a(i, k) * a(k, j);
            a(i, j) = sum;
        }
        float big = 0;
        int imax = j;
        for (int i = j; i < 4; ++i) {
            float sum = a(i, j);
            for (int k = 0; k < j; ++k) sum -= a(i, k) * a(k, j);
            a(i, j) = sum;
            const float candidate = scale[i] * std::fabs(sum);
            if (candidate >= big) {  // >=: the later row wins a tie
                big = candidate;
                imax = i;
            }
        }
        if (imax != j) {
            for (int k = 0; k < 4; ++k) {
                const float swap = a(imax, k);
                a(imax, k) = a(j, k);
                a(j, k) = swap;
            }
            *d = -*d;
            scale[imax] = scale[j];
        }
        indx[j] = imax;
        if (a(j, j) == 0) a(j, j) = TINY;
        if (j < 3) {
            const float inverse = 1 / a(j, j);
            for (int i = j + 1; i < 4; ++i) a(i, j) *= inverse;
        }
    }
    return 0;
}

void lubksb(const Matrix& a, const int indx[4], float b[4]) {
    int first = -1;  // first non-zero element of b: the sums skip the zeros before it
    for (int i = 0; i < 4; ++i) {
        const int ip = indx[i];
        float sum = b[ip];
        b[ip] = b[i];
        if (first >= 0)
            for (int j = first; j < i; ++j) sum -= a(i, j) * b[j];
        else if (sum != 0)
            first = i;
        b[i] = sum;
    }
    for (int i = 3; i >= 0; --i) {
        float sum = b[i];
        for (int j = i + 1; j < 4; ++j) sum -= a(i, j) * b[j];
        b[i] = sum / a(i, i);
    }
}

void Matrix::Inverse() {
    Matrix a = *this;
    int indx[4];
    float d;
    if (ludcmp(a, indx, &d) != 0) {
        CreateIdentity();
        return;
    }
    for (int j = 0; j < 4; ++j) {
        float b[4] = {0, 0, 0, 0};
        b[j] = 1;
        lubksb(a, indx, b);
        for (int i = 0; i < 4; ++i) (*this)(i, j) = b[i];
    }
}

void Matrix::Transpose() {
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j) {
            const float swap = (*this)(i, j);
            (*this)(i, j) = (*this)(j, i);
            (*this)(j, i) = swap;
        }
}

float* Matrix::GLMatrix() const {
    std::memcpy(glmatrix, m, sizeof m);
    return glmatrix;
}

std::ostream& operator<<(std::ostream& out, const Matrix& matrix) {
    for (int i = 0; i < 4; ++i)
        out << '|' << matrix(i, 0) << ",\t" << matrix(i, 1) << ",\t" << matrix(i, 2) << ",\t"
            << matrix(i, 3) << "|\n";
    return out;
}
