#pragma once

#include <optional>

#include "character/Person.h"
#include "core/Options.h"
#include "core/System.h"
#include "match/Match.h"
#include "scene/Scene.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"
#include "support/FixtureMatch.h"
#include "support/GLContext.h"
#include "support/Keys.h"

// The fixture match written into a scratch folder, with a display of the
// game's window size and real time that the test advances.
class FixtureMatchTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        scratch.emplace();
        fixture::WriteMatch();
        display.emplace(800, 600);
    }
    void TearDown() override {
        display.reset();
        scratch.reset();
        GLTest::TearDown();
    }
    // A fresh press of `key` seen by one `frame`, then let go.
    template <class Frame> static void Tap(int key, Frame frame) {
        Press(key);
        frame();
        KeysDown({});
    }

    FakeTicks ticks;
    std::optional<ScratchDir> scratch;
    std::optional<DisplayGuard> display;  // the window's size, freed after each test
};

// A Match of the two fixture fighters on the fixture floor, with the game's
// keyboard controllers.
class PlayedMatch : public FixtureMatchTest {
protected:
    void SetUp() override {
        FixtureMatchTest::SetUp();
        if (::options == nullptr) ::options = new Options("options.txt");
        ::options->slowMotion = 0;
        fighters[0] = new Person("fixture", 1);
        fighters[1] = new Person("fixture", 1);
        scene.emplace("floor");
        System* system = System::instance();
        match.emplace(fighters[0], fighters[1], &*scene, system->controller[0], system->controller[1], 3, 60);
        match->Start();
    }
    void TearDown() override {
        match.reset();
        scene.reset();
        FixtureMatchTest::TearDown();
    }
    // Frames of `ms` real milliseconds each until `total` have passed.
    void Run(int total, int ms = 20) {
        for (int t = 0; t < total; t += ms) {
            FakeTicks::now += ms;
            match->Update();
        }
    }
    void Press(int key) { Tap(key, [this] { match->Update(); }); }

    Ptr<Person> fighters[2];
    std::optional<Scene> scene;
    std::optional<Match> match;
};
