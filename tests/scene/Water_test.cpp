#include "scene/Water.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "support/ClockGuard.h"
#include "support/GLContext.h"
#include "support/SceneryFiles.h"
#include "support/Screenshot.h"

namespace {

// A water material: a green surface under a blue sky.
struct WaterFiles {
    WaterFiles() {
        WriteSolidBmp("sea.bmp", 0, 255, 0);
        WriteSolidBmp("sky.bmp", 0, 0, 255);
        SceneryScratch::Write("materials/water.mat", FlatMaterial("WATER sea.bmp sky.bmp"));
    }
    SceneryScratch scratch;
};

// The water at game time 0, seen from high above the middle vertex, looking
// straight down.
class WaterScene {
public:
    WaterScene() {
        System::instance()->display->camera = &camera;
        clock.At(0);
    }

    WaterFiles files;
    ClockGuard clock;
    Camera camera{Vector3(0, 200, 0), Vector3(0, 0, 0), Vector3(0, 0, 1), 0};
    Record record{"grid.asc 0 water.mat 0 0 0"};
    Water water{*record, SCENE_DIR};
};

class WaterTest : public ::testing::Test {
protected:
    WaterScene scene;
    Water& water = scene.water;
    const std::vector<Vertex>& vertices = water.mesh->vertices;
};

TEST_F(WaterTest, TheSurfaceIsLevelAtFirstAndTheWavesGrowWithTimeButSpareTheOrigin) {
    water.Update();
    const float level = vertices[4].pos.y;
    EXPECT_NEAR(level, -26.466, 1e-3);
    for (int i = 0; i < 9; ++i) {  // x and z never change; normals follow the surface
        EXPECT_TRUE(std::fabs(vertices[i].pos.y - level) < 1e-4f && vertices[i].pos.x == -500.0f + 500 * (i % 3) &&
                    std::fabs(vertices[i].normal.y - 1) < 1e-6f) << i;
    }
    for (const int t : {10000, 2000000}) {
        scene.clock.At(t);
        water.Update();
        EXPECT_NEAR(vertices[4].pos.y, level, 1e-4) << t;
        EXPECT_GT(std::fabs(vertices[8].pos.y - level), 0.5) << t;
    }
}

TEST_F(WaterTest, RaysFromTheCameraGiveTheSkyAndSurfaceCoordinates) {
    water.Update();
    // Straight down onto the middle vertex: reflected straight up, carried on straight down.
    EXPECT_TRUE(std::fabs(water.reflectU[4] - 0.5f) < 1e-6f && std::fabs(water.refractU[4]) < 1e-6f);
    EXPECT_NEAR(water.material->alpha, 0.6, 1e-6) << "most opaque looking straight down";
    // Off to the side the reflected ray climbs to the sky plane, away from the camera.
    const Vector3 p = vertices[5].pos;  // x = 500, z = 0
    EXPECT_GT(water.reflectU[5], p.x * 0.3 / 600 + 0.5);
    EXPECT_GT(water.refractU[5], p.x * 10 / 600) << "bent rays still run on outwards";
    // Level with the surface no ray meets either plane: the vertex itself gives them.
    scene.camera.SetFrom(Vector3(-1000, p.y, 0));
    scene.camera.SetAt(Vector3(0, p.y, 0));
    water.Update();
    EXPECT_FLOAT_EQ(water.reflectV[8], vertices[8].pos.z * 0.3f / 600 + 0.5f);
    EXPECT_TRUE(std::isfinite(water.refractU[8]) && std::fabs(water.material->alpha - 0.3f) < 1e-6f);
}

TEST(Water, AnEmptyOrMissingMeshComputesAndDrawsNothing) {
    WaterFiles files;
    for (const char* text : {"nothere.asc 0 water.mat 0 0 0", ""}) {
        Record record(text);
        Water water(*record, SCENE_DIR);
        water.Update(), water.Draw(), water.DrawAmbient();
        EXPECT_TRUE(water.reflectU.empty()) << text;
    }
}

class WaterGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        System::instance()->display->SetCamera(&scene.camera);
        scene.water.Update();
    }
    static void ExpectPixel(int x, int y, int r, int g, int b) {
        const Pixel p = ReadPixel(x, y);
        EXPECT_TRUE(std::abs(p.r - r) <= 2 && std::abs(p.g - g) <= 2 && std::abs(p.b - b) <= 2)
            << x << "," << y << ": " << p.r << " " << p.g << " " << p.b;
    }
    WaterScene scene;
};

TEST_F(WaterGL, ThePlanarDrawBlendsTheSurfaceOverTheSky) {
    // Into an empty frame the sky finds no surface depth to match: only the
    // green surface shows, 60 % over the black clear colour. Over its own
    // depth the opaque blue sky is laid first.
    scene.water.Draw();
    ExpectPixel(32, 32, 0, 153, 0);
    scene.water.Draw();
    SaveShot("scenery_water");
    ExpectPixel(32, 32, 0, 153, 102);
    ExpectPixel(3, 60, 0, 153, 102);
}

TEST_F(WaterGL, TheStencilPassesClearTheSurfaceAndDarkenItsShadow) {
    glEnable(GL_STENCIL_TEST);
    scene.water.DrawAmbient();
    scene.water.DrawAmbient();
    EXPECT_NEAR(scene.water.material->alpha, 0.5, 1e-6);
    ExpectPixel(16, 32, 0, 128, 128);
    // The left half of the window lies in shadow.
    glStencilMask(0xFF);
    glClearStencil(1);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, WIDTH / 2, HEIGHT);
    glClear(GL_STENCIL_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glDepthFunc(GL_EQUAL);
    scene.water.DrawNonAmbient();
    SaveShot("scenery_water_shadow");
    ExpectPixel(16, 32, 0, 115, 115);
    ExpectPixel(48, 32, 0, 128, 128);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST)) << "the light pass after it is not held back";
}

}  // namespace
