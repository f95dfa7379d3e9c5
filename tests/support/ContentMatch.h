#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "character/Person.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "scene/Scene.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"

// The default content's match, headless: the fighters and the arena that
// the generator wrote into the build's data folder, played through their
// match sequencers on a game clock that moves only when the test says. The
// working folder, the display and the clock are given back as they were.
class ContentMatch {
public:
    ContentMatch() : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(KORVANTHE_DATA_DIR);
        std::ifstream settings("settings.txt");
        std::string label;
        settings >> label >> arena >> label >> names[0] >> label >> names[1];
        scene = std::make_unique<Scene>(arena);
    }
    ~ContentMatch() {
        for (auto& s : seq) s.reset();
        for (auto& f : fighter) f = nullptr;
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
        for (int i = 0; i < 2; ++i) hits[i] = guarded[i] = 0;
        for (auto& s : seq) s.reset();
        controller[0] = c0;
        controller[1] = c1;
        fighter[0] = new Person(name0.empty() ? names[0] : name0, 1);
        fighter[1] = new Person(name1.empty() ? names[1] : name1, 1);
        seq[0] = std::make_unique<GameSeq>(fighter[0], fighter[1], c0, 0, scene.get());
        seq[1] = std::make_unique<GameSeq>(fighter[1], fighter[0], c1, 1, scene.get());
    }

    // One frame, `ms` after the last, in the game's order: controllers, both
    // sequencers, both collision tests. Counts the blows each fighter takes.
    void Frame(int ms) {
        time += ms;
        SetClock(ms);
        for (Controller* c : controller)
            if (c != nullptr) c->Update();
        seq[0]->Update();
        seq[1]->Update();
        seq[0]->CheckCollision();
        seq[1]->CheckCollision();
        for (int i = 0; i < 2; ++i) {
            if (seq[i]->hitPending) ++hits[i];
            if (seq[i]->guardHitPending) ++guarded[i];
        }
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
        for (int slot = 0; slot < 4; ++slot) seq[i]->rootSpline.pos[slot] += offset;
        seq[i]->rootSpline.CalcSegment();
        seq[i]->basePos += offset;
    }
    int Life(int i) const { return seq[i]->lifeBar->value; }

    std::string names[2];  // the fighters of settings.txt
    std::string arena;     // and its arena
    std::unique_ptr<Scene> scene;
    Controller* controller[2] = {};
    Ptr<Person> fighter[2];
    std::unique_ptr<GameSeq> seq[2];
    int time = 0;
    int hits[2] = {};     // blows that landed on fighter i
    int guarded[2] = {};  // blows fighter i blocked

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
