#include "render/Mesh.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "render/Material.h"
#include "render/RenderPaths.h"
#include "scene/DirectionalLight.h"
#include "support/Feedback.h"
#include "support/GLContext.h"
#include "support/TraceCapture.h"

namespace {

const float PI = 3.14159265358979f;

Mesh MakeMesh(const std::vector<Vector3>& positions, const std::vector<int>& faces) {
    Mesh mesh;
    mesh.Allocate(static_cast<int>(positions.size()), static_cast<int>(faces.size() / 3));
    for (size_t i = 0; i < positions.size(); ++i) {
        mesh.vertices[i] = Vertex(positions[i], Vector3(), 0, 0);
    }
    mesh.faces = faces;
    return mesh;
}

void ExpectNear(const Vector3& actual, const Vector3& expected, float eps = 1e-5f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

Matrix Identity() {
    Matrix m;
    m.CreateIdentity();
    return m;
}

// ---------------------------------------------------------------- normals

TEST(MeshNormals, SharedVerticesAverageTheUnitNormalsOfTheirTriangles) {
    // Two triangles folded at a right angle along the edge 0-1: one in the
    // floor, one in a wall, the big one four times the area of the small one.
    Mesh mesh = MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 0, 4}, {0, 1, 0}}, {0, 2, 1, 0, 1, 3});
    mesh.RecalcNormals(false);
    ExpectNear(mesh.vertices[2].normal, Vector3(0, 1, 0));
    ExpectNear(mesh.vertices[3].normal, Vector3(0, 0, 1));
    const float h = std::sqrt(0.5f);
    ExpectNear(mesh.vertices[0].normal, Vector3(0, h, h));  // unweighted by area
    ExpectNear(mesh.vertices[1].normal, Vector3(0, h, h));
    EXPECT_EQ(mesh.faces, (std::vector<int>{0, 2, 1, 0, 1, 3}));
}

TEST(MeshNormals, FlipTurnsTheMeshInsideOutAndTwiceRestoresIt) {
    Mesh mesh = MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}}, {0, 2, 1, 1, 2, 3});
    mesh.RecalcNormals(true);
    EXPECT_EQ(mesh.faces, (std::vector<int>{1, 2, 0, 3, 2, 1}));
    for (const Vertex& v : mesh.vertices) ExpectNear(v.normal, Vector3(0, -1, 0));
    mesh.RecalcNormals(true);
    EXPECT_EQ(mesh.faces, (std::vector<int>{0, 2, 1, 1, 2, 3}));
    for (const Vertex& v : mesh.vertices) ExpectNear(v.normal, Vector3(0, 1, 0));
}

TEST(MeshNormals, ADegenerateTriangleLeavesZeroNormalsNotNaN) {
    Mesh mesh = MakeMesh({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}, {0, 1, 2});
    mesh.RecalcNormals(false);
    for (const Vertex& v : mesh.vertices) EXPECT_EQ(v.normal, Vector3(0, 0, 0));
}

TEST(MeshNormals, CylindricalNormalsPointAwayFromTheYAxis) {
    Mesh mesh = MakeMesh({{3, 7, 4}, {0, -2, 0}}, {});
    mesh.RecalcNormalsCyl();
    ExpectNear(mesh.vertices[0].normal, Vector3(0.6f, 0, 0.8f));
    EXPECT_EQ(mesh.vertices[1].normal, Vector3(0, 0, 0)) << "a vertex on the axis";
}

// ---------------------------------------------------------------- matrices

TEST(MeshTransform, MovesPositionsAndTurnsNormalsWithoutTranslatingThem) {
    Mesh mesh = MakeMesh({{1, 0, 0}, {0, 2, 0}}, {});
    mesh.vertices[0].normal = Vector3(1, 0, 0);
    mesh.vertices[0].u = 0.25f;
    mesh.vertices[0].v = 0.75f;
    Matrix turn;
    turn.CreateRotateY(PI / 2);
    Matrix move;
    move.CreateTranslate(10, 20, 30);
    const Matrix m = move * turn;  // turn first, then move
    mesh.Transform(m);
    ExpectNear(mesh.vertices[0].pos, turn * Vector3(1, 0, 0) + Vector3(10, 20, 30));
    ExpectNear(mesh.vertices[1].pos, Vector3(10, 22, 30));
    ExpectNear(mesh.vertices[0].normal, turn * Vector3(1, 0, 0));
    EXPECT_NEAR(mesh.vertices[0].normal.Length(), 1, 1e-5);
    EXPECT_EQ(mesh.vertices[0].u, 0.25f);
    EXPECT_EQ(mesh.vertices[0].v, 0.75f);
}

