#include "render/Mesh.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "render/Material.h"
#include "render/RenderPaths.h"
#include "scene/DirectionalLight.h"
#include "support/DisplayGuard.h"
#include "support/GLContext.h"
#include "support/Near.h"
#include "support/TraceCapture.h"

namespace {

const float PI = 3.14159265358979f;

Mesh MakeMesh(const std::vector<Vector3>& positions, const std::vector<int>& faces = {}) {
    Mesh mesh;
    mesh.Allocate(static_cast<int>(positions.size()), static_cast<int>(faces.size() / 3));
    for (size_t i = 0; i < positions.size(); ++i) mesh.vertices[i] = Vertex(positions[i], {}, 0, 0);
    mesh.faces = faces;
    return mesh;
}

TEST(Mesh, SharedVerticesAverageTheUnitNormalsOfTheirTrianglesAndFlipTurnsThemOver) {
    // Two triangles folded at a right angle along the edge 0-1: one in the
    // floor, one in a wall, the big one four times the area of the small one.
    Mesh mesh = MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 0, 4}, {0, 1, 0}}, {0, 2, 1, 0, 1, 3});
    mesh.RecalcNormals(false);
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(Near(mesh.vertices[2].normal, Vector3(0, 1, 0)));
    EXPECT_TRUE(Near(mesh.vertices[0].normal, Vector3(0, h, h))) << "unweighted by area";
    mesh.RecalcNormals(true);
    EXPECT_EQ(mesh.faces, (std::vector<int>{1, 2, 0, 3, 1, 0}));
    EXPECT_TRUE(Near(mesh.vertices[0].normal, Vector3(0, -h, -h)));

    Mesh flat = MakeMesh({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}, {0, 1, 2});
    flat.RecalcNormals(false);
    EXPECT_EQ(flat.vertices[0].normal, Vector3()) << "no area: zero, not NaN";
    Mesh tube = MakeMesh({{3, 7, 4}, {0, -2, 0}});
    tube.RecalcNormalsCyl();
    EXPECT_TRUE(Near(tube.vertices[0].normal, Vector3(0.6f, 0, 0.8f)));
    EXPECT_EQ(tube.vertices[1].normal, Vector3()) << "a vertex on the axis";
}

TEST(Mesh, TransformMovesPositionsAndTurnsNormalsAndRescaleScalesThenOffsets) {
    Mesh mesh = MakeMesh({{1, 0, 0}, {0, 2, 0}});
    mesh.vertices[0].normal = Vector3(1, 0, 0);
    mesh.vertices[1].u = 0.5f;
    mesh.vertices[1].v = 0.25f;
    Matrix turn, move;
    turn.CreateRotateY(PI / 2);
    move.CreateTranslate(10, 20, 30);
    mesh.Transform(move * turn);
    EXPECT_TRUE(Near(mesh.vertices[0].pos, Vector3(10, 20, 31)));
    EXPECT_TRUE(Near(mesh.vertices[0].normal, Vector3(0, 0, 1))) << "turned, not moved";

    Material material;
    material.scaleU = 2;
    material.scaleV = 4;
    material.offsetU = 0.5f;
    material.offsetV = -1;
    mesh.RescaleTexMap(&material);
    EXPECT_EQ(mesh.vertices[1].u, 1.5f);
    EXPECT_EQ(mesh.vertices[1].v, 0);
}

TEST(Mesh, MapTypesGiveCoordinatesFromTheBoundingBoxOrLeaveThemBe) {
    // Behind the axis (+z) a cylinder's u would be 1.0: it starts over at 0;
    // v clamps to 0.003 at the top and 0.997 at the bottom.
    const std::vector<Vector3> cylinder = {{0, 10, 1}, {1, 5, 0}, {0, 0, -1}, {-1, 7.5f, 0}};
    const std::vector<Vector3> box = {{-2, 0, -1}, {2, 4, 3}, {0, 1, 0}};
    const struct {
        const char* type;
        std::vector<Vector3> positions;
        std::vector<float> u, v;
    } cases[] = {
        {"CYL", cylinder, {0, 0.75f, 0.5f, 0.25f}, {0.003f, 0.5f, 0.997f, 0.25f}},
        {"PLANARX", box, {1, 0, 0.75f}, {1, 0, 0.75f}},
        {"PLANARY", box, {0.003f, 0.997f, 0.5f}, {0.997f, 0.003f, 0.75f}},
        {"PLANARZ", box, {-1, 0, -0.5f}, {1, 0, 0.75f}},  // runs from -1 to 0
        {"CLOTH", box, {0.3f, 0.3f, 0.3f}, {0.6f, 0.6f, 0.6f}},
        {"NONE", box, {0.3f, 0.3f, 0.3f}, {0.6f, 0.6f, 0.6f}},
        {"cyl", box, {0.3f, 0.3f, 0.3f}, {0.6f, 0.6f, 0.6f}},
    };
    for (const auto& c : cases) {
        Mesh mesh = MakeMesh(c.positions);
        for (Vertex& v : mesh.vertices) {
            v.u = 0.3f;
            v.v = 0.6f;
        }
        Material material;
        material.mapType = c.type;
        TraceCapture trace;
        mesh.RemapCoords(&material);
        for (size_t i = 0; i < c.u.size(); ++i) {
            EXPECT_FLOAT_EQ(mesh.vertices[i].u, c.u[i]) << c.type << " " << i;
            EXPECT_FLOAT_EQ(mesh.vertices[i].v, c.v[i]) << c.type << " " << i;
        }
        EXPECT_EQ(trace.Has("unknown map type: 'cyl'"), std::string(c.type) == "cyl");
    }
}

