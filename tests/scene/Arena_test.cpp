#include "scene/Arena.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/Display.h"
#include "core/System.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/SceneryFiles.h"
#include "support/GLContext.h"

namespace {

class ArenaTest : public ::testing::Test {
protected:
    SceneryScratch scratch;
};

TEST_F(ArenaTest, SinksWhileTheSceneDrawsPlanarShadows) {
    TraceCapture trace;
    Record record("grid.asc 0 stone.mat 5 -2 7");
    Arena arena(*record, SCENE_DIR);
    EXPECT_NE(trace.str().find("\nCreated ARENA\n"), std::string::npos) << trace.str();
    EXPECT_TRUE(arena.raised);
    ASSERT_NE(arena.material, nullptr);
    EXPECT_EQ(arena.mesh->numVertices, 9);

    const Vector3 origin;
    EXPECT_EQ(arena.world * origin, Vector3(5, -2, 7)) << "placed before any update";
    arena.raised = false;
    arena.Update();
    EXPECT_EQ(arena.world * origin, Vector3(5, -3.5f, 7));
    arena.raised = true;
    arena.Update();
    EXPECT_EQ(arena.world * origin, Vector3(5, -2, 7));

    // The floor follows its position at every update.
    arena.SetPosition(Vector3(0, 10, 0));
    arena.raised = false;
    arena.Update();
    EXPECT_EQ(arena.world * origin, Vector3(0, 8.5f, 0));
}

TEST_F(ArenaTest, CastsNoPlanarShadow) {
    Record record("grid.asc 0 stone.mat 0 0 0");
    Arena arena(*record, SCENE_DIR);
    shadowctr = 3;
    arena.DrawShadow();
    EXPECT_EQ(shadowctr, 3) << "no shadow matrix is used up";
    shadowctr = 0;
}

class ArenaGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        scratch.emplace();
        glViewport(0, 0, WIDTH, HEIGHT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glDepthMask(GL_TRUE);
        glDisable(GL_CULL_FACE);
        glDisable(GL_FOG);
        glDisable(GL_STENCIL_TEST);
        glEnable(GL_LIGHTING);
        // Whatever lights earlier tests left on: the emission alone shows the colours.
        for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        System::instance()->display->SetCamera(&camera);
    }
    void TearDown() override {
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        scratch.reset();
    }

    std::optional<SceneryScratch> scratch;
    // Above the floor, looking straight down.
    Camera camera{Vector3(0, 200, 0), Vector3(0, 0, 0), Vector3(0, 0, 1), 0};
};

TEST_F(ArenaGL, DrawsTheFloorInItsMaterial) {
    Record record("grid.asc 0 stone.mat 0 0 0");
    Arena arena(*record, SCENE_DIR);
    arena.raised = false;
    arena.Update();
    arena.Draw();
    SaveShot("scenery_arena", WIDTH, HEIGHT);
    for (const int x : {5, 32, 60}) {
        const Pixel p = ReadPixel(x, 32);
        EXPECT_EQ(p.r, 255) << x;
        EXPECT_EQ(p.g, 0) << x;
        EXPECT_EQ(p.b, 0) << x;
    }
}

}  // namespace
