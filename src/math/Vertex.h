#pragma once

#include "math/Vector3.h"

// One vertex of a mesh: eight packed floats, which a mesh hands to GL as
// interleaved arrays of positions, normals and texture coordinates.
struct Vertex {
    // u and v stay uninitialised (pos and normal get Vector3's zeros): meshes
    // fill their arrays right after allocating them.
    Vertex() {}
    Vertex(const Vector3& pos_, const Vector3& normal_, float u_, float v_)
        : pos(pos_), normal(normal_), u(u_), v(v_) {}

    Vector3 pos;
    Vector3 normal;  // unit length
    float u, v;      // texture coordinates
};

static_assert(sizeof(Vertex) == 8 * sizeof(float), "mesh arrays rely on eight packed floats");
