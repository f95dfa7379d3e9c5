#include "scene/Sun.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Display.h"
#include "core/System.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "scene/SceneryFiles.h"
#include "support/GLContext.h"

namespace {

void ExpectNear(const Vector3& actual, const Vector3& expected, float eps = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, eps);
    EXPECT_NEAR(actual.y, expected.y, eps);
    EXPECT_NEAR(actual.z, expected.z, eps);
}

// The test scene's folder with two flare materials. The sun's own mesh is
// a file that does not exist: it stays empty and draws nothing, so that only
// the flare is seen.
class SunFiles {
public:
    SunFiles() {
        SceneryScratch::Write("materials/flare.mat", FlatMaterial("-", {1, 1, 1}));
        SceneryScratch::Write("materials/halo.mat", FlatMaterial("-", {0, 1, 0}));
    }
    static void WriteFlare(const std::string& text) {
        SceneryScratch::Write("lensflare.txt", text);
    }
    static Sun* NewSun(const Vector3& at = Vector3()) {
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

TEST_F(SunTest, ReadsFlareMaterialsAndFlaresInFileOrder) {
    SunFiles::WriteFlare("2\nflare.mat halo.mat\n3\n0 10 -1\n1 20 0\n0 5 1\n");
    TraceCapture trace;
    const std::unique_ptr<Sun> sun(SunFiles::NewSun(Vector3(1, 2, 3)));

    EXPECT_EQ(sun->position, Vector3(1, 2, 3));
    EXPECT_TRUE(trace.Has("Starting lens flare stuff\n")) << trace.str();
    ASSERT_EQ(sun->numFlareMaterials, 2);
    ASSERT_EQ(sun->flareMaterials.count, 2);
    EXPECT_EQ(sun->flareMaterials[0]->fileName, "scenes/test/materials/flare.mat");
    EXPECT_EQ(sun->flareMaterials[1]->emission, Vector3(0, 1, 0));
    ASSERT_EQ(sun->numFlares, 3);
    ASSERT_EQ(sun->flares.count, 3);
    EXPECT_EQ(sun->flares[1].material, 1);
    EXPECT_EQ(sun->flares[1].halfSize, 20);
    EXPECT_EQ(sun->flares[1].linePos, 0);
    EXPECT_EQ(sun->flares[2].linePos, 1);
}

TEST_F(SunTest, WithoutLensflareFileThereIsNoFlare) {
    TraceCapture trace;
    const std::unique_ptr<Sun> sun(SunFiles::NewSun());
    EXPECT_TRUE(trace.Has("no lensflare.txt\n")) << trace.str();
    EXPECT_EQ(sun->numFlareMaterials, 0);
    EXPECT_EQ(sun->numFlares, 0);
    EXPECT_TRUE(sun->Flare(320, 240, 640, 480).empty());
}

TEST_F(SunTest, MaterialIndexOutOfRangeFallsBackToTheFirst) {
    SunFiles::WriteFlare("2 flare.mat halo.mat 3 2 10 0 -1 10 0 1 10 0");
    TraceCapture trace;
    const std::unique_ptr<Sun> sun(SunFiles::NewSun());
    ASSERT_EQ(sun->flares.count, 3);
    EXPECT_EQ(sun->flares[0].material, 0);
    EXPECT_EQ(sun->flares[1].material, 0);
    EXPECT_EQ(sun->flares[2].material, 1);
    const std::string message = "error in lensflare file: material # must be between 0 and 1\n";
    const std::string text = trace.str();
    const size_t first = text.find(message);
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find(message, first + 1), std::string::npos) << "once for each bad index";
    EXPECT_EQ(text.find(message, text.find(message, first + 1) + 1), std::string::npos);
}

// A broken lensflare.txt and what the sun keeps of it.
struct BadFlare {
    const char* text;
    int materials;
    int flares;
    const char* trace;
};

class BadFlareTest : public ::testing::TestWithParam<BadFlare> {
protected:
    SunFiles files;
};

TEST_P(BadFlareTest, KeepsOnlyWhatItCanDraw) {
    SunFiles::WriteFlare(GetParam().text);
    TraceCapture trace;
    const std::unique_ptr<Sun> sun(SunFiles::NewSun());
    EXPECT_EQ(sun->numFlareMaterials, GetParam().materials);
    EXPECT_EQ(sun->flareMaterials.count, GetParam().materials);
    EXPECT_EQ(sun->numFlares, GetParam().flares);
    EXPECT_EQ(sun->flares.count, GetParam().flares);
    EXPECT_TRUE(trace.Has(GetParam().trace)) << trace.str();
    // Whatever is kept can be drawn: every flare names a material that exists.
    for (const FlareQuad& quad : sun->Flare(320, 240, 640, 480)) {
        EXPECT_GE(quad.material, 0);
        EXPECT_LT(quad.material, sun->flareMaterials.count);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sun, BadFlareTest,
    ::testing::Values(
        BadFlare{"0 2 0 10 0 0 10 1", 0, 0, "expected a flare material to draw the flares with, found none"},
        BadFlare{"0 2 5 10 0", 0, 0, "expected a flare material to draw the flares with, found none"},
        BadFlare{"-2 flare.mat 1 0 10 0", 0, 0, "expected a number of flare materials, found -2"},
        BadFlare{"1000 flare.mat 1 0 10 0", 1, 1,
                 "expected 1000 flare materials, found 1 before the number of flares"},
        BadFlare{"1000 flare.mat", 1, 0,
                 "expected 1000 flare materials, found 1"},
        BadFlare{"1 flare.mat -4 0 10 0", 1, 0, "expected a number of flares, found -4"},
        BadFlare{"1 flare.mat 2000000000 0 10 0 0 5 1", 1, 2,
                 "expected 2000000000 flares, found 2"},
        BadFlare{"1 flare.mat 2 0 10 0 0 5", 1, 1,
                 "expected a number, found the end of the file; flare #1"},
        BadFlare{"1 flare.mat 2 0 big 0 0 5 1", 1, 0, "expected a number, found 'big'"},
        BadFlare{"", 0, 0, "expected a whole number, found the end of the file"}));

// A sun with one flare of each line position given.
class FlarePlacement : public SunTest {
protected:
    void SetUp() override {
        SunFiles::WriteFlare("1 flare.mat 4 0 10 -1 0 20 0 0 30 1 0 40 0.5");
        sun.reset(SunFiles::NewSun());
        ASSERT_EQ(sun->flares.count, 4);
    }
    std::unique_ptr<Sun> sun;
    static const int W = 640;
    static const int H = 480;
};

TEST_F(FlarePlacement, SunAtTheScreenCentreKeepsEveryQuadThere) {
    const std::vector<FlareQuad> quads = sun->Flare(W / 2, H / 2, W, H);
    ASSERT_EQ(quads.size(), 4u);
    for (const FlareQuad& quad : quads) {
        EXPECT_EQ(quad.x, W / 2);
        EXPECT_EQ(quad.y, H / 2);
        EXPECT_FLOAT_EQ(quad.strength, 0.35f);
    }
    EXPECT_EQ(quads[3].halfSize, 40);
}

TEST_F(FlarePlacement, QuadsLieOnTheLineFromTheSunThroughTheCentre) {
    // The quads' frame has y upward; the sun's screen position has it downward.
    const float x = 100, y = 60;
    const std::vector<FlareQuad> quads = sun->Flare(x, y, W, H);
    ASSERT_EQ(quads.size(), 4u);
    EXPECT_EQ(quads[0].x, x) << "line position -1 is the sun itself";
    EXPECT_EQ(H - quads[0].y, y);
    EXPECT_EQ(quads[1].x, W / 2);
    EXPECT_EQ(quads[1].y, H / 2);
    EXPECT_EQ(quads[2].x, W - x) << "line position 1 mirrors the sun through the centre";
    EXPECT_EQ(H - quads[2].y, H - y);
    EXPECT_EQ(quads[3].x, (W / 2 + W - x) / 2);
    EXPECT_EQ(H - quads[3].y, (H / 2 + H - y) / 2);
}

TEST_F(FlarePlacement, FlareFadesOverTheLastTwoHundredPixelsOfTheMargin) {
    auto strength = [this](float x, float y) {
        const std::vector<FlareQuad> quads = sun->Flare(x, y, W, H);
        return quads.empty() ? -1.0f : quads[0].strength;
    };
    EXPECT_FLOAT_EQ(strength(W + 100, H / 2), 0.35f) << "margin 300";
    EXPECT_FLOAT_EQ(strength(W + 300, H / 2), 0.175f) << "margin 100";
    EXPECT_EQ(strength(W + 450, H / 2), -1) << "too far: no flare";
    EXPECT_FLOAT_EQ(strength(W + 400, H / 2), 0) << "on the border: present, but dark";
    EXPECT_FLOAT_EQ(strength(-300, H / 2), 0.175f);
    EXPECT_FLOAT_EQ(strength(W / 2, H + 350), 0.35f * 0.25f);
    EXPECT_FLOAT_EQ(strength(W / 2, -250), 0.35f * 0.75f);
    EXPECT_FLOAT_EQ(strength(-350, H + 300), 0.35f * 0.25f) << "the nearer border counts";
    EXPECT_EQ(strength(W / 2, -401), -1);
    EXPECT_EQ(strength(W / 2, H + 401), -1);
    EXPECT_EQ(strength(-401, H / 2), -1);
}

TEST_F(SunTest, UpdateTurnsTheSunToFaceTheCamera) {
    Camera camera(Vector3(100, 50, -80), Vector3(10, 0, 5), Vector3(0, 1, 0), 0);
    System::instance()->display->camera = &camera;
    const std::unique_ptr<Sun> sun(SunFiles::NewSun(Vector3(-200, 300, 400)));
    sun->Update();

    const Vector3 forward = (camera.at - camera.from).Normalized();
    const Vector3 side = camera.up.Cross(forward).Normalized();
    const Vector3 up = forward.Cross(camera.up.Cross(forward)).Normalized();
    ExpectNear(sun->world ^ Vector3(1, 0, 0), side);
    ExpectNear(sun->world ^ Vector3(0, 1, 0), up);
    ExpectNear(sun->world ^ Vector3(0, 0, 1), forward);
    ExpectNear(sun->world * Vector3(), Vector3(-200, 300, 400));  // and stays where it is

    // Seen from elsewhere, it turns again.
    camera.SetFrom(Vector3(0, 0, 0));
    camera.SetAt(Vector3(0, 0, 100));
    sun->Update();
    ExpectNear(sun->world ^ Vector3(0, 0, 1), Vector3(0, 0, 1));
    ExpectNear(sun->world ^ Vector3(1, 0, 0), Vector3(1, 0, 0));
}

TEST_F(SunTest, OnlyASunBeforeTheCameraIsInFront) {
    const Camera camera(Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0);
    const std::unique_ptr<Sun> ahead(SunFiles::NewSun(Vector3(50, 400, 1000)));
    const std::unique_ptr<Sun> behind(SunFiles::NewSun(Vector3(50, 400, -1000)));
    EXPECT_TRUE(ahead->InFrontOf(camera));
    EXPECT_FALSE(behind->InFrontOf(camera));
}

class SunGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        files.emplace();
        Display* display = System::instance()->display;
        display->width = WIDTH;
        display->height = HEIGHT;
        display->SetCamera(&camera);
        // The game's face culling: the quads must face the viewer.
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(GL_CW);
        glViewport(0, 0, WIDTH, HEIGHT);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_FOG);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        files.reset();
    }

    std::optional<SunFiles> files;
    Camera camera{Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0};
};

TEST_F(SunGL, FlareIsDrawnBeforeTheCameraOnly) {
    // One white quad 16 pixels wide at the screen centre.
    SunFiles::WriteFlare("1 flare.mat 1 0 8 0");
    const std::unique_ptr<Sun> sun(SunFiles::NewSun(Vector3(0, 0, 500)));
    GLfloat projection[16], after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);

    sun->Update();
    sun->Draw();
    SaveShot("sun_flare", WIDTH, HEIGHT);
    const int full = static_cast<int>(0.35f * 255);
    EXPECT_NEAR(ReadPixel(32, 32).r, full, 1);
    EXPECT_NEAR(ReadPixel(26, 37).g, full, 1);
    EXPECT_EQ(ReadPixel(20, 32).r, 0) << "outside the quad";
    EXPECT_EQ(ReadPixel(32, 44).r, 0);

    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], projection[i]) << "projection restored";
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));

    // Behind the camera, on the view axis, the sun still projects onto the
    // screen centre: only its being behind takes the flare away.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sun->SetPosition(Vector3(0, 0, -900));
    sun->Update();
    sun->Draw();
    EXPECT_EQ(ReadPixel(32, 32).r, 0);
}

}  // namespace
