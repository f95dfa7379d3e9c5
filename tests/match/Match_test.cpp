#include "match/Match.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/Clock.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "math/Vector4.h"
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
        EXPECT_TRUE(match->rules.wins[0] == round && match->seqs[0]->won);
        EXPECT_TRUE(match->camera.mode == FightCamera::VICTORY && options->slowMotion == 2);
        Run(Match::AFTERMATH_MS * 10 + 200);
        EXPECT_EQ(match->over, round == 2) << "round " << round;
    }
    EXPECT_EQ(match->rules.round, 2);
    EXPECT_EQ(match->Phase(), Phase::DECIDED) << "the match over stays decided";
    match->Start();
    EXPECT_TRUE(match->rules.wins[0] == 0 && !match->seqs[1]->lost && match->seqs[1]->lifeBar->value == LifeBar::MAX_LIFE);
    EXPECT_TRUE(options->slowMotion == 0 && match->camera.mode == FightCamera::AUTOMATIC);
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

// Where p lies in the camera's view: -1 to 1 across and up the window.
Vector3 OnScreen(const Camera& c, const Vector3& p) { return Vector3(c.projection * (c.view * Vector4(p))); }

// Each orbit starts with its fighters whole in the view; however the mouse
// then turns and draws it in, the eye stays clear of every joint.
TEST_F(PlayedMatch, OrbitsFrameTheirFightersAndNeverEnterABody) {
    Run(500);
    const struct {
        int dx, dy;
        bool turn, zoom;
    } drags[] = {{0, 0, false, false}, {0, -400, false, true}, {90, 200, true, false},
                 {0, -400, true, true}, {-300, -500, true, true}};
    for (FightCamera::Mode mode : {FightCamera::ORBIT_0, FightCamera::ORBIT_1, FightCamera::ORBIT_MIDDLE}) {
        Press(SDLK_F12);
        ASSERT_EQ(match->camera.mode, mode);
        for (int f = 0; f < 2; ++f) {
            if ((mode == FightCamera::ORBIT_0 && f == 1) || (mode == FightCamera::ORBIT_1 && f == 0)) continue;
            for (int b = 0; b < fighters[f]->bones.count; ++b) {
                const Vector3 p = OnScreen(match->camera.camera, fighters[f]->bones[b]->worldPos);
                EXPECT_TRUE(std::fabs(p.x) < 1 && std::fabs(p.y) < 1) << "mode " << mode << ", fighter " << f << ", joint " << b;
            }
        }
        for (const auto& drag : drags) {
            match->camera.Drag(drag.dx, drag.dy, drag.turn, drag.zoom);
            match->camera.Update(*fighters[0], *fighters[1], match->Now());
            for (const Ptr<Person>& fighter : fighters) {
                for (int b = 0; b < fighter->bones.count; ++b) {
                    EXPECT_GT((match->camera.camera.from - fighter->bones[b]->worldPos).Length(), 20) << mode << " " << drag.dx;
                }
            }
        }
    }
}

}  // namespace
