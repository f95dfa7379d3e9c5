#include "match/Match.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "core/Clock.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "support/PlayedMatch.h"

namespace {

using Phase = RoundRules::Phase;

TEST_F(PlayedMatch, TheRoundsCaptionHoldsTheFightersThenTheFightBegins) {
    Controller* player = match->controllers[0];
    EXPECT_EQ(match->Phase(), Phase::INTRO);
    player->ready = Controller::CMD_P;
    Run(100);
    EXPECT_EQ(player->ready, 0) << "no command during the caption";
    Run(RoundRules::FIGHT_BEGINS_MS);
    EXPECT_EQ(match->Phase(), Phase::FIGHT);
    EXPECT_EQ(match->rules.SecondsLeft(match->Now()), 60);
}

// A ring-out decides the round in slow motion under the winner's camera;
// the next round starts with both fighters whole, and the last one ends
// the match, which then stands still.
TEST_F(PlayedMatch, ARingOutWinsTheRoundAndTheLastRoundTheMatch) {
    for (int round = 1; round <= 2; ++round) {
        Run(RoundRules::FIGHT_BEGINS_MS + 100);
        match->seqs[1]->lost = true;
        Run(20);
        EXPECT_EQ(match->rules.wins[0], round);
        EXPECT_EQ(match->camera.mode, FightCamera::VICTORY);
        EXPECT_EQ(options->slowMotion, 2);
        EXPECT_TRUE(match->seqs[0]->won);
        Run(Match::AFTERMATH_MS * 10 + 200);
        EXPECT_EQ(match->over, round == 2) << "round " << round;
    }
    EXPECT_EQ(match->rules.round, 2);
    EXPECT_EQ(match->Phase(), Phase::DECIDED) << "the match over stays decided";

    match->Start();
    EXPECT_EQ(match->rules.wins[0], 0);
    EXPECT_FALSE(match->seqs[1]->lost);
    EXPECT_EQ(match->seqs[1]->lifeBar->value, LifeBar::MAX_LIFE);
    EXPECT_EQ(options->slowMotion, 0);
    EXPECT_EQ(match->camera.mode, FightCamera::AUTOMATIC);
}

TEST_F(PlayedMatch, FunctionKeysSwitchShadowsFreezeTheClockAndCycleTheCameras) {
    Press(SDLK_F2);
    EXPECT_FALSE(scene->stencilShadows);
    Press(SDLK_F3);
    const int frozen = match->Now();
    Run(100);
    EXPECT_EQ(match->Now(), frozen);
    Press(SDLK_F3);
    for (FightCamera::Mode expected : {FightCamera::ORBIT_0, FightCamera::ORBIT_1, FightCamera::ORBIT_MIDDLE,
                                       FightCamera::AUTOMATIC}) {
        Press(SDLK_F12);
        EXPECT_EQ(match->camera.mode, expected);
    }
}

}  // namespace
