#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "anim/MTNode.h"
#include "anim/MoveTree.h"
#include "character/Person.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "math/Ptr.h"
#include "scene/Scene.h"
#include "support/ClockGuard.h"
#include "support/FixtureFighter.h"
#include "support/Near.h"
#include "support/RenderFiles.h"

// A controller whose command the test sets: `ready` is what the player has
// pressed and the controller has latched; `held` is sampled every frame.
class ScriptedController : public Controller {
public:
    explicit ScriptedController(int player) : Controller(player) {}
    void Latch(int bits) { ready = bits; }

    int held = 0;

protected:
    int Sample() const override { return held; }
};

// Two fixture fighters, "kira" (player 0) and "mori" (player 1), with their
// match sequencers, in a scratch folder with a display of its own. The game
// clock is the test's: frames run at the times the test names. Base is the
// gtest fixture to build on (GLTest for drawing).
template <class Base>
class MatchFixture : public Base {
protected:
    MatchFixture() {
        fixture::WriteSharedMaterials();
        clock.At(0, 10);
    }

    // Writes both fighters with the idle tree unless the test wrote them.
    static void WriteDefaultFighters() {
        fixture::WriteFighter("kira");
        fixture::WriteFighter("mori");
    }

    // Builds the fighters and their sequencers; with a scene name, also the scene.
    void Start(const std::string& sceneName = "") {
        seq[0].reset();  // a sequencer goes before the fighter it plays
        seq[1].reset();
        if (!sceneName.empty()) scene = std::make_unique<Scene>(sceneName);
        fighter[0] = new Person("kira", 1);
        fighter[1] = new Person("mori", 1);
        seq[0] = std::make_unique<GameSeq>(fighter[0], fighter[1], &controller[0], 0, scene.get());
        seq[1] = std::make_unique<GameSeq>(fighter[1], fighter[0], &controller[1], 1, scene.get());
    }

    void At(int ms) { clock.clock.time = ms; }

    // One game frame at `ms`, in the game's order; true when a blow was found.
    bool Frame(int ms) {
        At(ms);
        seq[0]->Update();
        seq[1]->Update();
        const bool first = seq[0]->CheckCollision();
        const bool second = seq[1]->CheckCollision();
        return first || second;
    }

    // Frames every `step` ms from `from` to `to`, both included.
    void Run(int from, int to, int step = 10) {
        for (int t = from; t <= to; t += step) Frame(t);
    }

    // Moves fighter i's motion, keys and all, as the game's own corrections do.
    void Teleport(int i, const Vector3& offset) {
        for (int slot = 0; slot < 4; ++slot) seq[i]->rootSpline.pos[slot] += offset;
        seq[i]->rootSpline.CalcSegment();
        seq[i]->basePos += offset;
    }

    static std::string Label(const MTNode* node) { return node != nullptr ? node->label : "(none)"; }

    // Declared in the order they are needed: each goes before what it holds up.
    RenderScratch scratch;
    ClockGuard clock;
    ScriptedController controller[2] = {ScriptedController(0), ScriptedController(1)};
    std::unique_ptr<Scene> scene;
    Ptr<Person> fighter[2];
    std::unique_ptr<GameSeq> seq[2];
};

using MatchTest = MatchFixture<::testing::Test>;
