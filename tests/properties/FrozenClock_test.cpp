// Whatever moves with the game clock stands still while the clock is frozen
// (F3), however the world around it moves and however long the real frames
// last; running, the same update would have moved it.
#include <gtest/gtest.h>

#include <functional>
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

State Of(std::initializer_list<Vector3> vectors, std::initializer_list<float> more = {}, const Matrix* m = nullptr) {
    State s;
    for (const Vector3& v : vectors) s.insert(s.end(), {v.x, v.y, v.z});
    s.insert(s.end(), more);
    if (m != nullptr) s.insert(s.end(), m->m, m->m + 16);
    return s;
}

Mesh HangingRow() {
    Mesh mesh;
    mesh.Allocate(3, 0);
    for (int j = 0; j < 3; ++j) mesh.vertices[j] = Vertex({0, -5.0f * j, 0}, {0, 0, 1}, 0, 0);
    return mesh;
}

// One of everything that moves with the clock, hanging from or aimed at
// things the test moves a little each frame. Built after effect.mat exists.
struct Movers {
    Movers() {
        head->target(&target);
        target.worldPos = Vector3(-200, 150, 0);
        particle.Start(100000, Vector3(0, 100, 0), Vector3(50, 0, 0), GRAVITY);
        sparkle.Start(100000, Vector3(0, 40, 0), nullptr);
        tracer->Start();
    }
    void Raise() { bone->world.CreateTranslate(0, bone->world(3, 1) + 10, 0); }
    Ptr<Bone> neck = new Bone(nullptr, {0, 130, 0}, {0, 150, 0}, {0, 0, 1}, {2, 20, 2}, nullptr, nullptr, nullptr, nullptr);
    Ptr<Head> head = new Head(neck, {0, 150, 0}, {0, 175, 0}, {0, 0, 1}, {2, 25, 2}, nullptr, nullptr, nullptr, nullptr);
    Object target;
    float angle = 0;
    Ptr<Object> bone = new Object();
    Ptr<PonyBone> segment = new PonyBone(bone, {0, 0, 0}, {10, 0, 0}, {0, 0, 1}, 0.5f, 0, 0, true);
    Mesh row = HangingRow();
    const float loose[2] = {0.5f, 0.5f};
    const float* flex[1] = {loose};
    const int counts[1] = {3};
    Ptr<Cloth> cloth = new Cloth(bone, 1, counts, flex, &row, nullptr, 3);
    Particle particle{new Material("materials/effect.mat")};
    Sparkle sparkle{new Material("materials/effect.mat")};
    Ptr<Object> sword = new Object();
    Ptr<Tracer> tracer = new Tracer(sword, nullptr);
    KbdController controller{0};
    int keys = 0;
};

TEST(FrozenClock, HoldsEverythingThatMovesWithTheGameStill) {
    const struct {
        const char* name;
        std::function<void(Movers&)> step;
        std::function<State(Movers&)> state;
    } movers[] = {
        {"head",
         [](Movers& m) { m.neck->SetRotation(Vector3(0, 0, m.angle += 0.1f)), m.neck->Update(), m.head->Update(); },
         [](Movers& m) { return Of({m.head->look, m.head->prevTip}, {}, &m.head->world); }},
        {"ponytail segment", [](Movers& m) { m.Raise(), m.segment->Update(); },
         [](Movers& m) { return Of({m.segment->tip}, {}, &m.segment->world); }},
        {"cloth", [](Movers& m) { m.Raise(), m.cloth->Update(); },
         [](Movers& m) { return Of({m.row.vertices[0].pos, m.row.vertices[1].pos, m.row.vertices[2].pos}); }},
        {"particle", [](Movers& m) { m.particle.Update(); },
         [](Movers& m) { return Of({m.particle.pos, m.particle.vel}, {m.particle.brightness, m.particle.angle}); }},
        {"sparkle",
         [](Movers& m) { m.sparkle.offset += Vector3(10, 0, 0), m.sparkle.Update(); },
         [](Movers& m) { return Of({m.sparkle.position}, {m.sparkle.brightness, m.sparkle.angle}); }},
        {"weapon trail",
         [](Movers& m) {
             m.sword->worldPos += Vector3(10, 0, 0), m.sword->tip = m.sword->worldPos + Vector3(0, 10, 0);
             m.tracer->Update();
         },
         [](Movers& m) {
             State s = {static_cast<float>(m.tracer->count)};
             for (const Vertex& v : m.tracer->mesh->vertices) s.insert(s.end(), {v.pos.x, v.pos.y, v.pos.z});
             return s;
         }},
        {"controller",
         [](Movers& m) {
             // A different key each frame, so that something new is always in the window.
             const int sequence[] = {SDLK_s, SDLK_h, SDLK_g, SDLK_d};
             KeysDown({sequence[m.keys++ % 4]});
             System::instance()->clock->time += System::instance()->clock->mode * 200;
             m.controller.Update();
         },
         [](Movers& m) {
             const std::string letters = m.controller.Commands();
             return State(letters.begin(), letters.end());
         }},
    };
    for (const auto& mover : movers) {
        SCOPED_TRACE(mover.name);
        RenderScratch scratch;
        WriteFile("materials/effect.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
        Camera camera;
        scratch.display->camera = &camera;
        ClockGuard clock;
        clock.At(1000, 16);
        Movers m;
        mover.step(m);
        const State before = mover.state(m);
        mover.step(m);
        EXPECT_NE(mover.state(m), before) << "running, a frame moves it";
        clock.clock.SetMode(0);
        clock.At(1032, 500);  // the real frames go on
        const State frozen = mover.state(m);
        for (int frame = 0; frame < 3; ++frame) mover.step(m);
        EXPECT_EQ(mover.state(m), frozen);
    }
}

}  // namespace
