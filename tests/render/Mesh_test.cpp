#include "render/Mesh.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/Display.h"
#include "render/Material.h"
#include "render/Mesh3DS.h"
#include "render/MeshDisc.h"
#include "render/MeshQuad.h"
#include "render/MeshSphere.h"
#include "render/RenderPaths.h"
#include "render/Texture.h"
#include "scene/DirectionalLight.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"
#include "support/Feedback.h"
#include "support/GLContext.h"
#include "support/Near.h"
#include "support/RenderFiles.h"
#include "support/ScratchDir.h"
#include "support/Screenshot.h"
#include "support/TraceCapture.h"

namespace {

Mesh MakeMesh(const std::vector<Vector3>& positions, const std::vector<int>& faces = {}) {
    Mesh mesh;
    mesh.Allocate(static_cast<int>(positions.size()), static_cast<int>(faces.size() / 3));
    for (size_t i = 0; i < positions.size(); ++i) mesh.vertices[i] = Vertex(positions[i], Vector3(), 0, 0);
    mesh.faces = faces;
    return mesh;
}

TEST(MeshNormals, SharedVerticesAverageUnitNormalsFlippingTurnsTheMeshAndMovingLeavesThemAlone) {
    // Folded at a right angle along the edge 0-1: one triangle in the floor,
    // one in a wall, the floor's four times the wall's area.
    Mesh mesh = MakeMesh({{0, 0, 0}, {1, 0, 0}, {0, 0, 4}, {0, 1, 0}}, {0, 2, 1, 0, 1, 3});
    mesh.RecalcNormals(false);
    const float h = std::sqrt(0.5f);
    EXPECT_TRUE(Near(mesh.vertices[2].normal, Vector3(0, 1, 0)) && Near(mesh.vertices[0].normal, Vector3(0, h, h)))
        << "unweighted by area";
    mesh.RecalcNormals(true);
    EXPECT_TRUE(mesh.faces == (std::vector<int>{1, 2, 0, 3, 1, 0}) && Near(mesh.vertices[2].normal, Vector3(0, -1, 0)));
    Mesh flat = MakeMesh({{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}, {0, 1, 2});
    flat.RecalcNormals(false);
    EXPECT_EQ(flat.vertices[0].normal, Vector3()) << "not NaN";
    Mesh cyl = MakeMesh({{3, 7, 4}, {0, -2, 0}});
    cyl.RecalcNormalsCyl();
    EXPECT_TRUE(Near(cyl.vertices[0].normal, Vector3(0.6f, 0, 0.8f)) && cyl.vertices[1].normal == Vector3())
        << "a vertex on the axis has none";
    Matrix move;
    move.CreateTranslate(10, 20, 30);
    cyl.Transform(move);
    EXPECT_TRUE(Near(cyl.vertices[0].pos, Vector3(13, 27, 34)) && Near(cyl.vertices[0].normal, Vector3(0.6f, 0, 0.8f)))
        << "normals turn but never move";
    Material material;  // textures are scaled, then offset
    material.scaleU = 3, material.scaleV = 2, material.offsetU = 0.25f, material.offsetV = 0.5f;
    cyl.vertices[0].u = cyl.vertices[0].v = 1;
    TraceCapture quiet;
    cyl.RescaleTexMap(&material);
    EXPECT_TRUE(cyl.vertices[0].u == 3.25f && cyl.vertices[0].v == 2.5f);
    cyl.RescaleTexMap(3, 1, 0, 0);  // a scale along u alone
    EXPECT_TRUE(cyl.vertices[0].u == 9.75f && cyl.vertices[0].v == 2.5f);
}

// Each mapping at a few vertices of the box (-2, 0, -1) .. (2, 4, 3).
TEST(MeshRemap, EachMapTypeSpansTheBoundingBoxAndOthersKeepTheCoordinates) {
    const struct {
        const char* type;
        Vector3 at;
        float u, v;
    } cases[] = {
        {"CYL", {0, 4, 3}, 0, 0.003f},  // behind the axis u starts over; v clamps
        {"CYL", {2, 2, 0}, 0.75f, 0.5f},          {"CYL", {0, 0, -1}, 0.5f, 0.997f},
        {"PLANARX", {-2, 0, -1}, 1, 1},           {"PLANARX", {0, 3, 2}, 0.25f, 0.25f},
        {"PLANARY", {-2, 0, -1}, 0.003f, 0.997f}, {"PLANARY", {0, 3, 2}, 0.5f, 0.25f},
        {"PLANARZ", {-2, 0, -1}, -1, 1},  // from -1 to 0
        {"PLANARZ", {1, 3, 0}, -0.25f, 0.25f},    {"NONE", {1, 1, 1}, 0.3f, 0.6f},
        {"cyl", {1, 1, 1}, 0.3f, 0.6f},
    };
    for (const auto& c : cases) {
        Mesh mesh = MakeMesh({{-2, 0, -1}, {2, 4, 3}, c.at});
        mesh.vertices[2].u = 0.3f, mesh.vertices[2].v = 0.6f;
        Material material;
        material.mapType = c.type;
        TraceCapture quiet;
        mesh.RemapCoords(&material);
        EXPECT_TRUE(std::fabs(mesh.vertices[2].u - c.u) < 1e-6f && std::fabs(mesh.vertices[2].v - c.v) < 1e-6f)
            << c.type << " at " << c.at << ": " << mesh.vertices[2].u << ", " << mesh.vertices[2].v;
    }
}

// A band across the back of a cylinder: vertices 0 and 5 lie just right of
// the wrap-around (u near 1), 1 and 2 just left of it (u near 0).
TEST(MeshRemap, ARepeatedCylinderSplitsTheTrianglesAcrossTheSeam) {
    for (const bool split : {true, false}) {
        Mesh band = MakeMesh({{0.5f, 0, 1}, {-0.5f, 0, 1}, {-0.5f, 1, 1}, {1, 0, 0}, {1, 1, 0},
                              {0.5f, 1, 1}, {-1, 0, 0}, {-1, 1, 0}},
                             {0, 1, 2, 3, 0, 4, 0, 2, 5, 1, 6, 7});
        Material material;
        material.mapType = "CYL", material.scaleU = 2, material.seamSplit = split, material.clampR = true;
        band.RemapCoords(&material);
        // Copies of 1 and 2, one whole turn further in u, replace them where
        // the seam is crossed; the texture has to repeat past u = 1.
        ASSERT_TRUE(material.clampR == !split && band.numVertices == (split ? 10 : 8));
        if (!split) continue;
        EXPECT_EQ(band.faces, (std::vector<int>{0, 8, 9, 3, 0, 4, 0, 9, 5, 1, 6, 7}));
        EXPECT_TRUE(band.vertices[9].pos == band.vertices[2].pos && band.vertices[9].u == band.vertices[2].u + 1);
    }
}

// Quads may come back whole or cut into triangles: count quads by area units.
float QuadCount(const std::vector<Polygon>& polygons) {
    float quads = 0;
    for (const Polygon& p : polygons) quads += (static_cast<float>(p.size()) - 2) / 2;
    return quads;
}

// World units map to the window 400 units each way from the origin, so that
// a 300-unit extrusion stays inside and nothing is clipped.
const float VIEW = 400;

class MeshGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        renderPaths = RenderPaths::Plain();  // the two stencil passes as designed
        display->lights.Add(&sun);
        glMatrixMode(GL_PROJECTION);
        glOrtho(-VIEW, VIEW, -VIEW, VIEW, -VIEW, VIEW);
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override {
        renderPaths = RenderPaths();
        GLTest::TearDown();
    }
    // Three triangles in the floor plane y = 0: the first has normals along
    // the light (down), the second against it, the third at a right angle.
    static Mesh Floor() {
        const std::vector<Vector3> corners = {{-50, 0, -20}, {0, 0, 40}, {60, 0, -10}};
        const Vector3 normals[3] = {{0, -1, 0}, {0, 1, 0}, {1, 0, 0}};
        std::vector<Vector3> positions;
        for (int t = 0; t < 3; ++t) positions.insert(positions.end(), corners.begin(), corners.end());
        Mesh mesh = MakeMesh(positions, {0, 1, 2, 3, 4, 5, 6, 7, 8});
        for (int i = 0; i < 9; ++i) mesh.vertices[i].normal = normals[i / 3];
        return mesh;
    }
    static float WindowY(float y) { return (y / VIEW + 1) * HEIGHT / 2; }
    DisplayGuard display;  // a fresh one: the sun is light 0
    // Not normalised: the mesh does that before extruding 300 units.
    DirectionalLight sun{Vector3(1, 1, 1), Vector3(0, -2, 0)};
};

TEST_F(MeshGL, TrianglesFacingAwayExtrudeAlongTheLightInTwoPassesAndTheCacheFollowsAGrowingVertexCount) {
    Mesh mesh = Floor();
    Matrix world, upsideDown;
    world.CreateTranslate(0, 100, 0);
    display->lights.count = 0;
    EXPECT_TRUE(Feedback([&] { mesh.DrawShadowVolume(world); }).empty()) << "no light casts nothing";
    display->lights.count = 1;
    const std::vector<Polygon> volume = Feedback([&] { mesh.DrawShadowVolume(world); });
    EXPECT_FLOAT_EQ(QuadCount(volume), 6) << "the first triangle's three edges, once per pass";
    for (const Polygon& p : volume)
        for (const Vector3& c : p) EXPECT_TRUE(std::fabs(c.y - WindowY(100)) < 1e-3 || std::fabs(c.y - WindowY(-200)) < 1e-3);
    upsideDown.CreateRotateX(3.14159265f);  // now the second triangle faces away
    EXPECT_FLOAT_EQ(QuadCount(Feedback([&] { mesh.DrawShadowVolume(upsideDown); })), 6);
    // Seen along z every wall is front or back facing: with clockwise front
    // faces (the game's) culled in turn, the walls that count up come first.
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    const std::vector<Polygon> culled = Feedback([&] { mesh.DrawShadowVolume(world); });
    EXPECT_FLOAT_EQ(QuadCount(culled), 3);
    bool secondPass = false;
    for (const Polygon& p : culled) {
        float area = 0;
        for (size_t i = 0; i < p.size(); ++i) {
            const Vector3& next = p[(i + 1) % p.size()];
            area += p[i].x * next.y - next.x * p[i].y;
        }
        if (area > 0) secondPass = true;
        EXPECT_EQ(area < 0, !secondPass) << "front faces all come first";
    }
    EXPECT_TRUE(secondPass);
    glDisable(GL_CULL_FACE);
    // A fourth triangle that reaches a vertex added after the first shadows.
    mesh.vertices.push_back(Vertex(Vector3(0, 50, 0), Vector3(0, -1, 0), 0, 0));
    mesh.faces.insert(mesh.faces.end(), {0, 1, 9});
    mesh.numVertices = 10, mesh.numFaces = 4;
    const std::vector<Polygon> grown = Feedback([&] { mesh.DrawShadowVolume(world); });
    EXPECT_FLOAT_EQ(QuadCount(grown), 12);
    bool extruded = false;  // the new vertex, 300 down from where it is
    for (const Polygon& p : grown)
        for (const Vector3& corner : p) extruded = extruded || std::fabs(corner.y - WindowY(150 - 300)) < 1e-3;
    EXPECT_TRUE(extruded);
}

// An export as the modelling tool writes it: a named object, the counts on
// the tri-mesh line, vertex and face lists full of words the reader skips.
const std::string TRIANGLE =
    "Ambient light color: Red=0.3 Green=0.3 Blue=0.3\n"
    "Named object: \"forearm\"\n"
    "Tri-mesh, Vertices: 3     Faces: 1\n"
    "Vertex list:\n"
    "Vertex 0:  X: 0.0     Y: 0.0     Z: 1.5\n"
    "Vertex 1:  X: 0.0     Y: 2.0     Z: 1.5\n"
    "Vertex 2:  X: 4.0     Y: 0.0     Z: 1.5\n"
    "Face list:\n"
    "Face 0:    A:0 B:1 C:2 AB:1 BC:1 CA:1\n"
    "Smoothing:  1\n";

using Mesh3DSTest = ScratchDirTest;

TEST_F(Mesh3DSTest, NormalsComeFromTheTrianglesAndFlippingTurnsBoth) {
    WriteFile("mesh.asc", TRIANGLE);
    TraceCapture trace;
    const Mesh3DS mesh("mesh.asc", false), flipped("mesh.asc", true);
    ASSERT_TRUE(mesh.numVertices == 3 && flipped.numVertices == 3);
    EXPECT_EQ(trace.str(), "") << "a clean export reads quietly";
    EXPECT_TRUE(mesh.vertices[0].normal == Vector3(0, 0, -1) && flipped.vertices[0].normal == Vector3(0, 0, 1) &&
                flipped.faces == (std::vector<int>{2, 1, 0}));
}

// Files that stray from the export, and what the reader makes of them.
TEST_F(Mesh3DSTest, ReadsWhatItCanOfFilesThatStrayFromTheExport) {
    const struct {
        std::string text;
        int vertices, faces;
        Vector3 second;           // vertex 1, or 0 where there is none
        std::vector<int> list;    // the faces read
        const char* trace;        // a line the reader says, or ""
    } files[] = {
        // "X:5" is one word and no label: the reader goes on to the next "X:".
        {"Vertices: 2 Faces: 0\nVertex 0: X:5 Y: 6 Z: 7\nVertex 1: X: 8 Y: 9 Z: 10\n"
         "X: 1 Y: 1 Z: 1\n",
         2, 0, {1, 1, -1}, {}, ""},
        // "A:" alone reads as 0; "AB:" and "CA:" are not face labels.
        {"Vertices: 3 Faces: 2\nX: 0 Y: 0 Z: 0  X: 1 Y: 0 Z: 0  X: 0 Y: 1 Z: 0\n"
         "Face 0: AB:1 A: B:2 C:1\nFace 1: A:2 BC:0 B:1 CA:2 C:+0\n",
         3, 2, {1, 0, 0}, {0, 2, 1, 2, 1, 0}, ""},
        // Cut short: what was never reached keeps its default, faces of no area.
        {"Vertices: 3 Faces: 2\nX: 1 Y: 2 Z: 3\nX: 4 Y: 5 Z:\n", 3, 2, {4, 5, 0},
         {0, 0, 0, 0, 0, 0}, "mesh.asc: vertex 1 of 3 is incomplete"},
        {"Vertices: 2 Faces: 1\nX: 1 Y: oops Z: 3\nX: 4 Y: 5 Z: 6\nA:0 B:1 C:1\n", 2, 1,
         {0, 0, 0}, {0, 0, 0}, "expected a number, found 'oops'"},
        // Faces that point outside the vertex list are dropped.
        {"Vertices: 3 Faces: 4\nX: 0 Y: 0 Z: 0  X: 1 Y: 0 Z: 0  X: 0 Y: 1 Z: 0\n"
         "Face 0: A:0 B:1 C:3\nFace 1: A:0 B:1 C:2\nFace 2: A:-1 B:1 C:2\n"
         "Face 3: A:2 B:99999999999999999999 C:0\n",
         3, 1, {1, 0, 0}, {0, 1, 2}, "mesh.asc:3: face 0 refers to vertex 3"},
        // Counts that cannot be: nothing is read.
        {"Vertices: 3 Faces: -3\n", 0, 0, {}, {}, "the mesh stays empty"},
        {"Vertices: 99999999999999999999 Faces: 1\n", 0, 0, {}, {}, "the mesh stays empty"},
        {"", 0, 0, {}, {}, "'mesh.asc' is an empty 3D ASCII file"},
        // Only the first object is read; z is negated.
        {std::string(TRIANGLE).replace(0, 7, std::string(100000, 'x')) + "Named object: \"hand\"\n"
         "Tri-mesh, Vertices: 4 Faces: 2\n", 3, 1, {0, 2, -1.5f}, {0, 1, 2}, ""},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.text.substr(0, 60));
        WriteFile("mesh.asc", f.text);
        TraceCapture trace;
        const Mesh3DS mesh("mesh.asc", false);
        EXPECT_TRUE(mesh.numVertices == f.vertices && mesh.numFaces == f.faces && mesh.faces == f.list);
        if (f.vertices > 1) { EXPECT_EQ(mesh.vertices[1].pos, f.second); }
        EXPECT_TRUE(trace.Has(f.trace)) << trace.str();
    }
    TraceCapture quiet;
    EXPECT_EQ(Mesh3DS("nothere.asc", false).numVertices, 0);
}

