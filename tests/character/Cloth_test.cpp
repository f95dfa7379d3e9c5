#include "character/Cloth.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "character/ClothPony.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "math/Ptr.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/RenderFiles.h"
#include "support/GLContext.h"
#include "support/Screenshot.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float eps = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

// Rows side by side along x, each running down from y = 0 in steps of 5.
Mesh Rows(const std::vector<int>& counts, const std::vector<int>& faces = {}) {
    std::vector<Vector3> positions;
    for (size_t r = 0; r < counts.size(); ++r) {
        for (int j = 0; j < counts[r]; ++j) positions.emplace_back(10.0f * r, -5.0f * j, 0);
    }
    Mesh mesh;
    mesh.Allocate(static_cast<int>(positions.size()), static_cast<int>(faces.size() / 3));
    for (size_t i = 0; i < positions.size(); ++i) {
        mesh.vertices[i] = Vertex(positions[i], Vector3(0, 0, 1), 0, 0);
    }
    mesh.faces = faces;
    return mesh;
}

// Each test chooses the frame time and clock mode the links read; the clock
// is put back after.
class ClothTest : public ::testing::Test {
protected:
    void SetUp() override {
        clock = System::instance()->clock;
        savedDelta = clock->delta;
        savedMode = clock->mode;
        clock->delta = 50;
        clock->mode = 1;
    }
    void TearDown() override {
        clock->delta = savedDelta;
        clock->mode = savedMode;
    }

    Clock* clock = nullptr;
    int savedDelta = 0;
    int savedMode = 1;
    Ptr<Object> bone = new Object();  // the cloth hangs from it; tests move it through world
};

TEST_F(ClothTest, ARowOfFourVerticesIsAChainOfThreeLinks) {
    TraceCapture trace;
    Mesh mesh = Rows({4});
    const float loose[3] = {0.5f, 0.5f, 0.5f};
    const float* flex[1] = {loose};
    const int counts[1] = {4};
    Ptr<Cloth> cloth = new Cloth(bone, 1, counts, flex, &mesh, nullptr, 4);
    ASSERT_EQ(cloth->links.count, 3);
    EXPECT_TRUE(cloth->links[0]->isRoot);
    EXPECT_FALSE(cloth->links[1]->isRoot);
    EXPECT_EQ(static_cast<Object*>(cloth->links[0]->parent), bone);
    EXPECT_EQ(static_cast<Object*>(cloth->links[2]->parent), cloth->links[1]);
    EXPECT_NE(trace.str().find("C bone rows: >>>4\n"), std::string::npos) << trace.str();
    EXPECT_NE(trace.str().find("isroot: true\nisroot: false\n"), std::string::npos);

    bone->world.CreateTranslate(3, 50, 0);
    for (int step = 0; step < 3; ++step) {
        cloth->Update();
        ExpectNear(mesh.vertices[0].pos, Vector3(3, 50, 0));  // where the bone carries it
        for (int j = 0; j < 3; ++j) {
            EXPECT_NEAR((mesh.vertices[j + 1].pos - mesh.vertices[j].pos).Length(), 5, 1e-4);
        }
        for (int j = 0; j < 4; ++j) EXPECT_EQ(mesh.vertices[4 + j].pos, mesh.vertices[j].pos);
    }
}

