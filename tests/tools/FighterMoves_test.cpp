// The default fighters fight as designed: played headless through the
// match sequencers on the generated content, blows land at the distance the
// fighters really stand, guards block them, low blows get under a standing
// guard, and a knock-back near the edge rings the opponent out.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "input/Controller.h"
#include "support/ContentMatch.h"

namespace {

const int FRAME_MS = 16;

// A player whose keys the test holds and taps.
class Player : public Controller {
public:
    explicit Player(int player) : Controller(player) {}
    int held = 0;  // directions and guard
    int tap = 0;   // pressed for one frame
protected:
    int Sample() const override { return held | tap; }
};

class FighterMovesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ContentMatch::HasContent());
        match.emplace();
    }

    // Both fighters in their stance, `apart` from each other, the
    // defender `fromEdge` from the edge behind it.
    void Start(int attacker, float apart, float fromEdge = 150) {
        for (int i = 0; i < 2; ++i) player[i] = Player(i);
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
        for (int t = 0; t < ms; t += FRAME_MS) {
            const int before = match->guarded[0] + match->guarded[1];
            match->Frame(FRAME_MS);
            guardHits += match->guarded[0] + match->guarded[1] - before;
            for (Player& p : player) p.tap = 0;
        }
    }
    // Presses each command in turn, 260 ms apart, then lets the moves play out.
    void Press(int who, const std::vector<int>& commands) {
        const int directions = Controller::CMD_F | Controller::CMD_A | Controller::CMD_D;
        for (int bits : commands) {
            player[who].held = (player[who].held & Controller::CMD_G) | (bits & directions);
            player[who].tap = bits & ~directions;
            Run(260);
        }
        player[who].held &= Controller::CMD_G;
        Run(3000);
    }
    int Life(int who) const { return match->Life(who); }

    std::optional<ContentMatch> match;
    Player player[2] = {Player(0), Player(1)};
    int guardHits = 0;
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

TEST_F(FighterMovesTest, AStandingGuardBlocksHighButNotLow) {
    for (int attacker : {0, 1}) {
        for (int blow : {P, K}) {
            Start(attacker, 30);
            player[1 - attacker].held = G;
            guardHits = 0;
            Press(attacker, {blow});
            EXPECT_EQ(Life(1 - attacker), 100) << match->names[attacker] << " command " << blow;
            EXPECT_GT(guardHits, 0) << match->names[attacker] << " command " << blow;
        }
        Start(attacker, 30);
        player[1 - attacker].held = G;
        Press(attacker, {D | K});
        EXPECT_LT(Life(1 - attacker), 100) << match->names[attacker] << ": a sweep gets under the guard";
    }
}

TEST_F(FighterMovesTest, ACrouchingGuardBlocksLowBlows) {
    for (int attacker : {0, 1}) {
        Start(attacker, 30);
        player[1 - attacker].held = G | D;
        Press(attacker, {D | P});
        EXPECT_EQ(Life(1 - attacker), 100) << match->names[attacker];
    }
}

TEST_F(FighterMovesTest, TheHeavyBlowRingsOutAnOpponentNearTheEdgeButNotOneInTheMiddle) {
    for (int attacker : {0, 1}) {
        Start(attacker, 30, 40);
        Press(attacker, {F | K});
        EXPECT_TRUE(match->seq[1 - attacker]->lost) << match->names[attacker];

        Start(attacker, 30, 180);
        Press(attacker, {F | K});
        EXPECT_LT(Life(1 - attacker), 100) << match->names[attacker];
        EXPECT_FALSE(match->seq[1 - attacker]->lost) << match->names[attacker];
    }
}

}  // namespace