const Vector3 X(1, 0, 0);
const Vector3 Y(0, 1, 0);
const Vector3 Z(0, 0, 1);

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
        ASSERT_TRUE(mesh->numVertices == shape.vertices && mesh->numFaces == shape.faces &&
                    mesh->vertices.size() == static_cast<size_t>(shape.vertices) &&
                    mesh->faces.size() == static_cast<size_t>(shape.faces) * 3);
        for (int index : mesh->faces) EXPECT_TRUE(index >= 0 && index < shape.vertices) << index;
        for (const auto& [i, p] : shape.positions) EXPECT_TRUE(Near(mesh->vertices[i].pos, p)) << i;
        for (const auto& [f, corners] : shape.triangles) {
            const auto first = mesh->faces.begin() + 3 * f;
            EXPECT_EQ(std::vector<int>(first, first + 3), corners) << f;
        }
    }
}

const char* const COLOURS = " 0.1 0.2 0.3\ndiff 0.4 0.5 0.6\nemis 0.7 0.8 0.9\nspec 1 0.5 0.25\nshine 12\n";

// A long-form file: image word, scale, offsets, mapping, wrap flags, colours, tail.
std::string LongForm(const std::string& image, const std::string& flags = "true false",
                     const std::string& tail = "", const std::string& ambi = "ambi") {
    return image + "\n2 3\n0.25 0.5 PLANARY " + flags + "\n" + ambi + COLOURS + tail;
}
std::string ShortForm(const std::string& image, const std::string& tail = "") {
    return image + "\n2 3\nambi" + COLOURS + tail;
}