// A band across the back of a cylinder. Vertices 0 and 5 lie just right of
// the wrap-around (u near 1), 1 and 2 just left of it (u near 0), 3 and 4 a
// quarter turn round, 6 and 7 on the far left.
Mesh Band() {
    return MakeMesh({{0.5f, 0, 1}, {-0.5f, 0, 1}, {-0.5f, 1, 1}, {1, 0, 0}, {1, 1, 0},
                     {0.5f, 1, 1}, {-1, 0, 0}, {-1, 1, 0}},
                    {0, 1, 2,     // straddles the seam
                     3, 0, 4,     // all on the right
                     0, 2, 5,     // straddles
                     1, 6, 7});   // all on the left, shares vertex 1
}

TEST(Mesh, TrianglesAcrossACylindersSeamGetCopiesOneTurnOnWhenTheTextureRepeats) {
    const struct {
        float scaleU;
        bool split;
        int vertices;
    } cases[] = {{2, true, 10}, {1, true, 8}, {2, false, 8}};
    for (const auto& c : cases) {
        Mesh band = Band();
        Material material;
        material.mapType = "CYL";
        material.scaleU = c.scaleU;
        material.seamSplit = c.split;
        material.clampR = true;
        band.RemapCoords(&material);
        EXPECT_EQ(band.numVertices, c.vertices) << c.scaleU << c.split;
        EXPECT_EQ(material.clampR, c.vertices == 8) << "the texture has to repeat past u = 1";
        if (c.vertices == 8) continue;
        // Copies of 1 and 2, in index order, one whole turn further in u.
        for (int copy : {8, 9}) {
            EXPECT_EQ(band.vertices[copy].pos, band.vertices[copy - 7].pos);
            EXPECT_FLOAT_EQ(band.vertices[copy].u, band.vertices[copy - 7].u + 1);
        }
        EXPECT_EQ(band.faces, (std::vector<int>{0, 8, 9, 3, 0, 4, 0, 9, 5, 1, 6, 7}));
    }
}

// Window coordinates of the polygons that GL feeds back while `draw` runs.
using Polygon = std::vector<Vector3>;
std::vector<Polygon> Feedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    std::vector<Polygon> polygons;
    for (GLint i = 0; i < used;) {
        const GLint token = static_cast<GLint>(buffer[i++]);
        if (token == GL_POLYGON_TOKEN) {
            const int n = static_cast<int>(buffer[i++]);
            Polygon polygon;
            for (int k = 0; k < n; ++k, i += 3) polygon.emplace_back(buffer[i], buffer[i + 1], buffer[i + 2]);
            polygons.push_back(polygon);
        } else {
            i += token == GL_PASS_THROUGH_TOKEN ? 1 : token == GL_POINT_TOKEN ? 3 : 6;
        }
    }
    return polygons;
}

// Quads may come back whole or cut into triangles: count quads by area units.
float QuadCount(const std::vector<Polygon>& polygons) {
    float quads = 0;
    for (const Polygon& p : polygons) quads += (static_cast<float>(p.size()) - 2) / 2;
    return quads;
}

// World units map to the 64-pixel window 400 units each way from the origin,
// so that a 300-unit extrusion stays inside and nothing is clipped.
const float VIEW = 400;
float WindowY(float y) { return (y / VIEW + 1) * GLTest::HEIGHT / 2; }

class MeshGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        // The two stencil passes as designed; the one-pass way is held to
        // the same picture by the render path test.
        renderPaths = RenderPaths::Plain();
        display->lights.Add(&sun);
        glMatrixMode(GL_PROJECTION);
        glOrtho(-VIEW, VIEW, -VIEW, VIEW, -VIEW, VIEW);
        glFrontFace(GL_CW);  // the game's front faces
    }

    // Three triangles in the floor plane around the origin: the first has
    // normals along the light (down), the second against it, the third at a
    // right angle to it.
    static Mesh Floor() {
        Mesh mesh = MakeMesh({{-50, 0, -20}, {0, 0, 40}, {60, 0, -10}, {-50, 0, -20}, {0, 0, 40},
                              {60, 0, -10}, {-50, 0, -20}, {0, 0, 40}, {60, 0, -10}},
                             {0, 1, 2, 3, 4, 5, 6, 7, 8});
        for (int i = 0; i < 3; ++i) {
            mesh.vertices[i].normal = Vector3(0, -1, 0);
            mesh.vertices[3 + i].normal = Vector3(0, 1, 0);
            mesh.vertices[6 + i].normal = Vector3(1, 0, 0);
        }
        return mesh;
    }
    static Matrix Lifted(float y) {
        Matrix m;
        m.CreateTranslate(0, y, 0);
        return m;
    }

    void TearDown() override {
        renderPaths = RenderPaths();
        GLTest::TearDown();
    }

    DisplayGuard display;
    DirectionalLight sun{Vector3(1, 1, 1), Vector3(0, -2, 0)};  // normalised by the mesh
};

TEST_F(MeshGL, DrawSendsEveryTriangleUnderTheWorldMatrix) {
    Mesh mesh = Floor();
    const std::vector<Polygon> drawn = Feedback([&] { mesh.Draw(Lifted(100)); });
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_NEAR(drawn[0][0].y, WindowY(100), 1e-3);
    Mesh empty;
    EXPECT_TRUE(Feedback([&] { empty.Draw(Lifted(100)); }).empty());
}

TEST_F(MeshGL, AShadowVolumeExtrudesTheTrianglesFacingAwayFromTheLightInTwoPasses) {
    Mesh mesh = Floor();
    const std::vector<Polygon> volume = Feedback([&] { mesh.DrawShadowVolume(Lifted(100)); });
    // Only the first triangle casts: three edge quads, once per pass, from
    // the mesh down 300 units along the light, sent in world space.
    EXPECT_FLOAT_EQ(QuadCount(volume), 6);
    for (const Polygon& p : volume) {
        for (const Vector3& corner : p) {
            EXPECT_TRUE(std::fabs(corner.y - WindowY(100)) < 1e-3 ||
                        std::fabs(corner.y - WindowY(-200)) < 1e-3)
                << corner.y;
        }
    }
    GLint value = 0;
    glGetIntegerv(GL_STENCIL_PASS_DEPTH_PASS, &value);
    EXPECT_EQ(value, GL_DECR) << "the second pass counts down";
    glGetIntegerv(GL_CULL_FACE_MODE, &value);
    EXPECT_EQ(value, GL_BACK);

    // Upside down, the second triangle faces away instead.
    Matrix upsideDown;
    upsideDown.CreateRotateX(PI);
    EXPECT_FLOAT_EQ(QuadCount(Feedback([&] { mesh.DrawShadowVolume(upsideDown); })), 6);

    // A fourth triangle that reaches a vertex added after the first shadow.
    mesh.vertices.push_back(Vertex(Vector3(0, 50, 0), Vector3(0, -1, 0), 0, 0));
    mesh.numVertices = 10;
    mesh.faces.insert(mesh.faces.end(), {0, 1, 9});
    mesh.numFaces = 4;
    EXPECT_FLOAT_EQ(QuadCount(Feedback([&] { mesh.DrawShadowVolume(Lifted(0)); })), 12);

    display->lights.count = 0;
    EXPECT_TRUE(Feedback([&] { mesh.DrawShadowVolume(Lifted(0)); }).empty()) << "no light";
}

TEST_F(MeshGL, TheFirstPassDrawsFrontFacesAndTheSecondBackFaces) {
    Mesh mesh = Floor();
    glEnable(GL_CULL_FACE);
    const std::vector<Polygon> volume = Feedback([&] { mesh.DrawShadowVolume(Lifted(0)); });
    // Seen along z every wall is either front or back facing, so each pass
    // keeps the walls the other one culls: three in all, clockwise (front)
    // ones first.
    EXPECT_FLOAT_EQ(QuadCount(volume), 3);
    bool secondPass = false;
    for (const Polygon& p : volume) {
        float area = 0;
        for (size_t i = 0; i < p.size(); ++i) {
            area += p[i].x * p[(i + 1) % p.size()].y - p[(i + 1) % p.size()].x * p[i].y;
        }
        if (area > 0) secondPass = true;
        EXPECT_EQ(area < 0, !secondPass) << "front faces all come first";
    }
    EXPECT_TRUE(secondPass);
}

}  // namespace
