#include "match/Sparkle.h"

#include <gtest/gtest.h>

#include <cmath>

#include "character/Object.h"
#include "match/EffectScene.h"
#include "render/Mesh.h"

namespace {

class SparkleTest : public ::testing::Test {
protected:
    EffectScene scene;
    Sparkle sparkle{EffectScene::NewMaterial()};
};

TEST_F(SparkleTest, AThirtyUnitSquareTwentyUnitsAlongMinusZ) {
    EXPECT_EQ(sparkle.spin, 0.003f);
    EXPECT_EQ(sparkle.angle, 0);
    EXPECT_EQ(sparkle.target, nullptr);
    ASSERT_NE(sparkle.mesh, nullptr);
    for (const Vertex& v : sparkle.mesh->vertices) {
        EXPECT_EQ(std::fabs(v.pos.x), 15);
        EXPECT_EQ(std::fabs(v.pos.y), 15);
        EXPECT_EQ(v.pos.z, -20);
    }
}

TEST_F(SparkleTest, FullForAFifthThenAQuadraticFade) {
    sparkle.Start(500, Vector3(), nullptr);
    EXPECT_EQ(sparkle.endTime, 1500);
    const struct {
        int ms;
        float brightness;
    } curve[] = {{0, 1}, {99, 1}, {100, 1}, {300, 0.25f}, {400, 0.0625f}, {500, 0}};
    for (const auto& point : curve) {
        scene.At(1000 + point.ms);
        sparkle.Update();
        EXPECT_NEAR(sparkle.brightness, point.brightness, 1e-6) << point.ms << " ms";
    }
    EXPECT_FALSE(sparkle.HasTimeLeft());
    scene.At(1499);
    EXPECT_TRUE(sparkle.HasTimeLeft());
    // Past its end the fade must not come back up as the square of a negative.
    scene.At(2000);
    sparkle.Update();
    EXPECT_EQ(sparkle.brightness, 0);
}

TEST_F(SparkleTest, ALifeTooShortForFifthsStillHasABrightness) {
    for (int life : {0, 1, 4}) {
        sparkle.Start(life, Vector3(), nullptr);
        scene.At(1000 + life / 2);
        sparkle.Update();
        EXPECT_FALSE(std::isnan(sparkle.brightness)) << life;
        EXPECT_GE(sparkle.brightness, 0) << life;
        EXPECT_LE(sparkle.brightness, 1) << life;
    }
}

TEST_F(SparkleTest, RidesOnItsTargetOrStandsInTheWorld) {
    sparkle.Start(300, Vector3(1, 2, 3), nullptr);
    sparkle.Update();
    EXPECT_EQ(sparkle.position, Vector3(1, 2, 3));

    Ptr<Object> arm = new Object();
    Matrix turn;
    turn.CreateRotateY(3.14159265f / 2);
    Matrix move;
    move.CreateTranslate(10, 0, 0);
    arm->world = move * turn;
    sparkle.Start(300, Vector3(1, 2, 3), arm);
    sparkle.Update();
    ExpectNear(sparkle.position, arm->world * Vector3(1, 2, 3));
    EXPECT_NE(sparkle.position, Vector3(1, 2, 3));

    // The body part moves on: the sparkle follows at the next update.
    move.CreateTranslate(0, 50, 0);
    arm->world = move;
    sparkle.Update();
    ExpectNear(sparkle.position, Vector3(1, 52, 3));
}

TEST_F(SparkleTest, TurnsByGameDeltaAndFacesTheCamera) {
    sparkle.Start(500, Vector3(0, 40, 0), nullptr);
    scene.At(1100, 100);
    sparkle.Update();
    EXPECT_NEAR(sparkle.angle, 0.3f, 1e-6);
    scene.At(1150, 50);
    sparkle.Update();
    EXPECT_NEAR(sparkle.angle, 0.45f, 1e-6);
    Matrix turn;
    turn.CreateRotateZ(sparkle.angle);
    const Matrix expected = sparkle.translation * scene.camera.flat * turn;
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(sparkle.world.m[i], expected.m[i], 1e-5) << i;
}

TEST_F(SparkleTest, KeepsItsStateWhileTheGameIsPaused) {
    sparkle.Start(500, Vector3(0, 40, 0), nullptr);
    scene.At(1300, 100);
    sparkle.Update();
    const float brightness = sparkle.brightness, angle = sparkle.angle;
    scene.clock.mode = 0;
    sparkle.offset = Vector3(100, 0, 0);
    scene.At(1300, 200);
    sparkle.Update();
    EXPECT_EQ(sparkle.brightness, brightness);
    EXPECT_EQ(sparkle.angle, angle);
    EXPECT_EQ(sparkle.position, Vector3(0, 40, 0));
}

class SparkleDraw : public GLTest {};

TEST_F(SparkleDraw, AFreshSparkleLightsUpTheMiddleOfTheView) {
    EffectScene scene;
    Sparkle sparkle(EffectScene::NewMaterial());
    sparkle.Start(500, Vector3(0, 0, 0), nullptr);
    scene.At(1050, 10);
    sparkle.Update();

    BeginFrame(scene);
    sparkle.Draw();
    EXPECT_EQ(sparkle.material->emission, Vector3(1, 1, 1));
    const std::vector<int> pixels = Brightness();
    Shot("sparkle");
    EXPECT_GT(CountAbove(pixels, 200), 20);
    EXPECT_GT(pixels[32 * GLTest::WIDTH + 32], 200) << "the marked point is covered";
    EXPECT_LT(pixels[0], 50) << "the corner stays dark";

    // At the end of its life it has faded out.
    scene.At(1500, 10);
    sparkle.Update();
    BeginFrame(scene);
    sparkle.Draw();
    EXPECT_EQ(CountAbove(Brightness(), 200), 0);
    EndFrame();
}

}  // namespace