void WriteImage(const std::string& name) {
    WriteBmp("images/" + name, 2, 2, 24, std::vector<std::uint8_t>(12, 200));
}

Material Read(const std::string& text) {
    WriteFile("materials/m.mat", text);
    return Material("materials/m.mat");
}

class MaterialTest : public ::testing::Test {
protected:
    RenderScratch scratch;
};

TEST_F(MaterialTest, TheShortFormMapsAroundACylinderAndTheLongFormSaysHow) {
    WriteImage("a.bmp");
    const Material s = Read(ShortForm("a.bmp"));
    EXPECT_TRUE(s.mapType == "CYL" && s.clampR && s.seamSplit && !s.clampS && s.emission == Vector3(0.7f, 0.8f, 0.9f));
    const Material l = Read(LongForm("-"));
    EXPECT_TRUE(l.offsetV == 0.5f && l.mapType == "PLANARY" && !l.textured);
    EXPECT_TRUE(Read("- 4 5 0.5").clampR) << "a file cut short keeps the defaults after it";
}

TEST_F(MaterialTest, EachClauseIsReadAsTheWordsBeforeItAllow) {
    const struct {
        std::string text;
        bool clampS;
        float alpha;
        int blendType;
        bool keyed;
    } cases[] = {
        {LongForm("-", "1 true"), true, 1, 0, false},
        {LongForm("-", "TRUE yes"), false, 1, 0, false},  // only "true" or 1 sets a flag
        {LongForm("-", "0 0", "alpha 0.5 type SRCALPHA colorkey 0"), false, 0.5f, 2, true},
        {LongForm("-", "0 0", "alpha 0.75 type SRCCOLOR colorkey -1"), false, 0.75f, 3, false},
        {LongForm("-", "0 0", "alpha 0.75 type ADD"), false, 0.75f, 0, false},
        // Short form: no blend word, so the colour key follows the value at once.
        {ShortForm("-", "alpha 0.25 colorkey 3"), false, 0.25f, 0, true},
        // The word after the shininess is taken as the alpha clause's place.
        {ShortForm("-", "colorkey 3"), false, 1, 0, false},
        {ShortForm("-", "beta colorkey 3"), false, 1, 0, true},
        // A wrong word before the colours is said and read on.
        {LongForm("-", "0 0", "alpha 0.5 type ONE", "amb"), false, 0.5f, 1, false},
    };
    for (const auto& c : cases) {
        TraceCapture trace;
        const Material m = Read(c.text);
        EXPECT_TRUE(m.clampS == c.clampS && m.alpha == c.alpha && m.blendType == c.blendType &&
                    m.colorKeyed == c.keyed && m.specular == Vector3(1, 0.5f, 0.25f)) << c.text;
        EXPECT_EQ(trace.Has("materials/m.mat:4: expected 'ambi'"), c.text.find("amb ") != std::string::npos);
    }
    EXPECT_EXIT(Material("materials/none.mat"), ::testing::ExitedWithCode(255),
                "materials/none.mat: cannot be opened\n");
    EXPECT_EXIT(Read(LongForm("-", "0 0", "alpha 0.5\nSRCALPHA")), ::testing::ExitedWithCode(255),
                "materials/m.mat:10: expected 'type' after the alpha value, found 'SRCALPHA'\n");
}

