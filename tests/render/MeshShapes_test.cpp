#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <sstream>

#include "core/Trace.h"
#include "render/MeshCylinder.h"
#include "render/MeshDisc.h"
#include "render/MeshQuad.h"
#include "render/MeshSphere.h"
#include "support/TraceCapture.h"

namespace {

const Vector3 X(1, 0, 0);
const Vector3 Y(0, 1, 0);
const Vector3 Z(0, 0, 1);

void ExpectNear(const Vector3& actual, const Vector3& expected, float eps = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

// Every face index must name a vertex, and the arrays must match the counts.
void ExpectConsistent(const Mesh& mesh) {
    ASSERT_EQ(mesh.vertices.size(), static_cast<size_t>(mesh.numVertices));
    ASSERT_EQ(mesh.faces.size(), static_cast<size_t>(mesh.numFaces) * 3);
    for (int index : mesh.faces) {
        EXPECT_GE(index, 0);
        EXPECT_LT(index, mesh.numVertices);
    }
}

std::vector<int> Face(const Mesh& mesh, int f) {
    return {mesh.faces[3 * f], mesh.faces[3 * f + 1], mesh.faces[3 * f + 2]};
}

void ExpectEmpty(const Mesh& mesh) {
    EXPECT_EQ(mesh.numVertices, 0);
    EXPECT_EQ(mesh.numFaces, 0);
    EXPECT_TRUE(mesh.vertices.empty());
    EXPECT_TRUE(mesh.faces.empty());
}

// ---------------------------------------------------------------- quad

TEST(MeshQuad, CornersTextureCoordinatesAndNormal) {
    const MeshQuad quad(Vector3(1, 2, 3), X, Y * 2, Vector3(10, 5, 99));
    ExpectConsistent(quad);
    ASSERT_EQ(quad.numVertices, 4);
    ASSERT_EQ(quad.numFaces, 2);
    // Vertex 2s + t: s steps along axisU, t along axisV.
    ExpectNear(quad.vertices[0].pos, Vector3(1, 2, 3));
    ExpectNear(quad.vertices[1].pos, Vector3(1, 12, 3));
    ExpectNear(quad.vertices[2].pos, Vector3(11, 2, 3));
    ExpectNear(quad.vertices[3].pos, Vector3(11, 12, 3));
    EXPECT_EQ(quad.vertices[1].u, 0);
    EXPECT_EQ(quad.vertices[1].v, 1);
    EXPECT_EQ(quad.vertices[2].u, 1);
    EXPECT_EQ(quad.vertices[2].v, 0);
    for (const Vertex& v : quad.vertices) ExpectNear(v.normal, Vector3(0, 0, 1));
    EXPECT_EQ(quad.faces, (std::vector<int>{0, 1, 2, 2, 1, 3}));
}

// ---------------------------------------------------------------- disc

TEST(MeshDisc, RingOfInnerAndOuterPairs) {
    TraceCapture trace;
    const MeshDisc disc(Vector3(0, 5, 0), X, Y, Z, Vector3(4, 0, 2), false, 4);
    EXPECT_EQ(trace.str(), "meshdisc constr\n");
    ExpectConsistent(disc);
    ASSERT_EQ(disc.numVertices, 10);
    ASSERT_EQ(disc.numFaces, 8);
    // k = 0 lies along axisB (the cosine), k = 1 a quarter turn on along axisA.
    ExpectNear(disc.vertices[0].pos, Vector3(0, 5, 1));
    ExpectNear(disc.vertices[1].pos, Vector3(0, 5, 2));
    ExpectNear(disc.vertices[2].pos, Vector3(2, 5, 0));
    ExpectNear(disc.vertices[3].pos, Vector3(4, 5, 0));
    ExpectNear(disc.vertices[9].pos, disc.vertices[1].pos);  // the last pair repeats the first
    EXPECT_FLOAT_EQ(disc.vertices[9].u, 0.997f);
    EXPECT_FLOAT_EQ(disc.vertices[4].u, 0.997f * 0.5f);
    EXPECT_FLOAT_EQ(disc.vertices[4].v, 0.997f);
    EXPECT_EQ(disc.vertices[5].v, 0);
    for (const Vertex& v : disc.vertices) EXPECT_EQ(v.normal, Y);
    EXPECT_EQ(Face(disc, 2), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(Face(disc, 3), (std::vector<int>{3, 4, 5}));
}

TEST(MeshDisc, DoubleSidedAddsTheReversedTriangles) {
    const MeshDisc disc(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, 3);
    ExpectConsistent(disc);
    ASSERT_EQ(disc.numFaces, 12);
    EXPECT_EQ(Face(disc, 4), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(Face(disc, 5), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(Face(disc, 6), (std::vector<int>{2, 4, 3}));
    EXPECT_EQ(Face(disc, 7), (std::vector<int>{3, 5, 4}));
}

TEST(MeshDisc, OneSegmentFoldsOntoItself) {
    const MeshDisc disc(Vector3(), X, Y, Z, Vector3(1, 1, 1), false, 1);
    ExpectConsistent(disc);
    ASSERT_EQ(disc.numVertices, 4);
    ASSERT_EQ(disc.numFaces, 2);
    // The angles 0 and 2 pi coincide: both triangles have no area.
    ExpectNear(disc.vertices[2].pos, disc.vertices[0].pos);
    ExpectNear(disc.vertices[3].pos, disc.vertices[1].pos);
}

TEST(MeshDisc, NoSegmentsGiveAnEmptyDisc) {
    for (int segments : {0, -5}) {
        TraceCapture trace;
        const MeshDisc disc(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, segments);
        ExpectEmpty(disc);
        EXPECT_NE(trace.str().find("segments make no ring"), std::string::npos) << trace.str();
    }
}

// ---------------------------------------------------------------- cylinder

TEST(MeshCylinder, TubeOfBottomAndTopPairsClosingOnTheFirst) {
    TraceCapture trace;
    const MeshCylinder tube(Vector3(0, 1, 0), X, Y, Z, Vector3(2, 10, 3), false, 4);
    EXPECT_EQ(trace.str(), "meshcyl constr\n");
    ExpectConsistent(tube);
    ASSERT_EQ(tube.numVertices, 8);
    ASSERT_EQ(tube.numFaces, 8);
    ExpectNear(tube.vertices[0].pos, Vector3(0, 1, 3));
    ExpectNear(tube.vertices[1].pos, Vector3(0, 11, 3));
    ExpectNear(tube.vertices[2].pos, Vector3(2, 1, 0));
    // Normals follow the axes only, not the radii.
    ExpectNear(tube.vertices[0].normal, Vector3(0, 0, 1));
    ExpectNear(tube.vertices[3].normal, Vector3(1, 0, 0));
    EXPECT_FLOAT_EQ(tube.vertices[6].u, 0.75f);
    EXPECT_EQ(tube.vertices[6].v, 0);
    EXPECT_EQ(tube.vertices[7].v, 1);
    EXPECT_EQ(Face(tube, 0), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(Face(tube, 1), (std::vector<int>{2, 3, 1}));
    // The last segment wraps onto vertices 0 and 1.
    EXPECT_EQ(Face(tube, 6), (std::vector<int>{6, 0, 7}));
    EXPECT_EQ(Face(tube, 7), (std::vector<int>{0, 1, 7}));
}

TEST(MeshCylinder, DoubleSidedAddsTheReversedTriangles) {
    const MeshCylinder tube(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, 3);
    ExpectConsistent(tube);
    ASSERT_EQ(tube.numFaces, 12);
    EXPECT_EQ(Face(tube, 10), (std::vector<int>{4, 5, 0}));
    EXPECT_EQ(Face(tube, 11), (std::vector<int>{1, 0, 5}));
}

TEST(MeshCylinder, NoSegmentsGiveAnEmptyTube) {
    TraceCapture trace;
    const MeshCylinder tube(Vector3(), X, Y, Z, Vector3(1, 1, 1), false, 0);
    ExpectEmpty(tube);
    EXPECT_NE(trace.str().find("segments make no tube"), std::string::npos) << trace.str();
}

// ---------------------------------------------------------------- sphere

TEST(MeshSphere, FiveByFiveHasSeventeenVerticesAndThirtyTriangles) {
    TraceCapture trace;
    const MeshSphere sphere(Vector3(1, 2, 3), X, Y, Z, Vector3(2, 3, 4), false, 5, 5);
    EXPECT_EQ(trace.str(), "meshsphere constr  nvert=17\n  c=17\n");
    ExpectConsistent(sphere);
    ASSERT_EQ(sphere.numVertices, 17);
    ASSERT_EQ(sphere.numFaces, 30);
    // Every vertex lies on the ellipsoid, its normal the offset from the centre.
    for (const Vertex& v : sphere.vertices) {
        const Vector3 d = v.pos - Vector3(1, 2, 3);
        EXPECT_NEAR(d.x * d.x / 4 + d.y * d.y / 9 + d.z * d.z / 16, 1, 1e-4);
        ExpectNear(v.normal, d);
    }
    ExpectNear(sphere.vertices[15].pos, Vector3(1, 5, 3));
    ExpectNear(sphere.vertices[16].pos, Vector3(1, -1, 3));
    EXPECT_FLOAT_EQ(sphere.vertices[15].v, 0.997f);
    EXPECT_EQ(sphere.vertices[16].v, 0);
    EXPECT_EQ(sphere.vertices[16].u, 0.5f);
    EXPECT_FLOAT_EQ(sphere.vertices[7].u, 0.4f);
    EXPECT_FLOAT_EQ(sphere.vertices[7].v, 0.5f);
}

// A closed surface wound one way: every edge is used once in each direction.
TEST(MeshSphere, SingleSidedIsClosedAndConsistentlyWound) {
    const MeshSphere sphere(Vector3(), X, Y, Z, Vector3(1, 1, 1), false, 6, 7);
    ExpectConsistent(sphere);
    EXPECT_EQ(sphere.numVertices, 5 * 6 + 2);
    EXPECT_EQ(sphere.numFaces, 10 * 6);
    std::map<std::pair<int, int>, int> edges;
    for (int f = 0; f < sphere.numFaces; ++f) {
        const std::vector<int> c = Face(sphere, f);
        for (int k = 0; k < 3; ++k) ++edges[{c[k], c[(k + 1) % 3]}];
    }
    for (const auto& [edge, uses] : edges) {
        EXPECT_EQ(uses, 1) << edge.first << "-" << edge.second;
        EXPECT_EQ(edges.count({edge.second, edge.first}), 1u) << edge.first << "-" << edge.second;
    }
    // With right-handed axes every face's right-hand-rule normal points out.
    for (int f = 0; f < sphere.numFaces; ++f) {
        const std::vector<int> c = Face(sphere, f);
        const Vector3& a = sphere.vertices[c[0]].pos;
        const Vector3 n = (sphere.vertices[c[1]].pos - a).Cross(sphere.vertices[c[2]].pos - a);
        EXPECT_GT(n.Dot(a + sphere.vertices[c[1]].pos + sphere.vertices[c[2]].pos), 0)
            << "face " << f;
    }
}

TEST(MeshSphere, DoubleSidedDoublesTheTriangles) {
    const MeshSphere sphere(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, 5, 5);
    ExpectConsistent(sphere);
    EXPECT_EQ(sphere.numFaces, 60);
    EXPECT_EQ(Face(sphere, 0), (std::vector<int>{0, 6, 1}));
    EXPECT_EQ(Face(sphere, 2), (std::vector<int>{0, 1, 6}));
}

TEST(MeshSphere, ThreeStacksAreTheLeast) {
    const MeshSphere smallest(Vector3(), X, Y, Z, Vector3(1, 1, 1), false, 4, 3);
    ExpectConsistent(smallest);
    EXPECT_EQ(smallest.numVertices, 6);
    EXPECT_EQ(smallest.numFaces, 8);
    const int tooSmall[][2] = {{5, 2}, {5, 0}, {0, 5}, {-1, 5}};
    for (const auto& size : tooSmall) {
        TraceCapture trace;
        const MeshSphere sphere(Vector3(), X, Y, Z, Vector3(1, 1, 1), true, size[0], size[1]);
        ExpectEmpty(sphere);
        EXPECT_NE(trace.str().find("make no sphere"), std::string::npos) << trace.str();
    }
}

}  // namespace
