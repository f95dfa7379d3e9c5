#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "anim/MTNode.h"
#include "anim/MoveTree.h"
#include "character/Person.h"
#include "core/System.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "scene/Scene.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"
#include "support/FixtureMatch.h"
#include "support/Near.h"

// The match sequencers of two fighters, headless, on a game clock that moves
// only when the test says: the fixture fighters (MatchFixture) or the
// default content's (ContentMatch), and the controllers that play them.
//
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

// Two fighters and their match sequencers, stepped as the game steps a frame:
// the controllers in `controller` (none unless set), both sequencers, both
// collision tests. Counts the blows each fighter takes and blocks.
struct Sequencers {
    ~Sequencers() { Drop(); }
    // A new pair at their start places.
    void Begin(const std::string& name0, const std::string& name1, Controller* c0, Controller* c1,
               Scene* scene) {
        Drop();
        for (int i = 0; i < 2; ++i) hits[i] = guarded[i] = 0;
        fighter[0] = new Person(name0, 1);
        fighter[1] = new Person(name1, 1);
        seq[0] = std::make_unique<GameSeq>(fighter[0], fighter[1], c0, 0, scene);
        seq[1] = std::make_unique<GameSeq>(fighter[1], fighter[0], c1, 1, scene);
    }
    // A frame on the present game clock; true when a blow was found.
    bool Step() {
        for (Controller* c : controller)
            if (c != nullptr) c->Update();
        seq[0]->Update();
        seq[1]->Update();
        const bool first = seq[0]->CheckCollision();
        const bool second = seq[1]->CheckCollision();
        for (int i = 0; i < 2; ++i) {
            hits[i] += seq[i]->hitPending;
            guarded[i] += seq[i]->guardHitPending;
        }
        return first || second;
    }
    // Moves fighter i's motion, keys and all, as the game's own corrections do.
    void Teleport(int i, const Vector3& offset) {
        for (int slot = 0; slot < 4; ++slot) seq[i]->rootSpline.pos[slot] += offset;
        seq[i]->rootSpline.CalcSegment();
        seq[i]->basePos += offset;
    }
    // Sequencers go before the fighters they play, both before what they hold up.
    void Drop() {
        for (auto& s : seq) s.reset();
        for (auto& f : fighter) f = nullptr;
    }

    Controller* controller[2] = {};
    Ptr<Person> fighter[2];
    std::unique_ptr<GameSeq> seq[2];
    int hits[2] = {};     // blows that landed on fighter i
    int guarded[2] = {};  // blows fighter i blocked
};

// Two fixture fighters, "kira" (player 0) and "mori" (player 1), with their
// match sequencers, in a scratch folder with a display of its own. The game
// clock is the test's: frames run at the times the test names. Base is the
// gtest fixture to build on (GLTest for drawing).
template <class Base>
class MatchFixture : public Base, public Sequencers {
protected:
    MatchFixture() {
        fixture::WriteSharedMaterials();
        clock.At(0, 10);
    }
    ~MatchFixture() { Drop(); }


    // Builds the fighters and their sequencers; with a scene name, also the scene.
    void Start(const std::string& sceneName = "") {
        Drop();
        if (!sceneName.empty()) scene = std::make_unique<Scene>(sceneName);
        Begin("kira", "mori", &controller[0], &controller[1], scene.get());
    }

    void At(int ms) { clock.clock.time = ms; }

    // One game frame at `ms`, in the game's order; true when a blow was found.
    bool Frame(int ms) {
        At(ms);
        return Step();
    }

    // Frames every `step` ms from `from` to `to`, both included.
    void Run(int from, int to, int step = 10) {
        for (int t = from; t <= to; t += step) Frame(t);
    }

    static std::string Label(const MTNode* node) { return node != nullptr ? node->label : "(none)"; }

    // Declared in the order they are needed: each goes before what it holds up.
    RenderScratch scratch;
    ClockGuard clock;
    ScriptedController controller[2] = {ScriptedController(0), ScriptedController(1)};
    std::unique_ptr<Scene> scene;
};

using MatchTest = MatchFixture<::testing::Test>;

