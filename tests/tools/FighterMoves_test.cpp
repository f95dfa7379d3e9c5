// The default fighters fight as designed: played headless through the
// match sequencers on the generated content, blows land at the distance the
// fighters really stand, guards block them, low blows get under a standing
// guard, and a knock-back near the edge rings the opponent out.
#include <gtest/gtest.h>

#include <vector>

#include "support/MatchHarness.h"

namespace {

const int FRAME_MS = 16;

class FighterMovesTest : public ContentMatchTest {
protected:

    // Both fighters in their stance, `apart` from each other, the
    // defender `fromEdge` from the edge behind it.
    void Start(int attacker, float apart, float fromEdge = 150) {
        for (ScriptedController& p : player) p.held = 0;
        match->Start(&player[0], &player[1]);
        Run(600);
        const int defender = 1 - attacker;
        // Player 0 stands on +z facing -z, player 1 on -z facing +z.
        const float back = defender == 0 ? 1.0f : -1.0f;
        const float half = match->scene->arenaSize / 2;
        match->Place(defender, back * (half - fromEdge));
        match->Place(attacker, back * (half - fromEdge - apart));
        Run(500);
    }
    void Run(int ms) {
        for (int t = 0; t < ms; t += FRAME_MS) match->Frame(FRAME_MS);
    }
    // Presses each command in turn (its directions held, the rest for one
    // frame), 260 ms apart, then lets the moves play out.
    void Press(int who, const std::vector<int>& commands) {
        const int guard = player[who].held & Controller::CMD_G;
        const int directions = Controller::CMD_F | Controller::CMD_A | Controller::CMD_D;
        for (int bits : commands) {
            player[who].held = guard | bits;
            Run(FRAME_MS);
            player[who].held = guard | (bits & directions);
            Run(260 - FRAME_MS);
        }
        player[who].held = guard;
        Run(3000);
    }
    int Life(int who) const { return match->Life(who); }

    ScriptedController player[2] = {ScriptedController(0), ScriptedController(1)};
};

const int P = Controller::CMD_P, K = Controller::CMD_K, D = Controller::CMD_D;
const int F = Controller::CMD_F, G = Controller::CMD_G;

TEST_F(FighterMovesTest, PunchesKicksAndLowBlowsLandAtTheDistanceTheFightersStand) {
    for (int attacker : {0, 1}) {
        for (const std::vector<int>& blow : {std::vector<int>{P}, {K}, {D | P}, {D | K}}) {
            Start(attacker, 30);
            Press(attacker, blow);
            EXPECT_LT(Life(1 - attacker), 100) << match->names[attacker] << " command " << blow[0];
        }
    }
}

TEST_F(FighterMovesTest, ACombosSecondBlowLandsToo) {
    for (int attacker : {0, 1}) {
        Start(attacker, 30);
        Press(attacker, {P});
        const int one = 100 - Life(1 - attacker);
        Start(attacker, 30);
        Press(attacker, {P, P});
        EXPECT_GT(100 - Life(1 - attacker), one) << match->names[attacker];
    }
}

// A standing guard blocks high blows, not a sweep; a crouching one blocks low blows.
TEST_F(FighterMovesTest, GuardsBlockTheBlowsTheyCover) {
    const struct {
        int guard, blow;
        bool blocked;
    } cases[] = {{G, P, true}, {G, K, true}, {G, D | K, false}, {G | D, D | P, true}};
    for (int attacker : {0, 1}) {
        for (const auto& c : cases) {
            Start(attacker, 30);
            player[1 - attacker].held = c.guard;
            Press(attacker, {c.blow});
            EXPECT_TRUE(c.blocked ? Life(1 - attacker) == 100 && match->guarded[1 - attacker] > 0 : Life(1 - attacker) < 100)
                << match->names[attacker] << " guard " << c.guard << " command " << c.blow;
        }
    }
}

TEST_F(FighterMovesTest, TheHeavyBlowRingsOutAnOpponentNearTheEdgeButNotOneInTheMiddle) {
    for (int attacker : {0, 1}) {
        Start(attacker, 30, 40);
        Press(attacker, {F | K});
        EXPECT_TRUE(match->seq[1 - attacker]->lost) << match->names[attacker];

        Start(attacker, 30, 180);
        Press(attacker, {F | K});
        EXPECT_TRUE(Life(1 - attacker) < 100 && !match->seq[1 - attacker]->lost) << match->names[attacker];
    }
}

}  // namespace