TEST_F(MaterialTest, ImagesAreSharedByPathPrefixedAndListedAndWhatIsNoPictureIsNotKept) {
    WriteImage("a.bmp");
    WriteImage("sky.bmp");
    const struct {
        std::string image;
        bool mipmap, bump, water;
        int frames;
    } cases[] = {
        {"a.bmp", false, false, false, 1},
        {"MIPMAP 64 64 a.bmp", true, false, false, 1},
        {"BUMP a.bmp", false, true, false, 1},
        {"WATER a.bmp sky.bmp", false, false, true, 1},
        {"WATER a.bmp nosky.bmp", false, false, false, 1},  // without its reflection: plain
        {"junk.bmp", false, false, false, 0},
        {"missing.bmp", false, false, false, 0},
    };
    WriteFile("images/junk.bmp", "junk");
    for (const auto& c : cases) {
        const Material m = Read(LongForm(c.image));
        EXPECT_TRUE(m.mipmap == c.mipmap && m.bump == c.bump && (m.water && m.reflectionTexture) == c.water) << c.image;
        ASSERT_EQ(m.frames.count, c.frames) << c.image;
        if (c.frames > 0) { EXPECT_STREQ(m.frames[0]->name, "images/a.bmp") << c.image; }
    }
    EXPECT_EQ(scratch.display->textures.count, 2) << "a.bmp and sky.bmp, each once";
    WriteFile("images/list.bml", "3\nf0.bmp a.bmp\nsky.bmp");
    EXPECT_EQ(Read(ShortForm("list.bml")).frames.count, 2) << "the frames that load";
    for (const int listed : {15, 16}) {  // 15 are kept, and only a longer list is said
        std::string list = std::to_string(listed);
        for (int i = 0; i < listed; ++i) list += " a.bmp";
        WriteFile("images/list.bml", list);
        TraceCapture trace;
        EXPECT_EQ(Read(ShortForm("list.bml")).frames.count, 15);
        EXPECT_EQ(trace.Has("list.bml:1: expected at most 15 frames"), listed > 15) << listed;
    }
    const std::string kept(Texture::MAX_PATH - 7, 'i');
    WriteImage(kept);
    const Material cut = Read(ShortForm(kept + std::string(300, 'x')));
    EXPECT_TRUE(cut.frames[0]->name == "images/" + kept && cut.scaleU == 2)
        << "an overlong word is cut to the path, and the rest skipped, not read as numbers";
}