// ---------------------------------------------------------------- texture scale

TEST(MeshTexMap, RescaleWithTheNeutralValuesChangesAndLogsNothing) {
    Mesh mesh = MakeMesh({{0, 0, 0}, {1, 1, 1}}, {});
    mesh.vertices[1].u = 0.5f;
    mesh.vertices[1].v = 0.25f;
    TraceCapture trace;
    mesh.RescaleTexMap(1, 1, 0, 0);
    EXPECT_EQ(trace.str(), "");
    EXPECT_EQ(mesh.vertices[1].u, 0.5f);
    EXPECT_EQ(mesh.vertices[1].v, 0.25f);
}

TEST(MeshTexMap, RescaleScalesThenOffsetsAndLogsEachVertex) {
    Mesh mesh = MakeMesh({{0, 0, 0}, {1, 1, 1}}, {});
    mesh.vertices[1].u = 0.5f;
    mesh.vertices[1].v = 0.25f;
    TraceCapture trace;
    mesh.RescaleTexMap(2, 4, 0.5f, -1);
    EXPECT_EQ(mesh.vertices[0].u, 0.5f);
    EXPECT_EQ(mesh.vertices[0].v, -1);
    EXPECT_EQ(mesh.vertices[1].u, 1.5f);
    EXPECT_EQ(mesh.vertices[1].v, 0);
    EXPECT_EQ(trace.str(), "\ttu: 0.5\ttv: -1\n\ttu: 1.5\ttv: 0\n");
}

TEST(MeshTexMap, RescaleTakesTheMaterialsScaleAndOffset) {
    Mesh mesh = MakeMesh({{0, 0, 0}}, {});
    mesh.vertices[0].u = 1;
    mesh.vertices[0].v = 1;
    Material material;
    material.scaleU = 3;
    material.scaleV = 2;
    material.offsetU = 0.25f;
    material.offsetV = 0.5f;
    TraceCapture trace;
    mesh.RescaleTexMap(&material);
    EXPECT_EQ(mesh.vertices[0].u, 3.25f);
    EXPECT_EQ(mesh.vertices[0].v, 2.5f);
}

// ---------------------------------------------------------------- remapping

class MeshRemap : public ::testing::Test {
protected:
    // Remaps `mesh` with the fixture's material, set to the given map type.
    void Remap(Mesh& mesh, const std::string& type) {
        material.mapType = type;
        mesh.RemapCoords(&material);
    }
    Material material;
    TraceCapture trace;
};

TEST_F(MeshRemap, CylinderWrapsUAroundTheYAxisAndClampsV) {
    // Behind the axis (+z) u would be 1.0: it starts over at 0.
    Mesh mesh = MakeMesh({{0, 10, 1}, {1, 5, 0}, {0, 0, -1}, {-1, 7.5f, 0}, {0, 9.99f, 1}}, {});
    Remap(mesh, "CYL");
    EXPECT_EQ(mesh.vertices[0].u, 0.0f);
    EXPECT_FLOAT_EQ(mesh.vertices[1].u, 0.75f);
    EXPECT_FLOAT_EQ(mesh.vertices[2].u, 0.5f);
    EXPECT_FLOAT_EQ(mesh.vertices[3].u, 0.25f);
    EXPECT_FLOAT_EQ(mesh.vertices[0].v, 0.003f) << "the top clamps to 0.003";
    EXPECT_FLOAT_EQ(mesh.vertices[1].v, 0.5f);
    EXPECT_FLOAT_EQ(mesh.vertices[2].v, 0.997f) << "the bottom clamps to 0.997";
    EXPECT_FLOAT_EQ(mesh.vertices[3].v, 0.25f);
    EXPECT_FLOAT_EQ(mesh.vertices[4].v, 0.003f) << "0.001 is below the clamp too";
    EXPECT_EQ(mesh.numVertices, 5);
}

