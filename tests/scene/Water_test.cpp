#include "scene/Water.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/SceneryFiles.h"
#include "support/GLContext.h"

namespace {

// The still surface: only the phases of the waves count at time 0.
const double LEVEL_AT_START = 1.0 * std::sin(0.1) * std::sin(0.2) +
                              3.0 * std::sin(0.7) * std::sin(0.9) - 28.0;

// A water material with a blue sky and a green surface.
void WriteWaterFiles() {
    WriteSolidBmp("sea.bmp", 0, 255, 0);
    WriteSolidBmp("sky.bmp", 0, 0, 255);
    SceneryScratch::Write("materials/water.mat", FlatMaterial("WATER sea.bmp sky.bmp"));
}

class WaterTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteWaterFiles();
        clock = System::instance()->clock;
        savedTime = clock->time;
        clock->time = 0;
        System::instance()->display->camera = &camera;
    }
    void TearDown() override { clock->time = savedTime; }

    SceneryScratch scratch;
    Clock* clock = nullptr;
    int savedTime = 0;
    // High above the middle vertex, looking straight down.
    Camera camera{Vector3(0, 200, 0), Vector3(0, 0, 0), Vector3(0, 0, 1), 0};
};

TEST_F(WaterTest, SurfaceIsFlatAtTimeZero) {
    Record record("grid.asc 0 water.mat 0 0 0");
    Water water(*record, SCENE_DIR);
    EXPECT_TRUE(water.reflectU.empty()) << "made by the first update";
    water.Update();
    ASSERT_EQ(water.mesh->numVertices, 9);
    EXPECT_NEAR(LEVEL_AT_START, -26.466, 1e-3);
    for (int i = 0; i < 9; ++i) {
        const Vertex& v = water.mesh->vertices[i];
        EXPECT_NEAR(v.pos.y, LEVEL_AT_START, 1e-4) << i;
        EXPECT_EQ(v.pos.x, -500.0f + 500 * (i % 3)) << "x and z never change";
        EXPECT_EQ(v.pos.z, -500.0f + 500 * (i / 3));
        EXPECT_NEAR(v.normal.y, 1, 1e-6) << "normals follow the surface";
    }
    EXPECT_EQ(water.reflectU.size(), 9u);
    EXPECT_EQ(water.refractV.size(), 9u);
}

TEST_F(WaterTest, WavesGrowWithTimeButSpareTheOrigin) {
    Record record("grid.asc 0 water.mat 0 0 0");
    Water water(*record, SCENE_DIR);
    for (const int t : {1000, 54321, 2000000}) {
        clock->time = t;
        water.Update();
        EXPECT_NEAR(water.mesh->vertices[4].pos.y, LEVEL_AT_START, 1e-4) << t;
    }
    clock->time = 10000;
    water.Update();
    // The corner at x = 500, z = 500 after 10 s: 0.0001 · 500 · 10000 = 500.
    const double expected = 2.0 * std::sin(0.1 * 500) * std::sin(0.12 * 500) +
                            1.0 * std::sin(0.15 * 500 + 0.1) * std::sin(0.08 * 500 + 0.2) +
                            3.0 * std::sin(0.13 * 500 + 0.7) * std::sin(0.04 * 500 + 0.9) - 28.0;
    EXPECT_NEAR(water.mesh->vertices[8].pos.y, expected, 1e-3);
    EXPECT_GT(std::fabs(expected - LEVEL_AT_START), 0.5);
}

TEST_F(WaterTest, RaysFromTheCameraGiveTheCoordinates) {
    Record record("grid.asc 0 water.mat 0 0 0");
    Water water(*record, SCENE_DIR);
    water.Update();
    // Straight down onto the middle vertex: reflected straight up, and
    // carried on straight down, so both land above and below it.
    EXPECT_NEAR(water.reflectU[4], 0.5, 1e-6);
    EXPECT_NEAR(water.reflectV[4], 0.5, 1e-6);
    EXPECT_NEAR(water.refractU[4], 0, 1e-6);
    EXPECT_NEAR(water.refractV[4], 0, 1e-6);
    EXPECT_NEAR(water.material->alpha, 0.6, 1e-6) << "most opaque looking straight down";

    // A vertex off to the side: the reflected ray climbs to the sky plane
    // 300 units up and keeps going away from the camera.
    const Vector3 p = water.mesh->vertices[5].pos;  // x = 500, z = 0
    const Vector3 d = (p - camera.from).Normalized();
    const float s = (300 - p.y) / -d.y;
    EXPECT_NEAR(water.reflectU[5], (p.x + s * d.x) * 0.3 / 600 + 0.5, 1e-5);
    EXPECT_GT(water.reflectU[5], water.reflectU[4]);
    EXPECT_GT(water.refractU[5], p.x * 10 / 600) << "bent rays still run on outwards";

    // Level with the surface the view skims it: no ray meets either plane
    // sooner, the sky coordinates come from the vertex itself.
    camera.SetFrom(Vector3(-1000, p.y, 0));
    camera.SetAt(Vector3(0, p.y, 0));
    water.Update();
    for (int i = 0; i < 9; ++i) {
        const Vector3& v = water.mesh->vertices[i].pos;
        EXPECT_FLOAT_EQ(water.reflectU[i], v.x * 0.3f / 600 + 0.5f) << i;
        EXPECT_FLOAT_EQ(water.reflectV[i], v.z * 0.3f / 600 + 0.5f) << i;
        EXPECT_TRUE(std::isfinite(water.refractU[i]));
    }
    EXPECT_NEAR(water.material->alpha, 0.3, 1e-6);
}

