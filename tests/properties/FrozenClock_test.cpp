// Whatever moves with the game clock stands still while the clock is frozen
// (F3), however the world around it moves and however long the real frames
// last; running, the same update would have moved it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "character/Bone.h"
#include "character/Cloth.h"
#include "character/Head.h"
#include "character/PonyBone.h"
#include "input/KbdController.h"
#include "match/Particle.h"
#include "match/Sparkle.h"
#include "match/Tracer.h"
#include "math/Camera.h"
#include "math/Gravity.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "support/ClockGuard.h"
#include "support/Keys.h"
#include "support/RenderFiles.h"

namespace {

using State = std::vector<float>;

void Add(State& s, const Vector3& v) { s.insert(s.end(), {v.x, v.y, v.z}); }
void Add(State& s, const Matrix& m) { s.insert(s.end(), m.m, m.m + 16); }

// One thing that moves with the clock: `step` moves the world around it a
// little and updates it, as a frame does; `state` is all it shows of itself.
struct Mover {
    std::function<void()> step;
    std::function<State()> state;
};

Mover HeadTurning() {
    auto neck = std::make_shared<Ptr<Bone>>(
        new Bone(nullptr, {0, 130, 0}, {0, 150, 0}, {0, 0, 1}, {2, 20, 2}, nullptr, nullptr, nullptr, nullptr));
    auto head = std::make_shared<Ptr<Head>>(
        new Head(*neck, {0, 150, 0}, {0, 175, 0}, {0, 0, 1}, {2, 25, 2}, nullptr, nullptr, nullptr, nullptr));
    auto target = std::make_shared<Object>();
    target->worldPos = Vector3(-200, 150, 0);
    (*head)->target(target.get());
    auto angle = std::make_shared<float>(0.0f);
    return {[neck, head, target, angle] {
                *angle += 0.1f;
                (*neck)->SetRotation(Vector3(0, 0, *angle));
                (*neck)->Update();
                (*head)->Update();
            },
            [=] {
                State s;
                Add(s, (*head)->look);
                Add(s, (*head)->world);
                Add(s, (*head)->prevTip);
                return s;
            }};
}

Mover PonytailSegment() {
    auto bone = std::make_shared<Ptr<Object>>(new Object());
    auto segment = std::make_shared<Ptr<PonyBone>>(
        new PonyBone(*bone, {0, 0, 0}, {10, 0, 0}, {0, 0, 1}, 0.5f, 0, 0, true));
    return {[=] {
                (*bone)->world.CreateTranslate(0, (*bone)->world(3, 1) + 10, 0);
                (*segment)->Update();
            },
            [=] {
                State s;
                Add(s, (*segment)->tip);
                Add(s, (*segment)->world);
                return s;
            }};
}

Mover ClothRow() {
    auto bone = std::make_shared<Ptr<Object>>(new Object());
    auto mesh = std::make_shared<Mesh>();
    mesh->Allocate(3, 0);
    for (int j = 0; j < 3; ++j) mesh->vertices[j] = Vertex({0, -5.0f * j, 0}, {0, 0, 1}, 0, 0);
    static const float loose[2] = {0.5f, 0.5f};
    static const float* flex[1] = {loose};
    static const int counts[1] = {3};
    auto cloth = std::make_shared<Ptr<Cloth>>(new Cloth(*bone, 1, counts, flex, mesh.get(), nullptr, 3));
    return {[=] {
                (*bone)->world.CreateTranslate(0, (*bone)->world(3, 1) + 10, 0);
                (*cloth)->Update();
            },
            [=] {
                State s;
                for (const Vertex& v : mesh->vertices) Add(s, v.pos);
                return s;
            }};
}

Mover FlyingParticle() {
    auto particle = std::make_shared<Particle>(new Material("materials/effect.mat"));
    particle->Start(100000, Vector3(0, 100, 0), Vector3(50, 0, 0), GRAVITY);
    return {[=] { particle->Update(); },
            [=] {
                State s = {particle->brightness, particle->angle};
                Add(s, particle->pos);
                Add(s, particle->vel);
                return s;
            }};
}

Mover RidingSparkle() {
    auto sparkle = std::make_shared<Sparkle>(new Material("materials/effect.mat"));
    sparkle->Start(100000, Vector3(0, 40, 0), nullptr);
    return {[=] {
                sparkle->offset += Vector3(10, 0, 0);
                sparkle->Update();
            },
            [=] {
                State s = {sparkle->brightness, sparkle->angle};
                Add(s, sparkle->position);
                return s;
            }};
}

Mover TrailingSword() {
    auto sword = std::make_shared<Ptr<Object>>(new Object());
    auto tracer = std::make_shared<Ptr<Tracer>>(new Tracer(*sword, nullptr));
    (*tracer)->Start();
    return {[=] {
                (*sword)->worldPos += Vector3(10, 0, 0);
                (*sword)->tip = (*sword)->worldPos + Vector3(0, 10, 0);
                (*tracer)->Update();
            },
            [=] {
                State s = {static_cast<float>((*tracer)->count),
                           static_cast<float>((*tracer)->mesh->numFaces)};
                for (const Vertex& v : (*tracer)->mesh->vertices) Add(s, v.pos);
                return s;
            }};
}

Mover PlayerWithAKeyDown() {
    auto controller = std::make_shared<KbdController>(0);
    auto keys = std::make_shared<int>(0);
    return {[=] {
                // A different key each frame, so that something new is always in the window.
                const int sequence[] = {SDLK_s, SDLK_h, SDLK_g, SDLK_d};
                KeysDown({sequence[(*keys)++ % 4]});
                System::instance()->clock->time += System::instance()->clock->mode * 200;
                controller->Update();
            },
            [=] {
                const std::string letters = controller->Commands();
                return State(letters.begin(), letters.end());
            }};
}

TEST(FrozenClock, HoldsEverythingThatMovesWithTheGameStill) {
    const struct {
        const char* name;
        Mover (*make)();
    } movers[] = {{"head", HeadTurning},        {"ponytail segment", PonytailSegment},
                  {"cloth", ClothRow},          {"particle", FlyingParticle},
                  {"sparkle", RidingSparkle},   {"weapon trail", TrailingSword},
                  {"controller", PlayerWithAKeyDown}};
    for (const auto& m : movers) {
        SCOPED_TRACE(m.name);
        RenderScratch scratch;
        WriteFile("materials/effect.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
        Camera camera;
        scratch.display->camera = &camera;
        ClockGuard clock;
        clock.At(1000, 16);
        const Mover mover = m.make();
        mover.step();
        const State before = mover.state();
        mover.step();
        EXPECT_NE(mover.state(), before) << "running, a frame moves it";

        clock.clock.SetMode(0);
        clock.At(1032, 500);  // the real frames go on
        const State frozen = mover.state();
        for (int frame = 0; frame < 3; ++frame) mover.step();
        EXPECT_EQ(mover.state(), frozen);
    }
}

}  // namespace
