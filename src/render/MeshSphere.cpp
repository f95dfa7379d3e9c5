#include "render/MeshSphere.h"

#include <cmath>
#include <ostream>

#include "core/Trace.h"

// Vertex layout: the m - 2 rings between the poles, n vertices each, from the
// top down, then the top pole and the bottom pole.
MeshSphere::MeshSphere(const Vector3& center, const Vector3& axisA, const Vector3& axisH,
                       const Vector3& axisB, const Vector3& radii, bool doubleSided, int slices,
                       int stacks) {
    const int n = slices;
    const int m = stacks;
    // Three stacks are the least that leave a ring between the two poles.
    if (n < 1 || m < 3) {
        debug << "meshsphere constr: " << n << " slices and " << m
              << " stacks make no sphere; it stays empty" << std::endl;
        return;
    }
    const int faceCount = (2 * m - 4) * n;
    Allocate((m - 2) * n + 2, doubleSided ? 2 * faceCount : faceCount);
    debug << "meshsphere constr  nvert=" << numVertices << std::endl;

    int c = 0;
    for (int r = 1; r <= m - 2; ++r) {
        const double phi = 3.1415926535 * r / (m - 1);
        for (int k = 0; k < n; ++k) {
            const double theta = 6.283185307 * k / n;
            const Vector3 around = axisA * (radii.x * static_cast<float>(std::sin(theta))) +
                                   axisB * (radii.z * static_cast<float>(std::cos(theta)));
            const Vector3 offset = around * static_cast<float>(std::sin(phi)) +
                                   axisH * (radii.y * static_cast<float>(std::cos(phi)));
            vertices[c++] = Vertex(center + offset, offset, static_cast<float>(k) / n,
                                   static_cast<float>(r) / (m - 1));
        }
    }
    const Vector3 pole = axisH * radii.y;
    const int top = c;
    const int bottom = c + 1;
    vertices[c++] = Vertex(center + pole, pole, 0.5f, 0.997f);
    vertices[c++] = Vertex(center - pole, -pole, 0.5f, 0);
    debug << "  c=" << c << std::endl;

    int* face = faces.data();
    auto add = [&face](int a, int b, int e) {
        *face++ = a;
        *face++ = b;
        *face++ = e;
    };
    for (int b = 0; b <= m - 4; ++b) {
        for (int k = 0; k < n; ++k) {
            const int a = b * n + k;
            const int a2 = b * n + (k + 1) % n;
            const int e = (b + 1) * n + k;
            const int e2 = (b + 1) * n + (k + 1) % n;
            add(a, e2, a2);
            add(a, e, e2);
            if (doubleSided) {
                add(a, a2, e2);
                add(a, e2, e);
            }
        }
    }
    const int last = (m - 3) * n;  // first vertex of the lowest ring
    for (int k = 0; k < n; ++k) {
        const int p = k % n;
        const int q = (k + 1) % n;
        add(p, q, top);
        add(last + q, last + p, bottom);
        if (doubleSided) {
            add(q, p, top);
            add(last + p, last + q, bottom);
        }
    }
}