TEST_F(WaterTest, WithoutACameraOnlyTheWavesMove) {
    System::instance()->display->camera = nullptr;
    Record record("grid.asc 0 water.mat 0 0 0");
    Water water(*record, SCENE_DIR);
    const float alpha = water.material->alpha;
    clock->time = 10000;
    water.Update();
    EXPECT_GT(std::fabs(water.mesh->vertices[8].pos.y - LEVEL_AT_START), 0.5);
    ASSERT_EQ(water.reflectU.size(), 9u);
    EXPECT_EQ(water.reflectU[8], 0);
    EXPECT_EQ(water.material->alpha, alpha);
}

TEST_F(WaterTest, AnEmptyMeshComputesNothing) {
    Record record("nothere.asc 0 water.mat 0 0 0");
    Water water(*record, SCENE_DIR);
    water.Update();
    EXPECT_TRUE(water.reflectU.empty());
    water.Draw();  // nothing to draw before the surface has coordinates
    water.DrawAmbient();

    Record cut("");
    Water none(*cut, SCENE_DIR);
    none.Update();
    none.Draw();
    EXPECT_EQ(none.mesh, nullptr);
}

class WaterGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        scratch.emplace();
        WriteWaterFiles();
        clock = System::instance()->clock;
        savedTime = clock->time;
        clock->time = 0;
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
        glClearStencil(0);
        glStencilMask(0xFF);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        System::instance()->display->SetCamera(&camera);
    }
    void TearDown() override {
        if (!scratch) return;
        clock->time = savedTime;
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glDisable(GL_STENCIL_TEST);
        glDepthFunc(GL_LESS);
        glStencilMask(0xFF);
        glStencilFunc(GL_ALWAYS, 0, 0xFF);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        scratch.reset();
    }

    static void ExpectPixel(int x, int y, int r, int g, int b) {
        const Pixel p = ReadPixel(x, y);
        EXPECT_NEAR(p.r, r, 2) << x << "," << y;
        EXPECT_NEAR(p.g, g, 2) << x << "," << y;
        EXPECT_NEAR(p.b, b, 2) << x << "," << y;
    }

    std::optional<SceneryScratch> scratch;
    Clock* clock = nullptr;
    int savedTime = 0;
    Camera camera{Vector3(0, 200, 0), Vector3(0, 0, 0), Vector3(0, 0, 1), 0};
};

TEST_F(WaterGL, PlanarDrawBlendsTheSurfaceOverTheSky) {
    Record record("grid.asc 0 water.mat 0 0 0");
    Water water(*record, SCENE_DIR);
    water.Update();

    // Into an empty frame the sky finds no surface depth to match: only the
    // green surface shows, 60 % over the black clear colour.
    water.Draw();
    ExpectPixel(32, 32, 0, 153, 0);
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LESS) << "the depth test is given back";

    // Over its own depth the opaque blue sky is laid first.
    water.Draw();
    SaveShot("scenery_water", WIDTH, HEIGHT);
    ExpectPixel(32, 32, 0, 153, 102);
    ExpectPixel(3, 60, 0, 153, 102);
}

TEST_F(WaterGL, StencilPassesClearTheSurfaceAndDarkenTheShadow) {
    Record record("grid.asc 0 water.mat 0 0 0");
    Water water(*record, SCENE_DIR);
    water.Update();
    glEnable(GL_STENCIL_TEST);
    water.DrawAmbient();
    water.DrawAmbient();
    EXPECT_NEAR(water.material->alpha, 0.5, 1e-6);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    GLint mask = -1;
    glGetIntegerv(GL_STENCIL_WRITEMASK, &mask);
    EXPECT_EQ(mask, 0);
    ExpectPixel(16, 32, 0, 128, 128);

    // The left half of the window lies in shadow.
    glStencilMask(0xFF);
    glClearStencil(1);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, WIDTH / 2, HEIGHT);
    glClear(GL_STENCIL_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearStencil(0);
    glDepthFunc(GL_EQUAL);
    water.DrawNonAmbient();
    SaveShot("scenery_water_shadow", WIDTH, HEIGHT);
    ExpectPixel(16, 32, 0, 115, 115);
    ExpectPixel(48, 32, 0, 128, 128);
    GLint func = 0;
    glGetIntegerv(GL_STENCIL_FUNC, &func);
    EXPECT_EQ(func, GL_NOTEQUAL);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST)) << "the light pass after it is not held back";
}

}  // namespace