TEST_F(MeshRemap, PlanarMappingsSpanTheBoundingBox) {
    const std::vector<Vector3> box = {{-2, 0, -1}, {2, 4, 3}, {0, 1, 0}};

    Mesh x = MakeMesh(box, {});
    Remap(x, "PLANARX");
    EXPECT_FLOAT_EQ(x.vertices[0].u, 1);  // smallest z
    EXPECT_FLOAT_EQ(x.vertices[1].u, 0);  // largest z
    EXPECT_FLOAT_EQ(x.vertices[2].u, 0.75f);
    EXPECT_FLOAT_EQ(x.vertices[0].v, 1);  // bottom
    EXPECT_FLOAT_EQ(x.vertices[1].v, 0);  // top
    EXPECT_FLOAT_EQ(x.vertices[2].v, 0.75f);

    Mesh y = MakeMesh(box, {});
    Remap(y, "PLANARY");
    EXPECT_FLOAT_EQ(y.vertices[0].u, 0.003f);
    EXPECT_FLOAT_EQ(y.vertices[1].u, 0.997f);
    EXPECT_FLOAT_EQ(y.vertices[2].u, 0.5f);
    EXPECT_FLOAT_EQ(y.vertices[0].v, 0.997f);  // smallest z at the bottom
    EXPECT_FLOAT_EQ(y.vertices[1].v, 0.003f);
    EXPECT_FLOAT_EQ(y.vertices[2].v, 0.75f);

    Mesh z = MakeMesh(box, {});
    Remap(z, "PLANARZ");
    EXPECT_FLOAT_EQ(z.vertices[0].u, -1) << "PLANARZ runs from -1 to 0";
    EXPECT_FLOAT_EQ(z.vertices[1].u, 0);
    EXPECT_FLOAT_EQ(z.vertices[2].u, -0.5f);
    EXPECT_FLOAT_EQ(z.vertices[0].v, 1);
    EXPECT_FLOAT_EQ(z.vertices[2].v, 0.75f);
    EXPECT_EQ(trace.str(), "");
}

TEST_F(MeshRemap, ClothNoneAndUnknownTypesKeepTheCoordinates) {
    for (const char* type : {"CLOTH", "NONE", "SPHERICAL", "cyl"}) {
        Mesh mesh = MakeMesh({{1, 2, 3}, {4, 5, 6}}, {});
        mesh.vertices[1].u = 0.3f;
        mesh.vertices[1].v = 0.6f;
        Remap(mesh, type);
        EXPECT_EQ(mesh.vertices[1].u, 0.3f) << type;
        EXPECT_EQ(mesh.vertices[1].v, 0.6f) << type;
    }
    EXPECT_EQ(trace.str(), "unknown map type: 'SPHERICAL'\nunknown map type: 'cyl'\n");
}

// A band across the back of a cylinder. Vertices 0 and 5 lie just right of
// the wrap-around (u near 1), 1 and 2 just left of it (u near 0), 3 and 4 a
// quarter turn round, 6 and 7 on the far left.
class MeshSeam : public MeshRemap {
protected:
    void SetUp() override {
        material.scaleU = 2;
        material.seamSplit = true;
        material.clampR = true;
    }
    Mesh band = MakeMesh({{0.5f, 0, 1}, {-0.5f, 0, 1}, {-0.5f, 1, 1}, {1, 0, 0}, {1, 1, 0},
                          {0.5f, 1, 1}, {-1, 0, 0}, {-1, 1, 0}},
                         {0, 1, 2,     // straddles the seam
                          3, 0, 4,     // all on the right
                          0, 2, 5,     // straddles
                          1, 6, 7});   // all on the left, shares vertex 1
};

TEST_F(MeshSeam, TrianglesAcrossTheSeamGetCopiesOneTurnOn) {
    Remap(band, "CYL");
    ASSERT_EQ(band.numVertices, 10);
    ASSERT_EQ(band.vertices.size(), 10u);
    // Copies of 1 and 2, in index order, one whole turn further in u.
    for (int copy : {8, 9}) {
        const Vertex& original = band.vertices[copy - 7];
        const Vertex& moved = band.vertices[copy];
        EXPECT_EQ(moved.pos, original.pos);
        EXPECT_EQ(moved.v, original.v);
        EXPECT_FLOAT_EQ(moved.u, original.u + 1);
        EXPECT_LT(original.u, 0.5f);
    }
    EXPECT_EQ(band.faces, (std::vector<int>{0, 8, 9, 3, 0, 4, 0, 9, 5, 1, 6, 7}));
    EXPECT_FALSE(material.clampR) << "the texture has to repeat past u = 1";
    EXPECT_EQ(band.numFaces, 4);
}

