#include "core/Game.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "ai/ComputerController.h"
#include "ai/Skill.h"
#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/Options.h"
#include "core/Preferences.h"
#include "core/System.h"
#include "frontend/MainMenu.h"
#include "input/Controller.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "render/Material.h"
#include "scene/Scene.h"
#include "support/FakeTicks.h"
#include "support/FixtureMatch.h"
#include "support/GLContext.h"

namespace {

TEST(GameCamera, FightersAtOnePointKeepTheCameraClose) {
    float r = 0, h = 0;
    Game::AutoCamera(40, 0, r, h);
    EXPECT_FLOAT_EQ(r, 1.8f * 40 + 150);
    EXPECT_FLOAT_EQ(h, 0);
}

TEST(GameCamera, FarApartTheCameraBacksOffAndRisesUnderASoftCeiling) {
    float r = 0, h = 0;
    Game::AutoCamera(1000, 0, r, h);
    EXPECT_FLOAT_EQ(r, 1000) << "clamped";
    EXPECT_NEAR(h, 900.1f, 0.05f) << "9680 before the ceiling";
    Game::AutoCamera(1000, 2000, r, h);
    EXPECT_GT(h, 900.1f) << "the victory camera keeps rising";
}

// A whole game on the fixture match, in the test's GL window.
class GameTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        scratch.emplace();
        fixture::WriteMatch();
        System* system = System::instance();
        savedDisplay = system->display;
        system->display = new Display();
        system->display->width = 800;
        system->display->height = 600;
        system->clock->SetMode(1);
        game.emplace();
    }
    void TearDown() override {
        if (IsSkipped()) return;
        game.reset();
        System::instance()->display = savedDisplay;
        scratch.reset();
    }

    // One frame of key state with exactly these keys down.
    static void Keys(std::initializer_list<int> down) {
        unsigned char state[Keyboard::KEY_COUNT] = {};
        for (int key : down) state[key] = 1;
        System::instance()->keyboard->SetState(state);
    }
    static void Press(int key) {
        Keys({});
        Keys({key});
    }
    // The menu's choice as if this frame made it, with the mouse and keys still.
    void Choose(int entry) {
        System::instance()->mouse->Still();
        Keys({});
        game->menu->selection = entry;
        game->menu->activated = true;
        game->RenderFrame();
    }
    void StartMatch() {
        Choose(MainMenu::TWO_PLAYERS);
        ASSERT_FALSE(game->menuActive);
    }

    std::optional<ScratchDir> scratch;
    std::optional<Game> game;
    Display* savedDisplay = nullptr;
};

TEST_F(GameTest, OpensOnItsMenu) {
    EXPECT_TRUE(game->menuActive);
    EXPECT_EQ(game->winner, -1);
    EXPECT_EQ(game->captionDepth, -1000);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(System::instance()->display->materials[0]->alpha, 0.5f)
        << "planar shadows draw with the first material of the registry";
    StartMatch();
    EXPECT_FALSE(game->quit);
}

TEST_F(GameTest, TheKeysThatWorkedTheMenuNeverReachTheFighters) {
    Controller* second = System::instance()->controller[1];
    second->pending = Controller::CMD_D;  // Down moved the highlight
    second->idle = false;
    StartMatch();
    EXPECT_EQ(second->pending, 0);
    EXPECT_EQ(second->ready, 0);
    EXPECT_TRUE(second->idle);
}

TEST_F(GameTest, QuitEndsTheGame) {
    Choose(MainMenu::QUIT);
    EXPECT_TRUE(game->quit);
    EXPECT_TRUE(game->menuActive) << "the match never starts";
}

TEST_F(GameTest, F12CyclesTheFourCameras) {
    StartMatch();
    for (int expected : {1, 2, 3, 0}) {
        Press(SDLK_F12);
        game->UpdateCamera();
        EXPECT_EQ(game->cameraMode, expected);
    }
}

TEST_F(GameTest, F3FreezesAndResumesTheClock) {
    StartMatch();
    Clock* clock = System::instance()->clock;
    Press(SDLK_F3);
    game->UpdateCamera();
    EXPECT_EQ(clock->mode, 0);
    const int frozen = clock->time;
    Keys({});
    SDL_Delay(20);
    game->RenderFrame();
    EXPECT_EQ(clock->time, frozen);
    Press(SDLK_F3);
    game->UpdateCamera();
    EXPECT_EQ(clock->mode, 1);
}

TEST_F(GameTest, FightersAtOnePointPutTheCameraStraightAboveThem) {
    StartMatch();
    game->persons[0]->worldPos = game->persons[1]->worldPos = Vector3(10, 0, 20);
    game->UpdateCamera();
    const Vector3 middle(10, 45, 20);
    EXPECT_NEAR(game->mainCamera.from.x, middle.x, 1e-3);
    EXPECT_NEAR(game->mainCamera.from.y, middle.y + 30, 1e-3);
    EXPECT_NEAR(game->mainCamera.from.z, middle.z, 1e-3);
}

TEST_F(GameTest, ABoutEndsWithTheCaptionInSlowMotionAndTheNextBoutStarts) {
    StartMatch();
    Clock* clock = System::instance()->clock;
    game->seqs[1]->lost = true;
    game->RenderFrame();
    EXPECT_EQ(game->winner, 0);
    EXPECT_TRUE(game->seqs[0]->won);
    EXPECT_EQ(game->cameraMode, 4);
    EXPECT_EQ(options->slowMotion, 2);
    EXPECT_EQ(game->winnerTime, clock->time);

    clock->SetMode(0);  // hold game time still while the caption slides in
    for (int frame = 0; frame < 20; ++frame) game->RenderFrame();
    EXPECT_EQ(game->captionDepth, 0) << "twenty frames of 50 each";
    game->RenderFrame();
    EXPECT_EQ(game->captionDepth, 0) << "and no further";

    clock->time = game->winnerTime + 501;
    game->RenderFrame();
    EXPECT_EQ(game->winner, -1);
    EXPECT_EQ(game->cameraMode, 0);
    EXPECT_EQ(options->slowMotion, 0);
    EXPECT_EQ(game->captionDepth, -1000);
    EXPECT_FALSE(game->seqs[0]->won);
    EXPECT_FALSE(game->seqs[1]->lost);
    EXPECT_EQ(game->seqs[1]->lifeBar->value, 100);
}

TEST_F(GameTest, WhenBothLoseAtOnceFighterZeroWins) {
    StartMatch();
    game->seqs[0]->lost = true;
    game->seqs[1]->lost = true;
    game->RenderFrame();
    EXPECT_EQ(game->winner, 0);
    EXPECT_TRUE(game->seqs[0]->won);
    EXPECT_TRUE(game->seqs[1]->won);
}

TEST_F(GameTest, F2SwitchesTheShadowMethod) {
    StartMatch();
    EXPECT_TRUE(game->scene->stencilShadows);
    Press(SDLK_F2);
    game->RenderFrame();
    EXPECT_FALSE(game->scene->stencilShadows);
    Press(SDLK_F2);
    game->RenderFrame();
    EXPECT_TRUE(game->scene->stencilShadows);
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