class MaterialGLTest : public GLTest {
protected:
    static GLuint Bound() {
        GLint id = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
        return static_cast<GLuint>(id);
    }
    RenderScratch scratch;
    ClockGuard clock;
};

TEST_F(MaterialGLTest, AnimatedFramesFollowTheGameClock) {
    for (int i = 0; i < 3; ++i) WriteImage("f" + std::to_string(i) + ".bmp");
    WriteFile("images/junk.bmp", "no picture");
    WriteFile("images/four.bml", "4 f0.bmp f1.bmp f2.bmp junk.bmp");  // the last leaves a gap
    clock.At(1000);
    Material m = Read(ShortForm("four.bml"));
    const GLuint ids[3] = {m.frames[0]->TexID(), m.frames[1]->TexID(), m.frames[2]->TexID()};
    // The frame in use is bound; the change shows at the next use. The
    // fourth frame did not load: the first stands in for it.
    const struct {
        int time, bound;
    } uses[] = {{1000, 0}, {1061, 0}, {1061, 1}, {1122, 1}, {1122, 2}, {1183, 2}, {1183, 0}, {1500, 0}, {1500, 0}};
    for (const auto& use : uses) {
        clock.At(use.time);
        m.current(true);
        EXPECT_EQ(Bound(), ids[use.bound]) << "at " << use.time;
    }
}