TEST_F(MeshSeam, NoSplitWithoutRepeatsOrWithTheSwitchOff) {
    material.scaleU = 1;
    Remap(band, "CYL");
    EXPECT_EQ(band.numVertices, 8);
    EXPECT_TRUE(material.clampR);

    material.scaleU = 2;
    material.seamSplit = false;
    Remap(band, "CYL");
    EXPECT_EQ(band.numVertices, 8);
    EXPECT_EQ(band.faces[1], 1);
    EXPECT_TRUE(material.clampR);
}

// ---------------------------------------------------------------- GL

// Quads may come back whole or cut into triangles: count quads by area units.
float QuadCount(const std::vector<Polygon>& polygons) {
    float quads = 0;
    for (const Polygon& p : polygons) quads += (static_cast<float>(p.size()) - 2) / 2;
    return quads;
}

// Signed area in window coordinates: positive when counter-clockwise.
float SignedArea(const Polygon& p) {
    float area = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const Vector3& a = p[i];
        const Vector3& b = p[(i + 1) % p.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return area / 2;
}

// World units map to the 64-pixel window 400 units each way from the
// origin, so that a 300-unit extrusion stays inside and nothing is clipped.
const float VIEW = 400;
float WindowX(float x) { return (x / VIEW + 1) * GLTest::WIDTH / 2; }
float WindowY(float y) { return (y / VIEW + 1) * GLTest::HEIGHT / 2; }

class MeshGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        System* system = System::instance();
        if (system->display == nullptr) system->display = new Display();
        display = system->display;
        // The two stencil passes as designed; the one-pass way is held to
        // the same picture by the render path test.
        renderPaths = RenderPaths::Plain();
        // Whatever an earlier test left registered, the sun becomes light 0.
        display->lights.Head();
        display->lights.Add(&sun);
        glViewport(0, 0, WIDTH, HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-VIEW, VIEW, -VIEW, VIEW, -VIEW, VIEW);
        glDisable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    void TearDown() override {
        if (display == nullptr) return;
        renderPaths = RenderPaths();
        display->lights.count = 0;
        // Back to GL's defaults for the tests that share the context.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glFrontFace(GL_CCW);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    }

    // Three triangles in the floor plane y = 0 around x = 0, z = 0: the
    // first has normals along the light (down), the second against it, the
    // third at a right angle to it.
    static Mesh Floor() {
        Mesh mesh = MakeMesh({{-50, 0, -20}, {0, 0, 40}, {60, 0, -10},
                              {-50, 0, -20}, {0, 0, 40}, {60, 0, -10},
                              {-50, 0, -20}, {0, 0, 40}, {60, 0, -10}},
                             {0, 1, 2, 3, 4, 5, 6, 7, 8});
        for (int i = 0; i < 3; ++i) {
            mesh.vertices[i].normal = Vector3(0, -1, 0);
            mesh.vertices[3 + i].normal = Vector3(0, 1, 0);
            mesh.vertices[6 + i].normal = Vector3(1, 0, 0);
        }
        return mesh;
    }

    Display* display = nullptr;
    // Not normalised: the mesh does that before extruding 300 units.
    DirectionalLight sun{Vector3(1, 1, 1), Vector3(0, -2, 0)};
};

TEST_F(MeshGL, DrawSendsEveryTriangleUnderTheWorldMatrix) {
    Mesh mesh = Floor();
    Matrix world;
    world.CreateTranslate(5, 6, 7);
    const std::vector<Polygon> drawn = Feedback([&] { mesh.Draw(world); });
    EXPECT_EQ(drawn.size(), 3u);
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_EQ(modelview[13], 6);
    ASSERT_FALSE(drawn.empty());
    EXPECT_NEAR(drawn[0][0].x, WindowX(-45), 1e-3);

    Mesh empty;
    EXPECT_TRUE(Feedback([&] { empty.Draw(world); }).empty());
}

TEST_F(MeshGL, ShadowVolumeExtrudesTrianglesFacingAwayInTwoPasses) {
    Mesh mesh = Floor();
    Matrix world;
    world.CreateTranslate(0, 100, 0);
    const std::vector<Polygon> volume = Feedback([&] { mesh.DrawShadowVolume(world); });
    // Only the first triangle casts: three edge quads, once per pass.
    EXPECT_FLOAT_EQ(QuadCount(volume), 6);
    // Its edges run from the world position down 300 units along the light.
    for (const Polygon& p : volume) {
        for (const Vector3& corner : p) {
            EXPECT_TRUE(std::fabs(corner.y - WindowY(100)) < 1e-3 ||
                        std::fabs(corner.y - WindowY(-200)) < 1e-3)
                << corner.y;
        }
    }
    ASSERT_EQ(mesh.shadowCache.size(), 9u * 6);
    EXPECT_FLOAT_EQ(mesh.shadowCache[1], 100);
    EXPECT_FLOAT_EQ(mesh.shadowCache[4], -200);

    GLint value = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);
    glGetIntegerv(GL_STENCIL_PASS_DEPTH_PASS, &value);
    EXPECT_EQ(value, GL_DECR);
    glGetIntegerv(GL_STENCIL_FAIL, &value);
    EXPECT_EQ(value, GL_KEEP);
    glGetIntegerv(GL_STENCIL_PASS_DEPTH_FAIL, &value);
    EXPECT_EQ(value, GL_KEEP);
    glGetIntegerv(GL_STENCIL_FUNC, &value);
    EXPECT_EQ(value, GL_ALWAYS);
    glGetIntegerv(GL_STENCIL_WRITEMASK, &value);
    EXPECT_EQ(value & 0xff, 0xff);
    glGetFloatv(GL_MODELVIEW_MATRIX, world.m);
    EXPECT_EQ(world(3, 1), 0) << "the volume is sent in world space";
}