TEST_F(ClothTest, TheMeshIsDoubledWithTheTwinsWoundBackwards) {
    // Two rows of two: one quad of two triangles.
    Mesh mesh = Rows({2, 2}, {0, 2, 1, 1, 2, 3});
    const float rigid[1] = {0};
    const float* flex[2] = {rigid, rigid};
    const int counts[2] = {2, 2};
    Ptr<Cloth> cloth = new Cloth(bone, 2, counts, flex, &mesh, nullptr, 2);
    EXPECT_EQ(mesh.numVertices, 8);
    EXPECT_EQ(mesh.numFaces, 4);
    ASSERT_EQ(mesh.vertices.size(), 8u);
    EXPECT_EQ(mesh.faces, (std::vector<int>{0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(mesh.vertices[4 + i].pos, mesh.vertices[i].pos);
        EXPECT_EQ(mesh.vertices[4 + i].u, mesh.vertices[i].u);
    }
    EXPECT_EQ(cloth->mesh, &mesh);
    EXPECT_EQ(cloth->shadowMesh, &mesh);
}

TEST_F(ClothTest, TextureCoordinatesRunAcrossAndAlongTheRows) {
    // Rows of 2, 1 and 3 vertices; the single one reads no flexibility.
    Mesh mesh = Rows({2, 1, 3});
    const float row0[1] = {0.5f};
    const float row2[2] = {0.5f, 0.5f};
    const float* flex[3] = {row0, nullptr, row2};
    const int counts[3] = {2, 1, 3};
    Ptr<Cloth> cloth = new Cloth(bone, 3, counts, flex, &mesh, nullptr, 3);
    ASSERT_EQ(cloth->links.count, 4);
    EXPECT_TRUE(cloth->links[1]->single);
    EXPECT_TRUE(cloth->links[1]->rigid);
    const float e = 2.001f;  // rows - 0.999
    const float f = 2.001f;  // longest row - 0.999
    const float expected[6][2] = {{0, 0},     {0, 1 / f},     {1 / e, 0},
                                  {2 / e, 0}, {2 / e, 1 / f}, {2 / e, 2 / f}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(mesh.vertices[i].u, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(mesh.vertices[i].v, expected[i][1]) << i;
    }

    // Every vertex is placed: the single one where the bone carries it.
    bone->world.CreateTranslate(0, 0, 7);
    cloth->Update();
    ExpectNear(mesh.vertices[2].pos, Vector3(10, 0, 7));
    ExpectNear(mesh.vertices[3].pos, Vector3(20, 0, 7));
    for (const int j : {0, 3, 4}) {
        EXPECT_NEAR((mesh.vertices[j + 1].pos - mesh.vertices[j].pos).Length(), 5, 1e-4) << j;
    }
}

TEST_F(ClothTest, LinksWithFlexibilityZeroStayRigidlyAttached) {
    Mesh mesh = Rows({3});
    const float rigid[2] = {0, 0};
    const float* flex[1] = {rigid};
    const int counts[1] = {3};
    const std::vector<Vector3> rest = {mesh.vertices[0].pos, mesh.vertices[1].pos,
                                       mesh.vertices[2].pos};
    Ptr<Cloth> cloth = new Cloth(bone, 1, counts, flex, &mesh, nullptr, 3);
    Matrix turn;
    turn.CreateRotateY(1.2f);
    Matrix move;
    move.CreateTranslate(4, 30, -2);
    bone->world = move * turn;
    cloth->Update();
    for (int j = 0; j < 3; ++j) ExpectNear(mesh.vertices[j].pos, bone->world * rest[j]);
    EXPECT_TRUE(cloth->links[0]->rigid);
}

TEST_F(ClothTest, AnyOtherFlexibilityBehavesAsATenth) {
    Mesh a = Rows({3});
    Mesh b = Rows({3});
    const float half[2] = {0.5f, 0.5f};
    const float most[2] = {0.9f, 0.9f};
    const float* flexA[1] = {half};
    const float* flexB[1] = {most};
    const int counts[1] = {3};
    Ptr<Cloth> clothA = new Cloth(bone, 1, counts, flexA, &a, nullptr, 3);
    Ptr<Cloth> clothB = new Cloth(bone, 1, counts, flexB, &b, nullptr, 3);
    Matrix turn;
    turn.CreateRotateZ(0.7f);
    bone->world = turn;
    for (int step = 0; step < 4; ++step) {
        clothA->Update();
        clothB->Update();
    }
    EXPECT_FLOAT_EQ(clothA->links[1]->flex, 0.1f);
    for (int j = 0; j < 3; ++j) ExpectNear(a.vertices[j].pos, b.vertices[j].pos, 1e-6f);
    // A loose link lags behind the bone: it is not where a rigid one would be.
    EXPECT_GT((a.vertices[2].pos - bone->world * Vector3(0, -10, 0)).Length(), 0.1f);
}

TEST_F(ClothTest, ALooseLinkNeverPassesBehindTheSurface) {
    // A loose link hanging down from the bone, which then moves sideways:
    // the link trails towards -x.
    for (const float side : {1.0f, -1.0f}) {
        Ptr<ClothPony> link = new ClothPony(bone, {0, 0, 0}, {0, -10, 0}, true, false, 0.5f);
        bone->world.CreateTranslate(10, 0, 0);
        link->normal = Vector3(side, 0, 0);
        link->Update();
        const Vector3 place(10, -10, 0);
        if (side > 0) {
            ExpectNear(link->tip, place);  // it would have gone behind: it stays in place
        } else {
            EXPECT_LT(link->tip.x, 9.9f) << "in front of the surface it trails";
        }
        bone->world.CreateIdentity();
    }
}

TEST_F(ClothTest, NothingMovesWhileTheClockIsFrozen) {
    Mesh mesh = Rows({3});
    const float rigid[2] = {0, 0};
    const float* flex[1] = {rigid};
    const int counts[1] = {3};
    Ptr<Cloth> cloth = new Cloth(bone, 1, counts, flex, &mesh, nullptr, 3);
    clock->mode = 0;
    bone->world.CreateTranslate(0, 40, 0);
    cloth->Update();
    EXPECT_EQ(mesh.vertices[2].pos, Vector3(0, -10, 0));
}

TEST_F(ClothTest, RowsClaimingMoreVerticesThanTheMeshHasAreCut) {
    TraceCapture trace;
    Mesh mesh = Rows({6});
    const std::vector<float> five(5, 0.5f);  // all that a row of six can read
    const float* flex[3] = {five.data(), five.data(), five.data()};
    const int counts[3] = {1000000, 4, -3};
    Ptr<Cloth> cloth = new Cloth(bone, 3, counts, flex, &mesh, nullptr, 1000000);
    EXPECT_EQ(cloth->links.count, 5);
    EXPECT_NE(trace.str().find("cloth row 0 claims 1000000 vertices; the mesh has 6 left"),
              std::string::npos)
        << trace.str();
    EXPECT_NE(trace.str().find("cloth row 1 claims 4 vertices; the mesh has 0 left"),
              std::string::npos);
    EXPECT_EQ(mesh.numVertices, 12);
    cloth->Update();
    EXPECT_EQ(mesh.vertices.size(), 12u);
    EXPECT_EQ(mesh.vertices[11].pos, mesh.vertices[5].pos);

    // Without a mesh there is nothing to hang.
    cloth = new Cloth(bone, 3, counts, flex, nullptr, nullptr, 4);
    EXPECT_EQ(cloth->links.count, 0);
    cloth->Update();
}

TEST_F(ClothTest, AClothFreesItsLinks) {
    Mesh mesh = Rows({3, 3});
    const float loose[2] = {0.5f, 0.5f};
    const float* flex[2] = {loose, loose};
    const int counts[2] = {3, 3};
    Ptr<Cloth> cloth = new Cloth(bone, 2, counts, flex, &mesh, nullptr, 3);
    EXPECT_EQ(bone->references, 4);  // the test, the cloth and the first link of each row
    cloth = nullptr;
    EXPECT_EQ(bone->references, 1);
}

// ---------------------------------------------------------------- drawing

// The 64-pixel window shows 32 units each way from the origin.
class ClothGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        System* system = System::instance();
        if (system->display == nullptr) system->display = new Display();
        display = system->display;
        registered = display->materials.count;
        glViewport(0, 0, WIDTH, HEIGHT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-32, 32, -32, 32, -32, 32);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
    }
    void TearDown() override {
        if (display == nullptr) return;
        display->materials.count = registered;
        display->materials.cursor = registered;
        display->currentMaterial = nullptr;
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    std::vector<std::uint8_t> Pixels() const {
        std::vector<std::uint8_t> rgb(WIDTH * HEIGHT * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }

    Display* display = nullptr;
    int registered = 0;
};

TEST_F(ClothGL, ACurtainDrawsFromBothSides) {
    // Two rows of two: a 40-unit square curtain around the origin.
    Mesh mesh;
    mesh.Allocate(4, 2);
    mesh.vertices[0] = Vertex({-20, 20, 0}, {0, 0, 1}, 0, 0);
    mesh.vertices[1] = Vertex({-20, -20, 0}, {0, 0, 1}, 0, 0);
    mesh.vertices[2] = Vertex({20, 20, 0}, {0, 0, 1}, 0, 0);
    mesh.vertices[3] = Vertex({20, -20, 0}, {0, 0, 1}, 0, 0);
    mesh.faces = {0, 2, 1, 1, 2, 3};
    Material red;
    red.emission = Vector3(1, 0, 0);  // lit by nothing but itself
    const float rigid[1] = {0};
    const float* flex[2] = {rigid, rigid};
    const int counts[2] = {2, 2};
    Ptr<Object> hanger = new Object();
    Ptr<Cloth> cloth = new Cloth(hanger, 2, counts, flex, &mesh, &red, 2);
    EXPECT_EQ(display->materials[display->materials.count - 1], &red);
    cloth->Update();

    glEnable(GL_CULL_FACE);
    for (const GLenum culled : {GL_BACK, GL_FRONT}) {
        glCullFace(culled);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        cloth->Draw();
        const std::vector<std::uint8_t> rgb = Pixels();
        SaveShot(culled == GL_BACK ? "cloth-front" : "cloth-back", WIDTH, HEIGHT);
        auto at = [&rgb](int x, int y) { return &rgb[(static_cast<size_t>(y) * WIDTH + x) * 3]; };
        EXPECT_EQ(at(32, 32)[0], 255) << "the middle of the curtain, culling " << culled;
        EXPECT_EQ(at(32, 32)[1], 0);
        EXPECT_EQ(at(2, 2)[0], 0) << "outside it";
        EXPECT_EQ(display->currentMaterial, &red);
    }
}

}  // namespace
