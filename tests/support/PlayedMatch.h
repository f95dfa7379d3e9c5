#pragma once

#include <optional>

#include "character/Person.h"
#include "core/Display.h"
#include "core/Options.h"
#include "core/System.h"
#include "input/Keyboard.h"
#include "match/Match.h"
#include "scene/Scene.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"
#include "support/FixtureMatch.h"
#include "support/GLContext.h"

// A Match of the two fixture fighters on the fixture floor, with the
// game's keyboard controllers, on real time that the test advances.
class PlayedMatch : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        scratch.emplace();
        fixture::WriteMatch();
        System* system = System::instance();
        display.emplace(800, 600);
        if (::options == nullptr) ::options = new Options("options.txt");
        ::options->slowMotion = 0;
        fighters[0] = new Person("fixture", 1);
        fighters[1] = new Person("fixture", 1);
        scene.emplace("floor");
        match.emplace(fighters[0], fighters[1], &*scene, system->controller[0], system->controller[1], 3, 60);
        match->Start();
    }
    void TearDown() override {
        match.reset();
        scene.reset();
        display.reset();
        scratch.reset();
        GLTest::TearDown();
    }

    // Frames of `ms` real milliseconds each until `total` have passed.
    void Run(int total, int ms = 20) {
        for (int t = 0; t < total; t += ms) {
            FakeTicks::now += ms;
            match->Update();
        }
    }
    // One frame with exactly this key newly down.
    void Press(int key) {
        unsigned char state[Keyboard::KEY_COUNT] = {};
        System::instance()->keyboard->SetState(state);
        state[key] = 1;
        System::instance()->keyboard->SetState(state);
        match->Update();
        state[key] = 0;
        System::instance()->keyboard->SetState(state);
    }

    FakeTicks ticks;
    std::optional<ScratchDir> scratch;
    Ptr<Person> fighters[2];
    std::optional<Scene> scene;
    std::optional<Match> match;
    std::optional<DisplayGuard> display;  // the window's size, freed after each test
};