TEST_F(MaterialGLTest, EachPassBindsItsTextureAndBlending) {
    WriteBmp("images/h.bmp", 2, 2, 8, {0, 64, 128, 255});
    WriteImage("sky.bmp");
    Material m = Read(LongForm("WATER h.bmp sky.bmp", "false true", "alpha 0.5 type SRCALPHA"));
    GLint value = 0;
    m.current(true);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && glIsEnabled(GL_BLEND) && value == GL_CLAMP);
    const struct {
        std::function<void()> pass;
        GLuint bound;
    } passes[] = {{[&] { m.currentBumpMode(1); }, m.frames[0]->TexIDPositive()},
                  {[&] { m.currentBumpMode(2); }, m.frames[0]->TexIDNegative()},
                  {[&] { m.currentWaterMode(1); }, m.reflectionTexture->TexID()},
                  {[&] { m.currentShadowMode(2); }, m.frames[0]->TexID()}};
    for (const auto& p : passes) EXPECT_EQ((p.pass(), Bound()), p.bound);
    m.currentWaterMode(3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "the dark overlay is untextured";
    scratch.display->currentMaterial = nullptr;
    m.current(false);
    m.currentShadowMode(3);
    EXPECT_EQ(scratch.display->currentMaterial, nullptr) << "off, or an unknown pass, does nothing";
}

