#include "match/Particle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "match/EffectScene.h"
#include "math/Gravity.h"
#include "render/Mesh.h"

namespace {

class ParticleTest : public ::testing::Test {
protected:
    EffectScene scene;
    Particle particle{EffectScene::NewMaterial()};
};

TEST_F(ParticleTest, FadesInOverATenthAndOutOverTheRest) {
    particle.Start(1000, Vector3(0, 100, 0), Vector3(), Vector3());
    EXPECT_EQ(particle.endTime, 2000);
    const struct {
        int ms;
        float brightness;
    } curve[] = {{0, 0}, {50, 0.5f}, {100, 1}, {550, 0.5f}, {775, 0.25f}, {1000, 0}};
    for (const auto& point : curve) {
        scene.At(1000 + point.ms);
        particle.Update();
        EXPECT_NEAR(particle.brightness, point.brightness, 1e-6) << point.ms << " ms";
    }
    scene.At(1999);
    EXPECT_TRUE(particle.HasTimeLeft());
    scene.At(2000);
    EXPECT_FALSE(particle.HasTimeLeft());
    // Updated after its end, it stays dark rather than going negative.
    scene.At(2500);
    particle.Update();
    EXPECT_EQ(particle.brightness, 0);
}

TEST_F(ParticleTest, ALifeTooShortForTenthsStillHasABrightness) {
    for (int life : {0, 1, 9}) {
        particle.Start(life, Vector3(0, 100, 0), Vector3(), Vector3());
        particle.Update();
        EXPECT_FALSE(std::isnan(particle.brightness)) << life;
        EXPECT_GE(particle.brightness, 0) << life;
        EXPECT_LE(particle.brightness, 1) << life;
    }
}

TEST_F(ParticleTest, FliesAtHalfSpeedUnderItsAcceleration) {
    particle.Start(1000, Vector3(10, 100, 0), Vector3(200, 0, -100), GRAVITY);
    scene.At(1020, 20);  // dt = 0.01 s
    particle.Update();
    // Position first, with the old velocity; then the velocity.
    ExpectNear(particle.pos, Vector3(12, 100, -1));
    EXPECT_EQ(particle.position, particle.pos);
    EXPECT_NEAR(particle.vel.y, GRAVITY_Y * 0.01f, 1e-4);
    scene.At(1040, 20);
    particle.Update();
    EXPECT_NEAR(particle.pos.y, 100 + GRAVITY_Y * 0.01f * 0.01f, 1e-4);
    EXPECT_NEAR(particle.world(3, 0), 14, 1e-4);
    EXPECT_TRUE(particle.HasTimeLeft());
}

TEST_F(ParticleTest, DiesWhenItFallsBelowTheFloor) {
    particle.Start(1000, Vector3(0, -1, 0), Vector3(), Vector3());
    EXPECT_TRUE(particle.HasTimeLeft());
    particle.Update();
    EXPECT_FALSE(particle.HasTimeLeft());

    particle.Start(1000, Vector3(0, 1, 0), Vector3(0, -200, 0), Vector3());
    scene.At(1000, 10);  // falls 1 unit: exactly on the floor is not below it
    particle.Update();
    EXPECT_TRUE(particle.HasTimeLeft());
    particle.Update();
    EXPECT_FALSE(particle.HasTimeLeft());
}

TEST_F(ParticleTest, TurnsInItsOwnPlaneWhileFacingTheCamera) {
    particle.Start(1000, Vector3(5, 50, 0), Vector3(), Vector3());
    particle.Update();
    particle.Update();
    EXPECT_FLOAT_EQ(particle.angle, 2 * particle.spin);
    Matrix turn;
    turn.CreateRotateZ(particle.angle);
    const Matrix expected = particle.translation * scene.camera.flat * turn;
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(particle.world.m[i], expected.m[i], 1e-5) << i;
}

TEST_F(ParticleTest, StandsStillWhileTheGameIsPaused) {
    particle.Start(1000, Vector3(0, 100, 0), Vector3(50, 0, 0), GRAVITY);
    scene.At(1050, 20);
    particle.Update();
    const Vector3 pos = particle.pos, vel = particle.vel;
    const float brightness = particle.brightness, angle = particle.angle;

    scene.clock.mode = 0;
    scene.At(1050, 500);
    particle.Update();
    EXPECT_EQ(particle.pos, pos);
    EXPECT_EQ(particle.vel, vel);
    EXPECT_EQ(particle.brightness, brightness);
    EXPECT_EQ(particle.angle, angle);
    // Still a billboard: it keeps facing the camera.
    const Matrix expected = particle.translation * scene.camera.flat;
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(particle.world.m[i], expected.m[i], 1e-5) << i;
}

TEST(ParticleShape, RandomSizeAndSpin) {
    EffectScene scene;
    Material* material = EffectScene::NewMaterial();
    for (int i = 0; i < 50; ++i) {
        Particle p(material);
        EXPECT_GE(p.spin, -0.5f);
        EXPECT_LT(p.spin, 0.5f);
        // A square centred on the origin, 2 to 6 units wide.
        ASSERT_NE(p.mesh, nullptr);
        const Vector3 corner = p.mesh->vertices[0].pos;
        float side = 0;
        for (const Vertex& v : p.mesh->vertices) {
            side = std::max(side, std::fabs(v.pos.x - corner.x));
        }
        EXPECT_GE(side, 2);
        EXPECT_LT(side, 6);
        EXPECT_EQ(p.position, Vector3());
        EXPECT_EQ(p.endTime, 0);
        EXPECT_EQ(p.brightness, 1);
    }
}

TEST(ParticleShape, DrawingWithoutAMaterialIsLoggedAndSkipped) {
    EffectScene scene;
    Particle p(nullptr);
    TraceCapture trace;
    p.Draw();
    EXPECT_EQ(trace.str(), "No mat!!\n");
}

class ParticleDraw : public GLTest {};

TEST_F(ParticleDraw, GlowsWithItsBrightness) {
    EffectScene scene;
    Particle particle(EffectScene::NewMaterial());
    particle.Start(1000, Vector3(0, 0, 0), Vector3(), Vector3());
    scene.camera.SetFrom(Vector3(0, 0, -10));  // near enough for a few pixels

    scene.At(1100);
    particle.Update();
    BeginFrame(scene);
    particle.Draw();
    EXPECT_EQ(particle.material->emission, Vector3(1, 1, 1));
    const int lit = CountAbove(Brightness(), 200);
    Shot("particle");
    EXPECT_GT(lit, 4);

    scene.At(1999);
    particle.Update();
    BeginFrame(scene);
    particle.Draw();
    EXPECT_EQ(CountAbove(Brightness(), 200), 0) << "a dying particle is dim";
    EndFrame();
}

}  // namespace