// The default content's match, headless: the fighters and the arena that
// the generator wrote into the build's data folder, played through their
// match sequencers on a game clock that moves only when the test says. The
// working folder, the display and the clock are given back as they were.
class ContentMatch : public Sequencers {
public:
    ContentMatch() : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(KORVANTHE_DATA_DIR);
        std::ifstream settings("settings.txt");
        std::string label;
        settings >> label >> arena >> label >> names[0] >> label >> names[1];
        scene = std::make_unique<Scene>(arena);
    }
    ~ContentMatch() {
        Drop();
        scene.reset();
        std::filesystem::current_path(previous);
    }
    ContentMatch(const ContentMatch&) = delete;
    ContentMatch& operator=(const ContentMatch&) = delete;

    // A new match of two fighters (by folder; settings.txt's by default) at
    // their start places, player 0 playing with c0 and player 1 with c1. The
    // clock starts again from 0.
    void Start(Controller* c0, Controller* c1, const std::string& name0 = "",
               const std::string& name1 = "") {
        time = 0;
        SetClock(0);
        Begin(name0.empty() ? names[0] : name0, name1.empty() ? names[1] : name1, c0, c1, scene.get());
        controller[0] = c0;
        controller[1] = c1;
    }
    // Player i plays with c from now on.
    void Play(int i, Controller* c) { controller[i] = seq[i]->controller = c; }

    // One frame, `ms` after the last.
    void Frame(int ms) {
        time += ms;
        SetClock(ms);
        Step();
    }

    // Plays on until a fighter has lost or `limitMs` have passed: the
    // winner, as the game names it, or -1.
    int PlayBout(int limitMs, int step) {
        for (int t = 0; t < limitMs; t += step) {
            Frame(step);
            if (seq[0]->lost || seq[1]->lost) return seq[1]->lost ? 0 : 1;
        }
        return -1;
    }
    // The next bout, as the game starts it: both back at their places with
    // full life, the controllers empty.
    void NextBout() {
        for (auto& s : seq) s->Reset();
        for (Controller* c : controller)
            if (c != nullptr) c->Forget();
    }

    // Moves fighter i to z on the line between the start places, as the
    // game's own corrections move a fighter.
    void Place(int i, float z) {
        Vector3 offset = Vector3(0, 0, z) - fighter[i]->position;
        offset.y = 0;  // across the floor only: the body keeps its height
        Teleport(i, offset);
    }
    int Life(int i) const { return seq[i]->lifeBar->value; }

    std::string names[2];  // the fighters of settings.txt
    std::string arena;     // and its arena
    std::unique_ptr<Scene> scene;
    int time = 0;

private:
    void SetClock(int delta) { clock.At(time, delta); }

    // Made first, the display guard meets the game's singleton in the test
    // folder, where it reads controllers.txt.
    DisplayGuard display{0, 0};
    ClockGuard clock;
    std::filesystem::path previous;
};

// Each test on a default content match of its own, made once Base (GLTest
// for the tests that draw) is set up.
template <class Base>
class ContentMatchFixture : public Base {
protected:
    void SetUp() override {
        Base::SetUp();
        ASSERT_TRUE(std::filesystem::exists(std::string(KORVANTHE_DATA_DIR) + "/settings.txt"))
            << "the build writes the default content into " << KORVANTHE_DATA_DIR;
        match.emplace();
    }
    void TearDown() override {
        match.reset();
        Base::TearDown();
    }
    std::optional<ContentMatch> match;
};
using ContentMatchTest = ContentMatchFixture<::testing::Test>;

// Walks in until the two stand close, then strikes once a period: a high
// blow (p) and a low one (d k) in turn.
class Attacker : public Controller {
public:
    Attacker(int player, const GameSeq& me_, const GameSeq& them_)
        : Controller(player), me(me_), them(them_) {}
    static constexpr int PERIOD_MS = 1100;

protected:
    void NextFrame() override {
        const int now = System::instance()->clock->time;
        if ((me.person->position - them.person->position).Length() > 55) {
            bits = CMD_F;
        } else if (now - last >= PERIOD_MS) {
            last = now;
            high = !high;
            bits = high ? CMD_P : CMD_D | CMD_K;
        } else {
            bits &= CMD_D;  // the direction is held while the command forms
        }
    }
    int Sample() const override { return bits; }

private:
    const GameSeq& me;
    const GameSeq& them;
    int bits = 0, last = 0;
    bool high = false;
};
