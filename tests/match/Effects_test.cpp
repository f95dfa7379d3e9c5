// The effects of a fight: hit particles, the hit sparkle, explosion rings
// and the weapon trails.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "match/ExplCyl.h"
#include "match/Particle.h"
#include "match/Sparkle.h"
#include "match/Tracer.h"
#include "math/Camera.h"
#include "math/Gravity.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "support/ClockGuard.h"
#include "support/GLContext.h"
#include "support/Near.h"
#include "support/RenderFiles.h"
#include "support/Screenshot.h"

namespace {

// A white glowing material, a camera on the -z side, the game clock at 1000 ms.
class EffectTest : public GLTest {
protected:
    EffectTest() {
        WriteFile("materials/effect.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
        scratch.display->camera = &camera;
        clock.At(1000);
    }
    static Material* NewMaterial() { return new Material("materials/effect.mat"); }
    // Lighting on with no light switched on: a material shows its emission.
    void BeginFrame() {
        StandardState();
        glEnable(GL_LIGHTING);
        scratch.display->SetCamera(&camera);
    }
    RenderScratch scratch;
    ClockGuard clock;
    Camera camera{Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0};
};

TEST_F(EffectTest, ParticlesFadeInOverATenthAndSparklesFadeAfterAFifth) {
    Particle particle(NewMaterial());
    Sparkle sparkle(NewMaterial());
    const struct {
        bool isParticle;
        int life, ms;
        float brightness;
    } curve[] = {
        {true, 1000, 0, 0}, {true, 1000, 50, 0.5f}, {true, 1000, 100, 1}, {true, 1000, 550, 0.5f},
        {true, 1000, 775, 0.25f}, {true, 1000, 1000, 0}, {true, 1000, 1500, 0},  // past its end: dark
        {false, 500, 0, 1}, {false, 500, 100, 1}, {false, 500, 300, 0.25f}, {false, 500, 400, 0.0625f},
        {false, 500, 500, 0}, {false, 500, 1000, 0},  // not the square of a negative
        // Lives too short for tenths or fifths: dark with none, else bright from the start.
        {true, 0, 0, 0}, {true, 1, 0, 1}, {true, 4, 0, 1}, {true, 9, 0, 1},
        {false, 0, 0, 0}, {false, 1, 0, 1}, {false, 4, 0, 1}, {false, 9, 0, 1},
    };
    for (const auto& c : curve) {
        clock.At(1000);
        if (c.isParticle) particle.Start(c.life, Vector3(0, 100, 0), Vector3(), Vector3());
        else sparkle.Start(c.life, Vector3(), nullptr);
        clock.At(1000 + c.ms);
        if (c.isParticle) particle.Update();
        else sparkle.Update();
        EXPECT_NEAR(c.isParticle ? particle.brightness : sparkle.brightness, c.brightness, 1e-6)
            << (c.isParticle ? "particle of " : "sparkle of ") << c.life << " at " << c.ms << " ms";
    }
}

TEST_F(EffectTest, AParticleFliesAtHalfStepsUnderItsAccelerationUntilItFallsThroughTheFloor) {
    Particle particle(NewMaterial());
    particle.Start(1000, Vector3(10, 100, 0), Vector3(200, 0, -100), GRAVITY);
    clock.At(1020, 20);  // dt = 0.01 s: position first, with the old velocity; then the velocity
    particle.Update();
    EXPECT_TRUE(Near(particle.pos, Vector3(12, 100, -1)) && std::fabs(particle.world(3, 0) - 12) < 1e-4);
    EXPECT_NEAR(particle.vel.y, GRAVITY_Y * 0.01f, 1e-4);
    particle.Start(1000, Vector3(0, 1, 0), Vector3(0, -200, 0), Vector3());
    clock.At(1000, 10);  // falls 1 unit: exactly on the floor is not below it
    particle.Update();
    const bool onTheFloor = particle.HasTimeLeft();
    particle.Update();
    EXPECT_TRUE(onTheFloor && !particle.HasTimeLeft());
}

TEST_F(EffectTest, ASparkleTurnsByGameTimeAndRidesOnItsBodyPart) {
    Sparkle sparkle(NewMaterial());
    Ptr<Object> arm = new Object();
    arm->world.CreateTranslate(10, 0, 0);
    sparkle.Start(500, Vector3(1, 2, 3), arm);
    clock.At(1150, 150);
    sparkle.Update();
    EXPECT_TRUE(std::fabs(sparkle.angle - 0.45f) < 1e-6 && Near(sparkle.position, Vector3(11, 2, 3)));
    arm->world.CreateTranslate(0, 50, 0);
    sparkle.Update();
    EXPECT_TRUE(Near(sparkle.position, Vector3(1, 52, 3))) << "it follows the part";
}

TEST_F(EffectTest, ARingWidensUntilPastItsLargestRadiusAndReportsWhatItReached) {
    ExplCyl ring(Vector3(0, 0, 0), 100, 50, NewMaterial());
    Ptr<Object> fighter = new Object();
    fighter->SetPosition(Vector3(18, 0, 24));  // 30 away
    Ptr<Object> jumper = new Object();
    jumper->SetPosition(Vector3(0, 40, 0));  // 40 away, straight above the centre
    const auto grow = [&](int ms) {
        clock.At(clock.clock.time + ms, ms);
        ring.Update();
    };
    grow(200);
    EXPECT_TRUE(Near(ring.world * Vector3(1, 30, 0), Vector3(20, 30, 0))) << "an outer vertex 20 out, still 30 up";
    EXPECT_FALSE(ring.Collision(fighter));
    grow(100);
    EXPECT_TRUE(!ring.Collision(jumper) && ring.Collision(fighter)) << "the distance is measured in three dimensions";
    fighter->SetPosition(Vector3(1000, 0, 0));
    EXPECT_TRUE(ring.Collision(fighter)) << "once swept over, always reported";
    grow(200);
    const bool doneAtLargest = ring.done;
    grow(20);
    EXPECT_TRUE(!doneAtLargest && ring.done) << "reaching the largest radius is not passing it";
}

// A tracer on a sword whose ends the test moves, as the bone's update would.
class TracerTest : public EffectTest {
protected:
    void Swing(const Vector3& hilt, const Vector3& point) {
        sword->worldPos = hilt;
        sword->tip = point;
        tracer->Update();
    }
    const Vertex& Sample(int k) const { return tracer->mesh->vertices[k]; }
    Ptr<Object> sword = new Object();
    const std::unique_ptr<Material> trail{NewMaterial()};  // a fighter owns its trails' materials
    Ptr<Tracer> tracer = new Tracer(sword, trail.get());
};

TEST_F(TracerTest, GrowsByFourSamplesAnUpdateToThirtyNineAndEmptiesAfterEnd) {
    tracer->Update();
    EXPECT_EQ(tracer->count, 0) << "never started";
    tracer->Start();
    for (int update = 0; update < 12; ++update) {
        tracer->Update();
        EXPECT_EQ(tracer->count, std::min(1 + 4 * update, 39)) << update;
    }
    EXPECT_EQ(tracer->mesh->numFaces, 156) << "two triangles on each side of each of 39 bands";
    tracer->End();
    for (int count = 35; count >= -1; count -= 4) {
        Swing(Vector3(count, 0, 0), Vector3(count, 10, 0));
        EXPECT_TRUE(tracer->count == std::max(count, 0) && Sample(40).pos == Vector3(count, 10, 0))
            << "the head keeps following the sword";
    }
}

TEST_F(TracerTest, TheSamplesBetweenUpdatesLieOnTheCurveThroughThem) {
    tracer->Start();
    // The hilt sweeps along y = x²/10; samples 0, 4 and 8 are the updates.
    for (int t = 0; t <= 2; ++t) Swing(Vector3(10 * t, 10 * t * t, 0), Vector3(10 * t, 10 * t * t + 10, 0));
    for (int k : {1, 2, 3}) {
        const float x = 20 - 2.5f * k;
        EXPECT_TRUE(Near(Sample(k).pos, Vector3(x, x * x / 10, 0))) << k;
    }
}

TEST_F(TracerTest, SpritesAndTrailsGlowWhileAliveAndNotOnceFaded) {
    Particle particle(NewMaterial());
    Sparkle sparkle(NewMaterial());
    particle.Start(1000, Vector3(), Vector3(), Vector3());
    sparkle.Start(500, Vector3(), nullptr);
    tracer->Start();
    // A sweep across the middle of the view.
    for (int t = 0; t <= 4; ++t) Swing(Vector3(-40 + 20 * t, -30, 0), Vector3(-40 + 20 * t, 30, 0));
    const struct {
        const char* name;
        std::function<void()> draw;
        int litAlive;  // pixels brighter than 200 at least
        int fadeMs;
    } effects[] = {
        {"particle", [&] { particle.Draw(); }, 4, 999},
        {"sparkle", [&] { sparkle.Draw(); }, 20, 500},
        {"tracer", [&] { tracer->Draw(); }, 200, 0},
    };
    const auto lit = [&](const auto& e, int ms) {
        clock.At(ms, 10);
        particle.Update();
        sparkle.Update();
        BeginFrame();
        e.draw();
        return CountBrighter(200);
    };
    for (const auto& e : effects) {
        camera.SetFrom(Vector3(0, 0, std::string(e.name) == "particle" ? -10 : -200));  // a particle is tiny
        EXPECT_GT(lit(e, 1100), e.litAlive) << e.name;
        if (e.fadeMs > 0) { EXPECT_EQ(lit(e, 1000 + e.fadeMs), 0) << e.name << " faded"; }
    }
}

}  // namespace