TEST_F(MaterialGLTest, ATexturedQuadShowsTheImageTheRightWayUp) {
    // 8x8 in four 4x4 quadrants, the picture's top row first: blue, green / red, white.
    const std::uint8_t quadrant[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pixels.insert(pixels.end(), quadrant[(y / 4) * 2 + x / 4], quadrant[(y / 4) * 2 + x / 4] + 3);
    WriteBmp("images/q.bmp", 8, 8, 24, pixels);
    // Only the emission lights it, so the texture comes through unchanged.
    Material m = Read("q.bmp 1 1 ambi 0 0 0 diff 0 0 0 emis 1 1 1 spec 0 0 0 shine 0");
    glEnable(GL_LIGHTING);
    m.current(true);
    glBegin(GL_QUADS);  // v = 0 is the top of the picture
    const float corners[4][4] = {{0, 1, -1, -1}, {1, 1, 1, -1}, {1, 0, 1, 1}, {0, 0, -1, 1}};
    for (const auto& c : corners) glTexCoord2f(c[0], c[1]), glVertex2f(c[2], c[3]);
    glEnd();
    EXPECT_TRUE(ReadPixel(16, 48).r == 255 && ReadPixel(48, 48).g == 255 && ReadPixel(16, 16).b == 255 &&
                ReadPixel(48, 16).Sum() == 3 * 255);
}

// Colour of pixel (x, y) of a loaded 24-bit surface as 0xRRGGBB.
std::uint32_t Colour(const SDL_Surface* s, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + 3 * x;
    return p[2] << 16 | p[1] << 8 | p[0];
}

using TextureTest = MaterialTest;

TEST_F(TextureTest, LoadsBmpFilesOfEveryDepthAsGreyOrBgr24) {
    WriteBmp("images/24.bmp", 2, 1, 24, {1, 2, 3, 4, 5, 6});
    WriteBmp("images/32.bmp", 2, 1, 32, {0x30, 0x20, 0x10, 0xFF, 0x60, 0x50, 0x40, 0xFF});  // BGRA
    // 4-bit: SDL widens it to 8 bits of palette indices, which are not grey levels.
    WriteBmp("images/4.bmp", 2, 1, 4, {0x10}, {0x112233, 0xAABBCC});
    const struct {
        const char* path;
        std::uint32_t first, second;
    } images[] = {{"images/24.bmp", 0x030201, 0x060504},
                  {"images/32.bmp", 0x102030, 0x405060},
                  {"images/4.bmp", 0xAABBCC, 0x112233}};
    for (const auto& image : images) {
        Texture texture;
        ASSERT_TRUE(texture.Load(image.path) && texture.surface->format->BitsPerPixel == 24) << image.path;
        EXPECT_TRUE(Colour(texture.surface, 0, 0) == image.first && Colour(texture.surface, 1, 0) == image.second)
            << image.path;
    }
}

// A 54-byte header and no pixels: 800 x 9, a bit count of 38424 and
// bit-field compression. SDL's loader accepts it and hands back a surface
// whose format does not describe its (absent) pixels.
std::string CraftedHeader() {
    std::string bytes = "BM";
    auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
    };
    put(54, 4), put(0, 4), put(54, 4), put(40, 4), put(800, 4), put(9, 4), put(1, 2);
    put(38424, 2), put(3, 4);
    return bytes + std::string(20, '\0');
}

