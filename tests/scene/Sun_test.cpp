#include "scene/Sun.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "math/Camera.h"
#include "support/GLContext.h"
#include "support/Near.h"
#include "support/SceneryFiles.h"
#include "support/Screenshot.h"
#include "support/TraceCapture.h"

namespace {

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
TEST(Sun, ReadsFlareMaterialsAndFlaresAndKeepsOnlyWhatItCanDraw) {
    SceneryScratch scratch;
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

TEST(Sun, FlaresLieOnTheLineFromTheSunThroughTheCentreAndFadeOffTheScreen) {
    SceneryScratch scratch;
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

TEST(Sun, TurnsToFaceTheCamera) {
    SceneryScratch scratch;
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

using SunGL = GLTest;

TEST_F(SunGL, TheFlareIsDrawnBeforeTheCameraOnly) {
    SceneryScratch scratch;
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

}  // namespace
