#include "match/Tracer.h"

#include <gtest/gtest.h>

#include "match/EffectScene.h"
#include "render/Mesh.h"
#include "scene/DirectionalLight.h"

namespace {

// A tracer on a sword whose ends the test moves by hand, as the bone's update would.
class TracerTest : public ::testing::Test {
protected:
    void MoveSword(const Vector3& hilt, const Vector3& point) {
        sword->worldPos = hilt;
        sword->tip = point;
    }
    const Vertex& Sample(int k) const { return tracer->mesh->vertices[k]; }

    EffectScene scene;
    Ptr<Object> sword = new Object();
    Ptr<Tracer> tracer = new Tracer(sword, nullptr);
};

TEST_F(TracerTest, TheFaceListCoversBothSidesOfEverySegment) {
    const Mesh& mesh = *tracer->mesh;
    EXPECT_EQ(mesh.numVertices, 80);
    EXPECT_EQ(mesh.numFaces, 0);
    ASSERT_EQ(mesh.faces.size(), 156u * 3);
    const std::vector<int> first(mesh.faces.begin(), mesh.faces.begin() + 12);
    EXPECT_EQ(first, (std::vector<int>{0, 1, 40, 40, 1, 41, 40, 1, 0, 41, 1, 40}));
    const std::vector<int> last(mesh.faces.end() - 12, mesh.faces.end());
    EXPECT_EQ(last, (std::vector<int>{38, 39, 78, 78, 39, 79, 78, 39, 38, 79, 39, 78}));
    EXPECT_EQ(tracer->parent, sword);
    EXPECT_FALSE(tracer->active);
    EXPECT_EQ(tracer->count, 0);
}

TEST_F(TracerTest, GrowsByFourSamplesAnUpdateUpToThirtyNine) {
    tracer->Start();
    const int expected[][2] = {{1, 0},    {5, 16},   {9, 32},   {13, 48},  {17, 64},  {21, 80},
                               {25, 96},  {29, 112}, {33, 128}, {37, 144}, {39, 156}, {39, 156}};
    for (const auto& step : expected) {
        tracer->Update();
        EXPECT_EQ(tracer->count, step[0]);
        EXPECT_EQ(tracer->mesh->numFaces, step[1]);
    }
}

TEST_F(TracerTest, EmptiesWithinTenUpdatesAfterEnd) {
    tracer->Start();
    for (int i = 0; i < 12; ++i) tracer->Update();
    tracer->End();
    EXPECT_FALSE(tracer->active);
    const int expected[] = {35, 31, 27, 23, 19, 15, 11, 7, 3, 0, 0};
    for (int count : expected) {
        MoveSword(Vector3(count, 0, 0), Vector3(count, 10, 0));
        tracer->Update();
        EXPECT_EQ(tracer->count, count);
        EXPECT_EQ(tracer->mesh->numFaces, 4 * count);
        // The head keeps following the sword while the trail shrinks.
        EXPECT_EQ(Sample(0).pos, Vector3(count, 0, 0));
        EXPECT_EQ(Sample(40).pos, Vector3(count, 10, 0));
    }
}

TEST_F(TracerTest, NeverStartedOrPausedItStaysAsItIs) {
    tracer->Update();
    EXPECT_EQ(tracer->count, 0);
    EXPECT_EQ(tracer->mesh->numFaces, 0);

    tracer->Start();
    tracer->Update();
    tracer->Update();
    scene.clock.mode = 0;
    MoveSword(Vector3(99, 0, 0), Vector3(99, 9, 0));
    const std::vector<Vertex> before = tracer->mesh->vertices;
    tracer->Update();
    tracer->End();
    tracer->Update();
    EXPECT_EQ(tracer->count, 5);
    EXPECT_EQ(tracer->mesh->numFaces, 16);
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(tracer->mesh->vertices[i].pos, before[i].pos) << i;
    }
}

TEST_F(TracerTest, EdgesFollowTheTwoEndsWithTextureAlongTheTrail) {
    tracer->Start();
    MoveSword(Vector3(0, 0, 0), Vector3(0, 10, 0));
    tracer->Update();
    EXPECT_EQ(Sample(0).pos, Vector3(0, 0, 0));
    EXPECT_EQ(Sample(40).pos, Vector3(0, 10, 0));
    MoveSword(Vector3(40, 0, 0), Vector3(40, 10, 0));
    tracer->Update();
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(Sample(k).u, 0) << k;
        EXPECT_EQ(Sample(k + 40).u, 1) << k;
        EXPECT_FLOAT_EQ(Sample(k).v, k / 40.0f) << k;
        EXPECT_FLOAT_EQ(Sample(k + 40).v, k / 40.0f) << k;
        EXPECT_EQ(Sample(k).normal, Vector3(0, 1, 0)) << k;
    }
    // Sample 4 is the last update's; 1..3 lie evenly on the line between.
    for (int k = 0; k <= 4; ++k) {
        ExpectNear(Sample(k).pos, Vector3(40 - 10 * k, 0, 0));
        ExpectNear(Sample(k + 40).pos, Vector3(40 - 10 * k, 10, 0));
    }
}