TEST_F(TextureTest, MissingFilesPicturesThatAreNotCraftedHeadersAndOverlongPathsAreRefused) {
    WriteFile("images/text.bmp", "not a picture");
    WriteFile("images/crafted.bmp", CraftedHeader());
    const std::string tooLong = "images/" + std::string(200, 'p') + ".bmp";
    WriteBmp(tooLong, 1, 1, 24, {0, 0, 0});
    TraceCapture trace;
    for (const std::string& path : {std::string("images/none.bmp"), std::string("images/text.bmp"),
                                    std::string("images/crafted.bmp"), tooLong}) {
        Texture texture;
        EXPECT_FALSE(texture.Load(path.c_str()) || texture.LoadMipMap(path.c_str(), 0, 0) || texture.surface) << path;
    }
    const std::string longest = "images/" + std::string(Texture::MAX_PATH - 11, 'q') + ".bmp";
    WriteBmp(longest, 1, 1, 24, {0, 0, 0});
    Texture texture;
    EXPECT_TRUE(texture.Load(longest.c_str()));
}

using TextureGLTest = MaterialGLTest;

TEST_F(TextureGLTest, GreyImagesBecomeLuminanceAndColourOnesBgrOnceEachWhateverTheCallersPixelStore) {
    // Width 3: the loader pads every row to four bytes, which GL must not see.
    WriteBmp("images/grey.bmp", 3, 2, 8, {0, 100, 255, 10, 20, 30});
    WriteBmp("images/colour.bmp", 3, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    Texture grey, colour;
    ASSERT_TRUE(grey.Load("images/grey.bmp") && colour.Load("images/colour.bmp"));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const GLuint id = grey.TexID();
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_TRUE(grey.TexID() == id && alignment == 8) << "one GL object, made once; the caller's pixel store given back";
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const struct {
        GLuint id;
        GLenum format;
        bool luminance;
        std::vector<std::uint8_t> pixels;
    } textures[] = {{id, GL_LUMINANCE, true, {0, 100, 255, 10, 20, 30}},
                    {colour.TexID(), GL_BGR, false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19}}};
    for (const auto& t : textures) {
        glBindTexture(GL_TEXTURE_2D, t.id);
        std::vector<std::uint8_t> read(t.pixels.size());
        glGetTexImage(GL_TEXTURE_2D, 0, t.format, GL_UNSIGNED_BYTE, read.data());
        GLint luminance = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_LUMINANCE_SIZE, &luminance);
        EXPECT_TRUE(read == t.pixels && (luminance > 0) == t.luminance) << t.luminance;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

TEST_F(TextureGLTest, HeightTexturesAddUpToThreeQuarters) {
    // Two rows of three: the second starts at the loader's padded pitch.
    WriteBmp("images/h.bmp", 3, 2, 8, {0, 255, 128, 64, 255, 0});
    Texture texture;
    ASSERT_TRUE(texture.Load("images/h.bmp"));
    const GLuint positive = texture.TexIDPositive(), negative = texture.TexIDNegative();
    EXPECT_TRUE(texture.TexIDPositive() == positive && positive != negative);
    const float heights[6] = {0, 0.74707031f, 0.375f, 0.1875f, 0.74707031f, 0};
    for (const GLuint id : {positive, negative}) {
        float read[6];
        glBindTexture(GL_TEXTURE_2D, id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_FLOAT, read);
        for (int i = 0; i < 6; ++i) {  // within one step of an 8-bit component
            EXPECT_NEAR(read[i], id == positive ? heights[i] : 0.75f - heights[i], 1.0f / 255) << i;
        }
    }
}

}  // namespace
