#include "scene/Sun.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "math/Camera.h"
#include "render/Material.h"
#include "support/GLContext.h"
#include "support/Near.h"
#include "support/SceneryFiles.h"
#include "support/Screenshot.h"
#include "support/TraceCapture.h"

namespace {

// The test scene's folder with two flare materials. The sun's own mesh is
// a file that does not exist: it stays empty and draws nothing, so that only
// the flare is seen.
class SunFiles {
public:
    SunFiles() {
        SceneryScratch::Write("materials/flare.mat", FlatMaterial("-", {1, 1, 1}));
        SceneryScratch::Write("materials/halo.mat", FlatMaterial("-", {0, 1, 0}));
    }
    static Sun* NewSun(const std::string& flare, const Vector3& at = Vector3()) {
        if (!flare.empty()) SceneryScratch::Write("lensflare.txt", flare);
        Record record("nosun.asc 0 stone.mat " + std::to_string(at.x) + ' ' +
                      std::to_string(at.y) + ' ' + std::to_string(at.z));
        return new Sun(*record, SCENE_DIR);
    }

private:
    SceneryScratch scratch;
};

class SunTest : public ::testing::Test {
protected:
    SunFiles files;
};

TEST_F(SunTest, ReadsFlareMaterialsAndFlaresInFileOrderAndStaysWithoutThem) {
    const std::unique_ptr<Sun> bare(SunFiles::NewSun(""));
    EXPECT_EQ(bare->numFlares, 0) << "no lensflare.txt";
    EXPECT_TRUE(bare->Flare(320, 240, 640, 480).empty());

    TraceCapture trace;
    const std::unique_ptr<Sun> sun(SunFiles::NewSun("2\nflare.mat halo.mat\n4\n0 10 -1\n1 20 0\n"
                                                    "0 5 1\n2 5 0\n",
                                                    Vector3(1, 2, 3)));
    EXPECT_EQ(sun->position, Vector3(1, 2, 3));
    ASSERT_EQ(sun->flareMaterials.count, 2);
    EXPECT_EQ(sun->flareMaterials[0]->fileName, "scenes/test/materials/flare.mat");
    EXPECT_EQ(sun->flareMaterials[1]->emission, Vector3(0, 1, 0));
    ASSERT_EQ(sun->flares.count, 4);
    EXPECT_EQ(sun->flares[1].material, 1);
    EXPECT_EQ(sun->flares[1].halfSize, 20);
    EXPECT_EQ(sun->flares[2].linePos, 1);
    EXPECT_EQ(sun->flares[3].material, 0) << "an index out of range falls back to the first";
    EXPECT_TRUE(trace.Has("error in lensflare file: material # must be between 0 and 1\n"));
}

// A broken lensflare.txt and what the sun keeps of it; whatever is kept can
// be drawn: every flare names a material that exists.
TEST_F(SunTest, ABrokenFlareFileKeepsOnlyWhatItCanDraw) {
    const struct {
        const char* text;
        int materials, flares;
        const char* trace;
    } cases[] = {
        {"0 2 0 10 0 0 10 1", 0, 0, "2 flares but no flare material"},
        {"-2 flare.mat 1 0 10 0", 0, 0, "the number of flare materials is -2"},
        {"1 flare.mat -4 0 10 0", 1, 0, "the number of flares is -4"},
        {"1 flare.mat 2 0 10 0 0 5", 1, 1, "expected a number, found the end of the file; flare #1"},
        {"1 flare.mat 2 0 big 0 0 5 1", 1, 0, "expected a number, found 'big'"},
        {"", 0, 0, "expected a whole number, found the end of the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile(SCENE_DIR + "lensflare.txt", c.text);
        TraceCapture trace;
        const std::unique_ptr<Sun> sun(SunFiles::NewSun(""));
        EXPECT_EQ(sun->flareMaterials.count, c.materials);
        EXPECT_EQ(sun->flares.count, c.flares);
        EXPECT_TRUE(trace.Has(c.trace)) << trace.str();
        for (const FlareQuad& quad : sun->Flare(320, 240, 640, 480)) {
            EXPECT_TRUE(quad.material >= 0 && quad.material < sun->flareMaterials.count);
        }
    }
}

TEST_F(SunTest, FlaresLieOnTheLineFromTheSunThroughTheCentreAndFadeOffTheScreen) {
    // One flare at each line position: the sun, the centre, the mirror image, half way.
    const std::unique_ptr<Sun> sun(SunFiles::NewSun("1 flare.mat 4 0 10 -1 0 20 0 0 30 1 0 40 0.5"));
    const int W = 640, H = 480;
    // The quads' frame has y upward; the sun's screen position has it downward.
    const std::vector<FlareQuad> quads = sun->Flare(100, 60, W, H);
    ASSERT_EQ(quads.size(), 4u);
    const float expected[4][2] = {{100, H - 60}, {W / 2, H / 2}, {W - 100, 60},
                                  {(W / 2 + W - 100) / 2.0f, (H / 2 + 60) / 2.0f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(quads[i].x, expected[i][0]) << i;
        EXPECT_EQ(quads[i].y, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(quads[i].strength, 0.35f) << "well inside the screen";
    }
    // The strength fades over the last two hundred pixels of a 400-pixel
    // margin; the nearer border counts; beyond it there is no flare.
    const struct {
        float x, y, strength;
    } fades[] = {{W + 100, H / 2, 0.35f},       {W + 300, H / 2, 0.175f},
                 {W + 400, H / 2, 0},           {W + 450, H / 2, -1},
                 {-300, H / 2, 0.175f},         {W / 2, H + 350, 0.35f * 0.25f},
                 {W / 2, -250, 0.35f * 0.75f},  {-350, H + 300, 0.35f * 0.25f},
                 {W / 2, -401, -1},             {-401, H / 2, -1}};
    for (const auto& f : fades) {
        const std::vector<FlareQuad> q = sun->Flare(f.x, f.y, W, H);
        EXPECT_FLOAT_EQ(q.empty() ? -1.0f : q[0].strength, f.strength) << f.x << "," << f.y;
    }
}

TEST_F(SunTest, TheSunTurnsToFaceTheCameraAndIsInFrontOfItOnlyAhead) {
    Camera camera(Vector3(100, 50, -80), Vector3(10, 0, 5), Vector3(0, 1, 0), 0);
    System::instance()->display->camera = &camera;
    const std::unique_ptr<Sun> sun(SunFiles::NewSun("", Vector3(-200, 300, 400)));
    sun->Update();
    const Vector3 forward = (camera.at - camera.from).Normalized();
    EXPECT_TRUE(Near(sun->world ^ Vector3(0, 0, 1), forward));
    EXPECT_TRUE(Near(sun->world ^ Vector3(1, 0, 0), camera.up.Cross(forward).Normalized()));
    EXPECT_TRUE(Near(sun->world * Vector3(), Vector3(-200, 300, 400))) << "and stays where it is";
    System::instance()->display->camera = nullptr;

    const Camera looking(Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0);
    EXPECT_TRUE(std::unique_ptr<Sun>(SunFiles::NewSun("", {50, 400, 1000}))->InFrontOf(looking));
    EXPECT_FALSE(std::unique_ptr<Sun>(SunFiles::NewSun("", {50, 400, -1000}))->InFrontOf(looking));
}

class SunGL : public GLTest {
protected:
    SunFiles files;
    Camera camera{Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0};
};

TEST_F(SunGL, TheFlareIsDrawnBeforeTheCameraOnly) {
    System::instance()->display->SetCamera(&camera);
    // The game's face culling: the quads must face the viewer.
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    // One white quad 16 pixels wide at the screen centre.
    const std::unique_ptr<Sun> sun(SunFiles::NewSun("1 flare.mat 1 0 8 0", Vector3(0, 0, 500)));
    sun->Update();
    sun->Draw();
    SaveShot("sun_flare");
    const int full = static_cast<int>(0.35f * 255);
    EXPECT_NEAR(ReadPixel(32, 32).r, full, 1);
    EXPECT_NEAR(ReadPixel(26, 37).g, full, 1);
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