TEST_F(TracerTest, ALongerTrailBendsAlongAParabola) {
    tracer->Start();
    // The hilt sweeps along y = x²/10 and the point stays 10 above it.
    for (int t = 0; t <= 2; ++t) {
        MoveSword(Vector3(10 * t, 10 * t * t, 0), Vector3(10 * t, 10 * t * t + 10, 0));
        tracer->Update();
    }
    ASSERT_EQ(tracer->count, 9);
    // Samples 0, 4 and 8 are the three updates; 1..3 are put back on the curve.
    for (int k : {0, 1, 2, 3, 4, 8}) {
        const float x = 20 - 2.5f * k;
        ExpectNear(Sample(k).pos, Vector3(x, x * x / 10, 0));
        ExpectNear(Sample(k + 40).pos, Vector3(x, x * x / 10 + 10, 0));
    }
}

TEST_F(TracerTest, TheTextureRunsAlongTheTrailAndStopsShortOfItsBorder) {
    tracer->Start();
    for (int i = 0; i < 11; ++i) tracer->Update();
    EXPECT_FLOAT_EQ(Sample(38).v, 38 / 40.0f);
    EXPECT_FLOAT_EQ(Sample(79).v, 39 / 40.0f);
    // Shrinking spreads it over 39.1 samples, which would reach past 0.997.
    tracer->End();
    tracer->Update();
    EXPECT_FLOAT_EQ(Sample(39).v, 0.997f);
    EXPECT_FLOAT_EQ(Sample(75).v, 35 / 39.1f);
}

class TracerDraw : public GLTest {
protected:
    // A sweep from left to right across the middle of the view.
    void Sweep() {
        tracer->Start();
        for (int t = 0; t <= 4; ++t) {
            sword->worldPos = Vector3(-40 + 20 * t, -30, 0);
            sword->tip = Vector3(-40 + 20 * t, 30, 0);
            tracer->Update();
        }
    }

    EffectScene scene;
    Ptr<Object> sword = new Object();
    Ptr<Tracer> tracer = new Tracer(sword, nullptr);
};

TEST_F(TracerDraw, ASweepLeavesAVisibleRibbon) {
    Material* glow = new Material("materials/effect.mat");
    glow->emission = Vector3(1, 1, 1);
    tracer->material = glow;
    BeginFrame(scene);
    tracer->Draw();  // nothing yet
    EXPECT_EQ(CountAbove(Brightness(), 100), 0);

    Sweep();
    BeginFrame(scene);
    tracer->Draw();
    const std::vector<int> pixels = Brightness();
    Shot("tracer");
    EXPECT_GT(CountAbove(pixels, 200), 200);
    EXPECT_GT(pixels[32 * GLTest::WIDTH + 32], 200);
    EndFrame();
}

TEST_F(TracerDraw, WithoutAMaterialItDrawsWithTheCurrentOne) {
    Material* glow = new Material("materials/effect.mat");
    glow->emission = Vector3(1, 1, 1);
    Sweep();
    BeginFrame(scene);
    glow->current(true);  // as the fighter does with its trail material
    tracer->Draw();
    EXPECT_GT(Brightness()[32 * GLTest::WIDTH + 32], 200);
    EndFrame();
}

TEST_F(TracerDraw, TheShadowIsFlattenedAlongLightZero) {
    Sweep();
    Matrix marker;
    marker.CreateTranslate(1, 2, 3);
    float loaded[16];
    auto expectModelView = [&loaded](const Matrix& m) {
        glGetFloatv(GL_MODELVIEW_MATRIX, loaded);
        for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(loaded[i], m.m[i]) << i;
    };

    // No light: nothing to flatten along, and the model-view stays untouched.
    EffectScene::display().SetWorld(marker);
    tracer->DrawShadow();
    expectModelView(marker);

    DirectionalLight sun(Vector3(1, 1, 1), Vector3(1, -2, 0.5f));
    EffectScene::display().lights.Add(&sun);
    tracer->DrawShadow();
    Matrix flatten;
    flatten.CreateIdentity();
    flatten(1, 0) = 0.5f;
    flatten(1, 1) = 0;
    flatten(1, 2) = 0.25f;
    flatten(3, 1) = -0.1f;
    expectModelView(flatten);
    // A point of the trail lands on the plane just below the floor, along the light.
    ExpectNear(flatten * Vector3(10, 30, 0), Vector3(25, -0.1f, 7.5f));

    // A light skimming the floor casts nothing.
    sun.direction = Vector3(1, 0, 0);
    EffectScene::display().SetWorld(marker);
    tracer->DrawShadow();
    expectModelView(marker);
}

}  // namespace
