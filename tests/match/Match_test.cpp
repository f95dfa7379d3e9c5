#include "match/Match.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "match/RoundRules.h"
#include "math/Vector4.h"
#include "support/PlayedMatch.h"
#include "support/Screenshot.h"

namespace {

using Phase = RoundRules::Phase;

TEST_F(PlayedMatch, TheRoundsCaptionHoldsTheFightersThenTheFightBegins) {
    Controller* player = match->controllers[0];
    player->ready = Controller::CMD_P;
    Run(100);
    EXPECT_EQ(player->ready, 0) << "no command during the caption";
    Run(RoundRules::FIGHT_BEGINS_MS);
    EXPECT_TRUE(match->Phase() == Phase::FIGHT && match->rules.SecondsLeft(match->Now()) == 60);
}

// A ring-out decides the round in slow motion under the winner's camera;
// the next round starts with both fighters whole, and the last one ends
// the match, which then stands still.
TEST_F(PlayedMatch, ARingOutWinsTheRoundAndTheLastRoundTheMatch) {
    for (int round = 1; round <= 2; ++round) {
        Run(RoundRules::FIGHT_BEGINS_MS + 100);
        match->seqs[1]->lost = true;
        Run(20);
        EXPECT_TRUE(match->rules.wins[0] == round && match->seqs[0]->won && match->camera.mode == FightCamera::VICTORY &&
                    options->slowMotion == 2);
        Run(Match::AFTERMATH_MS * 10 + 200);
        EXPECT_EQ(match->over, round == 2) << "round " << round;
    }
    EXPECT_TRUE(match->rules.round == 2 && match->Phase() == Phase::DECIDED) << "the match over stays decided";
    match->Start();
    EXPECT_TRUE(match->rules.wins[0] == 0 && !match->seqs[1]->lost && match->seqs[1]->lifeBar->value == LifeBar::MAX_LIFE &&
                options->slowMotion == 0 && match->camera.mode == FightCamera::AUTOMATIC);
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

// Where p lies in the camera's view: -1 to 1 across, up and in depth.
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
                // Depth too: a joint behind the eye can project inside the window.
                EXPECT_TRUE(std::fabs(p.x) < 1 && std::fabs(p.y) < 1 && std::fabs(p.z) < 1)
                    << "mode " << mode << ", fighter " << f << ", joint " << b;
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

using End = RoundRules::End;
const int FIGHT = RoundRules::FIGHT_BEGINS_MS;

// One round of a 60 s match judged at a moment of the fight.
TEST(RoundRules, HowARoundIsDecided) {
    struct Case {
        const char* what;
        int foughtMs;  // since the fight began
        int life[2];
        bool lost[2];
        End end;
        int winner;
    } const cases[] = {
        {"time up, more life wins", 60000, {70, 40}, {false, false}, End::TIME_UP, 0},
        {"time up, the other has more", 60000, {30, 60}, {false, false}, End::TIME_UP, 1},
        {"time up, equal life is a draw", 60000, {50, 50}, {false, false}, End::TIME_UP, -1},
        {"a second before the bell", 59000, {70, 40}, {false, false}, End::NONE, -1},
        {"ring-out", 3000, {100, 100}, {false, true}, End::KNOCKOUT, 0},
        {"both down in one frame is a draw", 3000, {0, 0}, {true, true}, End::KNOCKOUT, -1},
        {"nothing is judged before the fight", -500, {100, 100}, {true, false}, End::NONE, -1},
    };
    for (const Case& c : cases) {
        RoundRules rules(3, 60);
        rules.StartMatch(1000);
        EXPECT_TRUE(rules.Judge(1000 + FIGHT + c.foughtMs, c.life, c.lost) == c.end && rules.winner == c.winner) << c.what;
    }
    // Without a timer there is no clock to run out: only a knockout ends a round.
    EXPECT_EQ(RoundRules(3, 0).SecondsLeft(FIGHT + 3600000), -1);
}

// Matches played round by round: the winner of each (-1 a draw), the round
// each was fought as, and whether the match is then over.
TEST(RoundRules, BestOfOneThreeAndFive) {
    struct Round {
        int winner;
        int number;
        bool over;
    };
    struct Case {
        int bestOf;
        std::vector<Round> rounds;
    } const cases[] = {
        {1, {{1, 1, true}}},
        {3, {{0, 1, false}, {1, 2, false}, {0, 3, true}}},
        {3, {{0, 1, false}, {-1, 2, false}, {0, 2, true}}},
        {5, {{1, 1, false}, {1, 2, false}, {0, 3, false}, {1, 4, true}}},
    };
    for (const Case& c : cases) {
        RoundRules rules(c.bestOf, 60);
        int now = 0;
        rules.StartMatch(now);
        for (const Round& r : c.rounds) {
            EXPECT_EQ(rules.round, r.number) << "best of " << c.bestOf;
            // Every round ends in a ring-out in its fourth second.
            const int life[2] = {100, 100};
            const bool lost[2] = {r.winner == 1 || r.winner < 0, r.winner == 0 || r.winner < 0};
            now += FIGHT + 3000;
            rules.Judge(now, life, lost);
            EXPECT_EQ(rules.MatchOver(), r.over) << "best of " << c.bestOf << ", round " << r.number;
            rules.NextRound(now);
        }
    }
}

TEST(RoundRules, TheClockCountsTheFightAndStopsWhenTheRoundIsDecided) {
    RoundRules rules(3, 30);
    rules.StartMatch(500);
    EXPECT_TRUE(rules.SecondsLeft(500) == 30 && rules.PhaseAt(500 + FIGHT - 1) == Phase::INTRO)
        << "the caption takes none of it";
    EXPECT_EQ(rules.SecondsLeft(500 + FIGHT + 10500), 20);
    const int life[2] = {10, 100};
    const bool lost[2] = {true, false};
    rules.Judge(500 + FIGHT + 10500, life, lost);
    EXPECT_TRUE(rules.PhaseAt(500 + FIGHT + 20000) == Phase::DECIDED && rules.SecondsLeft(500 + FIGHT + 20000) == 20);
    rules.RestartRound(40000);
    EXPECT_TRUE(rules.wins[1] == 0 && rules.round == 1) << "the round restarted is not won yet";
    EXPECT_EQ(rules.SecondsLeft(40000 + FIGHT), 30);
}

TEST(LifeBar, LifeStaysBetweenZeroAndAHundredAndOnePointIsAlive) {
    LifeBar bar(0);
    bar -= 150;
    EXPECT_TRUE(bar.value == 0 && bar.Dead());
    bar += 130;
    bar -= 99;
    EXPECT_TRUE(bar.value == 1 && !bar.Dead());
}

TEST(LifeBar, AQuarterOfTheScreenATwentiethInFromItsSideInWholePixels) {
    const struct {
        int player, width, life;
        LifeBar::Span span;
    } cases[] = {
        {0, 800, 100, {40, 240, 240}},    {1, 800, 100, {560, 760, 760}},
        {0, 800, 50, {40, 140, 240}},     {1, 800, 50, {560, 660, 760}},
        {0, 800, 0, {40, 40, 240}},       // no life, no filled part
        {0, 1023, 100, {51, 306, 306}},   // a quarter of 1023 is 255.75, a twentieth 51.15
        {1, 1023, 33, {717, 801, 972}},   // 255 × 33 / 100 = 84.15
    };
    for (const auto& c : cases) {
        LifeBar bar(c.player);
        bar.value = c.life;
        const LifeBar::Span s = bar.Edges(c.width);
        EXPECT_TRUE(s.left == c.span.left && s.fill == c.span.fill && s.right == c.span.right)
            << c.player << " " << c.width << " " << c.life << ": " << s.left << " " << s.fill << " " << s.right;
    }
}

// In the 64-pixel window a bar is 16 pixels long and 3 in from its side,
// between rows 20 and 40 from the top.
class LifeBarDraw : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glClearColor(0.5f, 0.5f, 0.5f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The colour at column x of row 30 from the top.
    static Pixel At(int x) { return ReadPixel(x, HEIGHT - 1 - 30); }
    static bool IsBackground(int x) { return std::abs(At(x).r - 128) < 8 && std::abs(At(x).g - 128) < 8; }
    static bool IsBlack(int x) { return At(x).Sum() < 30; }
    DisplayGuard display;
};

TEST_F(LifeBarDraw, FadesFromWhiteToTheLifeColourInsideABlackFrame) {
    LifeBar full(0);
    full.Draw();
    EXPECT_GT(std::min({At(4).r, At(4).g, At(4).b}), 200) << "white at the start";
    EXPECT_TRUE(At(17).b > 200 && At(17).r + At(17).g < 160) << "full life ends in blue";
    LifeBar low(1);  // from 45 to 61
    low -= 75;       // filled to 49
    low.Draw();
    EXPECT_GT(At(48).r, At(48).b + 60) << "a quarter of life leans to red";
    EXPECT_TRUE(IsBackground(55)) << "no fill beyond the life left";
    glClear(GL_COLOR_BUFFER_BIT);
    low -= 25;
    low.Draw();
    LifeBar().Draw();  // a bar without a player is not drawn
    int black = 0, background = 0;
    for (int x = 0; x < WIDTH; ++x) {
        black += IsBlack(x);
        background += IsBackground(x);
    }
    EXPECT_TRUE(black == 2 && background == WIDTH - 2) << "only the frame's two sides cross the middle row";
}

}  // namespace
