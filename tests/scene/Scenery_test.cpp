// The scenery records of scene.sdf: statics, flats, the arena floor, the sun
// with its lens flare, and the water.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/Arena.h"
#include "scene/Flat.h"
#include "scene/Static.h"
#include "scene/Sun.h"
#include "scene/Water.h"
#include "support/ClockGuard.h"
#include "support/GLContext.h"
#include "support/Near.h"
#include "support/SceneryFiles.h"
#include "support/Screenshot.h"
#include "support/TraceCapture.h"

namespace {

class SceneryTest : public ::testing::Test {
protected:
    SceneryScratch scratch;
};

TEST_F(SceneryTest, OnlyMinusOneTurnsAMeshInsideOut) {
    for (const int flip : {-1, 0, 1, -2}) {
        Record record("grid.asc " + std::to_string(flip) + " stone.mat 0 0 0");
        const Static s(*record, SCENE_DIR);
        const Flat f(*Record("grid.asc " + std::to_string(flip) + " stone.mat 0 0 0"), SCENE_DIR);
        for (const Mesh* m : {s.mesh, s.shadowMesh, f.mesh}) {
            EXPECT_NEAR(m->vertices[4].normal.y, flip == -1 ? -1 : 1, 1e-5) << flip;
        }
    }
}

TEST_F(SceneryTest, ACutRecordIsSaidWhereAndKeepsWhatItRead) {
    const struct {
        const char* text;
        bool mesh, material;
        const char* trace;
    } cases[] = {
        {"", false, false, "expected a mesh file name, found the end of the file"},
        {"grid.asc zero stone.mat 1 2 3", true, false, "expected a whole number, found 'zero'"},
        {"grid.asc 0", true, false, "expected a material file name, found the end of the file"},
        {"grid.asc 0 stone.mat 1 2", true, true, "expected a number, found the end of the file"},
    };
    for (const auto& c : cases) {
        TraceCapture trace;
        Record record(c.text);
        Static s(*record, SCENE_DIR);
        s.Update();
        EXPECT_TRUE((s.mesh != nullptr) == c.mesh && (s.material != nullptr) == c.material && s.position == Vector3());
        EXPECT_TRUE(trace.Has(std::string("scene.sdf:1: ") + c.trace + "; the scenery record is incomplete\n"))
            << c.text << "\n" << trace.str();
    }
    Record missing("nothere.asc 0 stone.mat 1 2 3");
    const Static s(*missing, SCENE_DIR);
    EXPECT_TRUE(s.mesh->numVertices == 0 && s.position == Vector3(1, 2, 3)) << "a missing mesh file leaves empty meshes";
}

TEST_F(SceneryTest, AFlatFacesTheCameraFromItsPointOrItsOffset) {
    // Off to one side and above: no axis of the world faces it.
    Camera camera(Vector3(100, 50, -80), Vector3(10, 0, 5), Vector3(0, 1, 0), 0);
    System::instance()->display->camera = &camera;
    const Vector3 forward = (camera.at - camera.from).Normalized(), p(30, 4, -12);
    // The second square lies 20 units along -z from the point it marks: nearer the camera.
    for (const float offset : {0.0f, -20.0f}) {
        Flat flat(Vector3(0, 0, offset), 10, nullptr);
        flat.SetPosition(p);
        flat.Update();
        EXPECT_TRUE(Near(flat.world * Vector3(0, 0, offset), p + forward * offset, 1e-3f) &&
                    Near((flat.world ^ Vector3(0, 0, 1)).Normalized(), forward, 1e-3f));
        EXPECT_GT((flat.world ^ Vector3(0, 1, 0)).y, 0) << "its up edge points up on the screen";
        EXPECT_NEAR((flat.world ^ Vector3(1, 0, 0)).Length(), 1, 1e-4f) << "turned, never stretched";
    }
    System::instance()->display->camera = nullptr;
    Flat still(Vector3(), 10, nullptr);
    still.Update();
    EXPECT_EQ(still.world ^ Vector3(0, 0, 1), Vector3(0, 0, 1)) << "no camera: its own orientation";
}

// How far it sinks is the scene's test; here, where it starts and what it casts.
TEST_F(SceneryTest, TheArenaIsPlacedAtOnceAndCastsNoShadow) {
    Record record("grid.asc 0 stone.mat 5 -2 7");
    Arena arena(*record, SCENE_DIR);
    shadowctr = 3;
    arena.DrawShadow();
    EXPECT_TRUE(arena.world * Vector3() == Vector3(5, -2, 7) && shadowctr == 3) << "placed before any update; "
                                                                                  "no shadow matrix used up";
    shadowctr = 0;
}

class SceneryGL : public GLTest {
protected:
    SceneryScratch scratch;
};

TEST_F(SceneryGL, TheArenaDrawsTheFloorInItsMaterial) {
    Camera camera(Vector3(0, 200, 0), Vector3(0, 0, 0), Vector3(0, 0, 1), 0);
    System::instance()->display->SetCamera(&camera);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    Record record("grid.asc 0 stone.mat 0 0 0");
    Arena arena(*record, SCENE_DIR);
    arena.raised = false;
    arena.Update();
    arena.Draw();
    SaveShot("scenery_arena");
    for (const int x : {5, 32, 60}) EXPECT_TRUE(ReadPixel(x, 32).r == 255 && ReadPixel(x, 32).Sum() == 255) << x;
    System::instance()->display->camera = nullptr;
}

using SunTest = SceneryTest;

// A sun whose own mesh does not exist: it draws nothing but its flare.
std::unique_ptr<Sun> NewSun(const std::string& flare, const Vector3& at = Vector3()) {
    SceneryScratch::Write("materials/flare.mat", FlatMaterial("-", {1, 1, 1}));
    SceneryScratch::Write("materials/halo.mat", FlatMaterial("-", {0, 1, 0}));
    SceneryScratch::Write("lensflare.txt", flare);
    Record record("nosun.asc 0 stone.mat " + std::to_string(at.x) + ' ' + std::to_string(at.y) +
                  ' ' + std::to_string(at.z));
    return std::make_unique<Sun>(*record, SCENE_DIR);
}

// lensflare.txt and what the sun keeps of it: whatever is kept can be drawn.
TEST_F(SunTest, ReadsFlareMaterialsAndFlaresAndKeepsOnlyWhatItCanDraw) {
    const struct {
        const char* text;
        int materials, flares;
        const char* trace;
    } cases[] = {
        {"2\nflare.mat halo.mat\n3\n0 10 -1\n1 20 0\n2 5 1\n", 2, 3,
         "error in lensflare file: material # must be between 0 and 1"},
        {"0 2 0 10 0 0 10 1", 0, 0, "expected a flare material to draw the flares with, found none"},
        {"-2 flare.mat 1 0 10 0", 0, 0, "expected a number of flare materials, found -2"},
        {"1 flare.mat -4 0 10 0", 1, 0, "expected a number of flares, found -4"},
        {"1 flare.mat 2 0 10 0 0 5", 1, 1, "expected a number, found the end of the file; flare #1"},
        {"1 flare.mat 2 0 big 0 0 5 1", 1, 0, "expected a number, found 'big'"},
        {"", 0, 0, "expected a whole number, found the end of the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TraceCapture trace;
        const std::unique_ptr<Sun> sun = NewSun(c.text);
        EXPECT_TRUE(sun->flareMaterials.count == c.materials && sun->flares.count == c.flares);
        EXPECT_TRUE(trace.Has(c.trace)) << trace.str();
        for (const FlareQuad& quad : sun->Flare(320, 240, 640, 480)) {
            EXPECT_TRUE(quad.material >= 0 && quad.material < sun->flareMaterials.count);
        }
    }
    const std::unique_ptr<Sun> sun = NewSun("2\nflare.mat halo.mat\n3\n0 10 -1\n1 20 0\n2 5 1\n");
    EXPECT_EQ(sun->flares[2].material, 0) << "an index out of range falls back to the first";
}

TEST_F(SunTest, FlaresLieOnTheLineFromTheSunThroughTheCentreAndFadeOffTheScreen) {
    // One flare at each line position: the sun, the centre, the mirror image, half way.
    const std::unique_ptr<Sun> sun = NewSun("1 flare.mat 4 0 10 -1 0 20 0 0 30 1 0 40 0.5");
    const int W = 640, H = 480;
    // The quads' frame has y upward; the sun's screen position has it downward.
    const std::vector<FlareQuad> quads = sun->Flare(100, 60, W, H);
    ASSERT_EQ(quads.size(), 4u);
    const float expected[4][2] = {{100, H - 60}, {W / 2, H / 2}, {W - 100, 60}, {430, 150}};
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(quads[i].x == expected[i][0] && quads[i].y == expected[i][1]) << i;
    // The strength fades over the last two hundred pixels of a 400-pixel
    // margin; the nearer border counts; beyond it there is no flare.
    const struct {
        float x, y, strength;
    } fades[] = {{W / 2, H / 2, 0.35f},     {W + 100, H / 2, 0.35f},       {W + 300, H / 2, 0.175f},
                 {W + 400, H / 2, 0},       {W + 450, H / 2, -1},          {-300, H / 2, 0.175f},
                 {W / 2, H + 350, 0.0875f}, {W / 2, -250, 0.35f * 0.75f}, {-350, H + 300, 0.0875f},
                 {W / 2, -401, -1},         {-401, H / 2, -1}};
    for (const auto& f : fades) {
        const std::vector<FlareQuad> q = sun->Flare(f.x, f.y, W, H);
        EXPECT_FLOAT_EQ(q.empty() ? -1.0f : q[0].strength, f.strength) << f.x << "," << f.y;
    }
}

TEST_F(SunTest, TurnsToFaceTheCamera) {
    Camera camera(Vector3(100, 50, -80), Vector3(10, 0, 5), Vector3(0, 1, 0), 0);
    System::instance()->display->camera = &camera;
    const std::unique_ptr<Sun> sun = NewSun("", Vector3(-200, 300, 400));
    sun->Update();
    const Vector3 forward = (camera.at - camera.from).Normalized();
    EXPECT_TRUE(Near(sun->world ^ Vector3(0, 0, 1), forward) &&
                Near(sun->world ^ Vector3(1, 0, 0), camera.up.Cross(forward).Normalized()));
    EXPECT_TRUE(Near(sun->world * Vector3(), Vector3(-200, 300, 400))) << "and stays where it is";
    System::instance()->display->camera = nullptr;
}

TEST_F(SceneryGL, TheSunsFlareIsDrawnBeforeTheCameraOnly) {
    Camera camera(Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0);
    System::instance()->display->SetCamera(&camera);
    glEnable(GL_CULL_FACE);  // the game's face culling: the quads must face the viewer
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    // One white quad 16 pixels wide at the screen centre.
    const std::unique_ptr<Sun> sun = NewSun("1 flare.mat 1 0 8 0", Vector3(0, 0, 500));
    sun->Update();
    sun->Draw();
    SaveShot("sun_flare");
    EXPECT_NEAR(ReadPixel(32, 32).r, static_cast<int>(0.35f * 255), 1);
    EXPECT_NEAR(ReadPixel(26, 37).g, static_cast<int>(0.35f * 255), 1);
    EXPECT_EQ(ReadPixel(20, 32).r, 0) << "outside the quad";
    // Behind the camera, on the view axis, the sun still projects onto the
    // screen centre: only its being behind takes the flare away.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sun->SetPosition(Vector3(0, 0, -900));
    sun->Update();
    sun->Draw();
    EXPECT_EQ(ReadPixel(32, 32).r, 0);
    System::instance()->display->camera = nullptr;
}

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
