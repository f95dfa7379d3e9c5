#include "core/Game.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "ai/ComputerController.h"
#include "ai/Skill.h"
#include "character/Person.h"
#include "core/Options.h"
#include "core/Preferences.h"
#include "core/System.h"
#include "frontend/MainMenu.h"
#include "input/Controller.h"
#include "input/Mouse.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "render/Material.h"
#include "scene/Scene.h"
#include "support/ClockGuard.h"
#include "support/FixtureMatch.h"
#include "support/GLContext.h"
#include "support/Keys.h"
#include "support/Near.h"

namespace {

TEST(GameCamera, BacksOffAndRisesWithTheDistanceAndTheVictoryUnderASoftCeiling) {
    const struct {
        float apart, victoryMs, r, h;
    } cases[] = {{40, 0, 222, 0}, {1000, 0, 1000, 900.1f}, {40, 2000, 322, 200},
                 {300, 1000, 740, 260}};
    for (const auto& c : cases) {
        float r = 0, h = 0;
        Game::AutoCamera(c.apart, c.victoryMs, r, h);
        EXPECT_FLOAT_EQ(r, c.r) << c.apart;
        EXPECT_NEAR(h, c.h, 0.05f) << c.apart;
    }
}

// A whole game on the fixture match, in the test's GL window.
class GameTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        fixture::WriteMatch();
        game.emplace();
    }
    void TearDown() override {
        game.reset();
        GLTest::TearDown();
    }

    // The menu's choice as if this frame made it, with the mouse and keys still.
    void Choose(int entry) {
        System::instance()->mouse->Still();
        KeysDown({});
        game->menu->selection = entry;
        game->menu->activated = true;
        game->RenderFrame();
    }
    void StartMatch() {
        Choose(MainMenu::TWO_PLAYERS);
        ASSERT_FALSE(game->menuActive);
    }

    ScratchDir scratch;
    DisplayGuard display{800, 600};
    ClockGuard clock;
    std::optional<Game> game;
};

TEST_F(GameTest, OpensOnItsMenuWhoseKeysNeverReachTheFighters) {
    EXPECT_TRUE(game->menuActive);
    EXPECT_EQ(display->materials[0]->alpha, 0.5f)
        << "planar shadows draw with the first material of the registry";
    Controller* second = System::instance()->controller[1];
    second->pending = Controller::CMD_D;  // Down moved the highlight
    second->idle = false;
    StartMatch();
    EXPECT_EQ(second->pending, 0);
    EXPECT_TRUE(second->idle);
    EXPECT_FALSE(game->quit);
}

TEST_F(GameTest, QuitEndsTheGameWithoutAMatch) {
    Choose(MainMenu::QUIT);
    EXPECT_TRUE(game->quit);
    EXPECT_TRUE(game->menuActive);
}

TEST_F(GameTest, FunctionKeysCycleTheCamerasFreezeTheClockAndSwitchTheShadows) {
    StartMatch();
    for (int expected : {1, 2, 3, 0}) {
        Press(SDLK_F12);
        game->UpdateCamera();
        EXPECT_EQ(game->cameraMode, expected);
    }
    Press(SDLK_F3);
    game->UpdateCamera();
    const int frozen = clock.clock.time;
    KeysDown({});
    SDL_Delay(20);
    game->RenderFrame();
    EXPECT_EQ(clock.clock.time, frozen);
    Press(SDLK_F3);
    game->UpdateCamera();
    EXPECT_EQ(clock.clock.mode, 1);

    for (bool stencil : {false, true}) {
        Press(SDLK_F2);
        game->RenderFrame();
        EXPECT_EQ(game->scene->stencilShadows, stencil);
    }
}

TEST_F(GameTest, ABoutEndsWithTheCaptionInSlowMotionAndTheNextBoutStarts) {
    StartMatch();
    game->seqs[1]->lost = true;
    game->RenderFrame();
    EXPECT_EQ(game->winner, 0);
    EXPECT_TRUE(game->seqs[0]->won);
    EXPECT_EQ(game->cameraMode, 4);
    EXPECT_EQ(options->slowMotion, 2);

    clock.clock.SetMode(0);  // hold game time still while the caption slides in
    for (int frame = 0; frame < 21; ++frame) game->RenderFrame();
    EXPECT_EQ(game->captionDepth, 0) << "twenty frames of 50 each, and no further";

    clock.clock.time = game->winnerTime + 501;
    game->RenderFrame();
    EXPECT_EQ(game->winner, -1);
    EXPECT_EQ(game->cameraMode, 0);
    EXPECT_EQ(options->slowMotion, 0);
    EXPECT_EQ(game->captionDepth, -1000);
    EXPECT_FALSE(game->seqs[0]->won || game->seqs[1]->lost);
    EXPECT_EQ(game->seqs[1]->lifeBar->value, 100);
}

TEST_F(GameTest, WhenBothLoseAtOnceFighterZeroWins) {
    StartMatch();
    game->seqs[0]->lost = game->seqs[1]->lost = true;
    game->RenderFrame();
    EXPECT_EQ(game->winner, 0);
}

TEST_F(GameTest, EachMatchGivesTheComputerItsSidesAndAKeyEndsTheDemo) {
    struct Case {
        int entry;
        bool computer[2];
    };
    for (const Case& c : {Case{MainMenu::ONE_PLAYER, {false, true}},
                          {MainMenu::TWO_PLAYERS, {false, false}}, {MainMenu::DEMO, {true, true}}}) {
        game->menuActive = true;
        Choose(c.entry);
        ASSERT_FALSE(game->menuActive) << c.entry;
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(game->seqs[i]->controller == game->computers[i], c.computer[i]) << c.entry;
            EXPECT_EQ(System::instance()->controller[i], game->seqs[i]->controller) << c.entry;
        }
    }
    EXPECT_TRUE(game->demo);
    Press(SDLK_SPACE);
    game->RenderFrame();
    EXPECT_TRUE(game->menuActive);
}

TEST_F(GameTest, TheSkillEntryStepsThroughTheLevelsAndKeepsTheChoice) {
    const int kept = preferences.skill;
    setenv("XDG_CONFIG_HOME", std::filesystem::current_path().c_str(), 1);
    preferences.skill = Skill::LEVELS - 1;
    Choose(MainMenu::SKILL);
    EXPECT_TRUE(game->menuActive);
    EXPECT_EQ(preferences.skill, 0) << "past the strongest, the weakest";
    Preferences read;
    EXPECT_TRUE(read.Load(Preferences::Path()));
    EXPECT_EQ(read.skill, 0);
    unsetenv("XDG_CONFIG_HOME");
    preferences.skill = kept;
}

TEST_F(GameTest, AMatchStartedAfterAMinuteInTheMenuBeginsWithANormalStep) {
    Clock* clock = System::instance()->clock;
    FakeTicks ticks;
    FakeTicks::now = clock->startTicks + clock->elapsed + 60000;
    StartMatch();
    const int before = clock->time;
    FakeTicks::now += 16;
    game->RenderFrame();
    EXPECT_EQ(clock->time - before, 16);
}

}  // namespace
