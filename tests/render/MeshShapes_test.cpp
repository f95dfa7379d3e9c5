#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "render/MeshDisc.h"
#include "render/MeshQuad.h"
#include "render/MeshSphere.h"
#include "support/Near.h"

namespace {

const Vector3 X(1, 0, 0);
const Vector3 Y(0, 1, 0);
const Vector3 Z(0, 0, 1);

std::vector<int> Face(const Mesh& mesh, int f) {
    return {mesh.faces[3 * f], mesh.faces[3 * f + 1], mesh.faces[3 * f + 2]};
}

// Each shape with its counts, a few of its vertices and faces; every face
// index must name a vertex and the arrays must match the counts.
TEST(MeshShapes, EachShapeHasItsVerticesAndFacesInTheirOrder) {
    const struct {
        const char* name;
        std::function<Mesh*()> make;
        int vertices, faces;
        std::vector<std::pair<int, Vector3>> positions;
        std::vector<std::pair<int, std::vector<int>>> triangles;
    } shapes[] = {
        // Vertex 2s + t: s steps along the first axis, t along the second.
        {"quad", [] { return new MeshQuad(Vector3(1, 2, 3), X, Y * 2, Vector3(10, 5, 99)); }, 4, 2,
         {{1, {1, 12, 3}}, {2, {11, 2, 3}}}, {{0, {0, 1, 2}}, {1, {2, 1, 3}}}},
        // Inner and outer pairs round the ring from the last axis; the last pair repeats the first.
        {"disc", [] { return new MeshDisc(Vector3(0, 5, 0), X, Y, Z, Vector3(4, 0, 2), false, 4); },
         10, 8, {{0, {0, 5, 1}}, {1, {0, 5, 2}}, {3, {4, 5, 0}}, {9, {0, 5, 2}}},
         {{2, {2, 3, 4}}, {3, {3, 4, 5}}}},
        {"double-sided disc", [] { return new MeshDisc(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, 3); },
         8, 12, {}, {{6, {2, 4, 3}}, {7, {3, 5, 4}}}},
        // Rings between the poles, which come last: top, then bottom.
        {"sphere", [] { return new MeshSphere(Vector3(1, 2, 3), X, Y, Z, Vector3(2, 3, 4), false, 5, 5); },
         17, 30, {{15, {1, 5, 3}}, {16, {1, -1, 3}}}, {}},
        {"double-sided sphere", [] { return new MeshSphere(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, 5, 5); },
         17, 60, {}, {{0, {0, 6, 1}}, {2, {0, 1, 6}}}},
        {"smallest sphere", [] { return new MeshSphere(Vector3(), X, Y, Z, Vector3(1, 1, 1), false, 4, 3); },
         6, 8, {}, {}},
        // Too few segments or stacks make nothing at all.
        {"no ring", [] { return new MeshDisc(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, 0); }, 0, 0, {}, {}},
        {"no sphere", [] { return new MeshSphere(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, 5, 2); }, 0, 0, {}, {}},
        {"no segments", [] { return new MeshSphere(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, 0, 5); }, 0, 0, {}, {}},
    };
    for (const auto& shape : shapes) {
        SCOPED_TRACE(shape.name);
        const std::unique_ptr<Mesh> mesh(shape.make());
        ASSERT_EQ(mesh->numVertices, shape.vertices);
        ASSERT_EQ(mesh->numFaces, shape.faces);
        ASSERT_EQ(mesh->vertices.size(), static_cast<size_t>(shape.vertices));
        ASSERT_EQ(mesh->faces.size(), static_cast<size_t>(shape.faces) * 3);
        for (int index : mesh->faces) EXPECT_TRUE(index >= 0 && index < shape.vertices) << index;
        for (const auto& [i, p] : shape.positions) EXPECT_TRUE(Near(mesh->vertices[i].pos, p)) << i;
        for (const auto& [f, corners] : shape.triangles) EXPECT_EQ(Face(*mesh, f), corners) << f;
    }
}

}  // namespace
