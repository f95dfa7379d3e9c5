#include "render/ViewVolume.h"

#include <GL/gl.h>

#include <cmath>

// Clip space keeps -w <= x, y, z <= w; with the rows r of the matrix, each
// bound is the plane r3 + r or r3 - r.
ViewVolume ViewVolume::OfGL() {
    GLfloat m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    ViewVolume volume;
    for (int plane = 0; plane < 6; ++plane) {
        const int row = plane / 2;
        const float sign = plane % 2 == 0 ? 1.0f : -1.0f;
        float* p = volume.planes[plane];
        for (int column = 0; column < 4; ++column) {
            p[column] = m[4 * column + 3] + sign * m[4 * column + row];
        }
        // Unit normals, so that the distance can be held against a radius.
        const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        if (length > 0) {
            for (float& value : volume.planes[plane]) value /= length;
        }
    }
    return volume;
}

bool ViewVolume::Sees(const Vector3& centre, float radius) const {
    for (const float* p : planes) {
        if (p[0] * centre.x + p[1] * centre.y + p[2] * centre.z + p[3] < -radius) return false;
    }
    return true;
}