TEST_F(MeshGL, TheFirstPassDrawsFrontFacesAndTheSecondBackFaces) {
    Mesh mesh = Floor();
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);  // the game's front faces
    const std::vector<Polygon> volume = Feedback([&] { mesh.DrawShadowVolume(Identity()); });
    glDisable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    // Seen along z every wall is either front or back facing, so each pass
    // keeps the walls the other one culls: three in all.
    EXPECT_FLOAT_EQ(QuadCount(volume), 3);
    // With clockwise front faces a front face is clockwise on screen: the
    // walls that count a shadow up come first.
    bool secondPass = false;
    for (const Polygon& p : volume) {
        const bool front = SignedArea(p) < 0;
        if (!front) secondPass = true;
        EXPECT_EQ(front, !secondPass) << "front faces all come first";
    }
    EXPECT_TRUE(secondPass);
}

TEST_F(MeshGL, TheWorldMatrixTurnsTheFacingTest) {
    Mesh mesh = Floor();
    Matrix upsideDown;
    upsideDown.CreateRotateX(PI);
    // Now the second triangle faces away from the light and the first towards it.
    const std::vector<Polygon> volume = Feedback([&] { mesh.DrawShadowVolume(upsideDown); });
    EXPECT_FLOAT_EQ(QuadCount(volume), 6);
}

TEST_F(MeshGL, NoLightOrNoFacesCastsNothing) {
    Mesh mesh = Floor();
    const int registered = display->lights.count;
    display->lights.count = 0;
    EXPECT_TRUE(Feedback([&] { mesh.DrawShadowVolume(Identity()); }).empty());
    EXPECT_TRUE(mesh.shadowCache.empty());

    display->lights.count = registered;
    Mesh empty;
    EXPECT_TRUE(Feedback([&] { empty.DrawShadowVolume(Identity()); }).empty());
}

TEST_F(MeshGL, TheShadowCacheFollowsAGrowingVertexCount) {
    Mesh mesh = Floor();
    Feedback([&] { mesh.DrawShadowVolume(Identity()); });
    ASSERT_EQ(mesh.shadowCache.size(), 9u * 6);
    // A fourth triangle that reaches a vertex added after the first shadow.
    mesh.vertices.push_back(Vertex(Vector3(0, 50, 0), Vector3(0, -1, 0), 0, 0));
    mesh.numVertices = 10;
    mesh.faces.insert(mesh.faces.end(), {0, 1, 9});
    mesh.numFaces = 4;
    const std::vector<Polygon> volume = Feedback([&] { mesh.DrawShadowVolume(Identity()); });
    EXPECT_EQ(mesh.shadowCache.size(), 10u * 6);
    EXPECT_FLOAT_EQ(QuadCount(volume), 12);
    EXPECT_FLOAT_EQ(mesh.shadowCache[9 * 6 + 4], -250);
}

}  // namespace
