#include "core/Game.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <optional>

#include "ai/ComputerController.h"
#include "frontend/ArenaSelect.h"
#include "frontend/ControlsScreen.h"
#include "frontend/FighterSelect.h"
#include "frontend/PauseScreen.h"
#include "frontend/ResultsScreen.h"
#include "frontend/TitleScreen.h"
#include "match/GameSeq.h"
#include "support/PlayedMatch.h"

namespace {

// A whole game on the fixture match, in the test's GL window.
class GameTest : public FixtureMatchTest {
protected:
    void SetUp() override {
        FixtureMatchTest::SetUp();
        game.emplace();
    }
    void TearDown() override {
        game.reset();
        FixtureMatchTest::TearDown();
    }
    void Press(int key) { Tap(key, [this] { game->RenderFrame(); }); }
    // Through the selects to a match of the fixture fighters.
    void Fight() {
        game->Act(Screen::TWO_PLAYERS);
        game->Act(Screen::DONE);
        game->Act(Screen::DONE);
        ASSERT_EQ(game->showing, nullptr);
    }

    std::optional<Game> game;
};

TEST_F(GameTest, OpensOnTheMainMenuAndFindsTheWayToAMatchAndBack) {
    EXPECT_EQ(game->showing, game->title.get());
    game->Act(Screen::TWO_PLAYERS);
    EXPECT_EQ(game->showing, game->fighterSelect.get());
    EXPECT_EQ(game->fighterSelect->picks[0], "fixture") << "the settings' fighters come first";
    game->Act(Screen::DONE);
    EXPECT_EQ(game->showing, game->arenaSelect.get());
    EXPECT_EQ(game->arenaSelect->pick, "floor");
    game->Act(Screen::BACK);
    EXPECT_EQ(game->showing, game->fighterSelect.get());
    game->Act(Screen::DONE);
    game->Act(Screen::DONE);
    EXPECT_TRUE(game->showing == nullptr && game->match->rules.round == 1) << "the match is played";
    game->Act(Screen::MAIN_MENU);
    game->Act(Screen::QUIT);
    EXPECT_TRUE(game->quit);
}

// P stops the game clock and the fighters; the pause menu's controls come
// back to it, and resuming gives the clock back.
TEST_F(GameTest, PauseFreezesTheClockAndTheFighters) {
    Fight();
    Clock* clock = System::instance()->clock;
    for (int frame = 0; frame < 5; ++frame) {
        FakeTicks::now += 20;
        game->RenderFrame();
    }
    Press(SDLK_p);
    ASSERT_EQ(game->showing, game->pause.get());
    const int frozen = clock->time;
    const Vector3 standing = game->match->persons[0]->worldPos;
    for (int frame = 0; frame < 10; ++frame) {
        FakeTicks::now += 100;
        game->RenderFrame();
    }
    EXPECT_TRUE(clock->time == frozen && game->match->persons[0]->worldPos == standing);
    game->Act(Screen::CONTROLS);
    game->Act(Screen::BACK);
    EXPECT_EQ(game->showing, game->pause.get());
    Press(SDLK_p);
    EXPECT_EQ(game->showing, nullptr) << "P resumes too";
    FakeTicks::now += 30;
    game->RenderFrame();
    EXPECT_EQ(clock->time, frozen + 30) << "the time paused is not made up";
}

TEST_F(GameTest, AFinishedMatchShowsTheResultsAndARematchStartsAgain) {
    Fight();
    game->match->rules.wins[1] = game->match->rules.WinsNeeded();
    game->match->over = true;
    game->RenderFrame();
    EXPECT_EQ(game->showing, game->results.get());
    game->Act(Screen::REMATCH);
    EXPECT_TRUE(game->showing == nullptr && game->match->rules.wins[1] == 0 && !game->match->over);
}

// One player gives player 2 to the computer, a demo both; a key ends the demo.
TEST_F(GameTest, EachWayToPlayGivesTheComputerItsSides) {
    struct Case {
        Screen::Event entry;
        bool computer[2];
    };
    for (const Case& c : {Case{Screen::ONE_PLAYER, {false, true}}, Case{Screen::TWO_PLAYERS, {false, false}},
                          Case{Screen::DEMO, {true, true}}}) {
        game->Act(Screen::MAIN_MENU);
        game->Act(c.entry);
        if (c.entry != Screen::DEMO) {
            game->Act(Screen::DONE);
            game->Act(Screen::DONE);
        }
        ASSERT_EQ(game->showing, nullptr) << c.entry;
        for (int i = 0; i < 2; ++i) {
            const Controller* computer = game->computers[i].get();
            EXPECT_EQ(computer != nullptr && game->match->seqs[i]->controller == computer, c.computer[i]) << c.entry;
        }
    }
    Press(SDLK_SPACE);
    EXPECT_EQ(game->showing, game->title.get());
}

TEST_F(GameTest, AMatchStartedAfterAMinuteInTheMenuBeginsWithANormalStep) {
    Clock* clock = System::instance()->clock;
    FakeTicks::now = clock->startTicks + clock->elapsed + 60000;
    Fight();
    const int before = clock->time;
    FakeTicks::now += 16;
    game->RenderFrame();
    EXPECT_EQ(clock->time - before, 16);
}

}  // namespace
