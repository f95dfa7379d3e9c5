// The default fighters fight as designed: played headless through the
// match sequencers on the generated content, blows land at the distance the
// fighters really stand, guards block them, low blows get under a standing
// guard, and a knock-back near the edge rings the opponent out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "character/Person.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "math/Ptr.h"
#include "scene/Scene.h"

namespace {

const char* const DATA = KORVANTHE_DATA_DIR;
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
        ASSERT_TRUE(std::filesystem::exists(std::string(DATA) + "/settings.txt"));
        System::instance();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(DATA);
        savedDisplay = System::instance()->display;
        System::instance()->display = new Display();
        Clock& clock = *System::instance()->clock;
        savedClock = clock;
        std::ifstream settings("settings.txt");
        std::string label;
        settings >> label >> arena >> label >> names[0] >> label >> names[1];
        scene = std::make_unique<Scene>(arena);
    }
    void TearDown() override {
        seq[0].reset();
        seq[1].reset();
        fighter[0] = nullptr;
        fighter[1] = nullptr;
        scene.reset();
        Clock& clock = *System::instance()->clock;
        clock.time = savedClock.time;
        clock.delta = savedClock.delta;
        clock.mode = savedClock.mode;
        System::instance()->display = savedDisplay;
        std::filesystem::current_path(previous);
    }

    // Both fighters in their stance, `apart` from each other, the
    // defender `fromEdge` from the edge behind it.
    void Start(int attacker, float apart, float fromEdge = 150) {
        time = 0;
        for (int i = 0; i < 2; ++i) {
            player[i] = Player(i);
            fighter[i] = new Person(names[i], 1);
        }
        seq[0] = std::make_unique<GameSeq>(fighter[0], fighter[1], &player[0], 0, scene.get());
        seq[1] = std::make_unique<GameSeq>(fighter[1], fighter[0], &player[1], 1, scene.get());
        Run(600);
        const int defender = 1 - attacker;
        // Player 0 stands on +z facing -z, player 1 on -z facing +z.
        const float back = defender == 0 ? 1.0f : -1.0f;
        const float half = scene->arenaSize / 2;
        Place(defender, back * (half - fromEdge));
        Place(attacker, back * (half - fromEdge - apart));
        Run(500);
    }
    void Place(int i, float z) {
        const Vector3 offset = Vector3(0, 0, z) - fighter[i]->position;
        for (int slot = 0; slot < 4; ++slot) seq[i]->rootSpline.pos[slot] += offset;
        seq[i]->rootSpline.CalcSegment();
        seq[i]->basePos += offset;
    }
    void Frame() {
        time += FRAME_MS;
        Clock& clock = *System::instance()->clock;
        clock.time = time;
        clock.delta = FRAME_MS;
        clock.mode = 1;
        for (Player& p : player) p.Update();
        seq[0]->Update();
        seq[1]->Update();
        seq[0]->CheckCollision();
        seq[1]->CheckCollision();
        if (seq[0]->guardHitPending || seq[1]->guardHitPending) ++guardHits;
        for (Player& p : player) p.tap = 0;
    }
    void Run(int ms) {
        for (int t = 0; t < ms; t += FRAME_MS) Frame();
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
    int Life(int who) const { return seq[who]->lifeBar->value; }

    std::filesystem::path previous;
    Display* savedDisplay = nullptr;
    Clock savedClock;
    std::string arena, names[2];
    std::unique_ptr<Scene> scene;
    Player player[2] = {Player(0), Player(1)};
    Ptr<Person> fighter[2];
    std::unique_ptr<GameSeq> seq[2];
    int time = 0;
    int guardHits = 0;
};

const int P = Controller::CMD_P, K = Controller::CMD_K, D = Controller::CMD_D;
const int F = Controller::CMD_F, G = Controller::CMD_G;

TEST_F(FighterMovesTest, PunchesKicksAndLowBlowsLandAtTheDistanceTheFightersStand) {
    for (int attacker : {0, 1}) {
        for (const std::vector<int>& blow : {std::vector<int>{P}, {K}, {D | P}, {D | K}}) {
            Start(attacker, 30);
            Press(attacker, blow);
            EXPECT_LT(Life(1 - attacker), 100) << names[attacker] << " command " << blow[0];
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
        EXPECT_GT(100 - Life(1 - attacker), one) << names[attacker];
    }
}

TEST_F(FighterMovesTest, AStandingGuardBlocksHighButNotLow) {
    for (int attacker : {0, 1}) {
        for (int blow : {P, K}) {
            Start(attacker, 30);
            player[1 - attacker].held = G;
            guardHits = 0;
            Press(attacker, {blow});
            EXPECT_EQ(Life(1 - attacker), 100) << names[attacker] << " command " << blow;
            EXPECT_GT(guardHits, 0) << names[attacker] << " command " << blow;
        }
        Start(attacker, 30);
        player[1 - attacker].held = G;
        Press(attacker, {D | K});
        EXPECT_LT(Life(1 - attacker), 100) << names[attacker] << ": a sweep gets under the guard";
    }
}

TEST_F(FighterMovesTest, ACrouchingGuardBlocksLowBlows) {
    for (int attacker : {0, 1}) {
        Start(attacker, 30);
        player[1 - attacker].held = G | D;
        Press(attacker, {D | P});
        EXPECT_EQ(Life(1 - attacker), 100) << names[attacker];
    }
}

TEST_F(FighterMovesTest, TheHeavyBlowRingsOutAnOpponentNearTheEdgeButNotOneInTheMiddle) {
    for (int attacker : {0, 1}) {
        Start(attacker, 30, 40);
        Press(attacker, {F | K});
        EXPECT_TRUE(seq[1 - attacker]->lost) << names[attacker];

        Start(attacker, 30, 180);
        Press(attacker, {F | K});
        EXPECT_LT(Life(1 - attacker), 100) << names[attacker];
        EXPECT_FALSE(seq[1 - attacker]->lost) << names[attacker];
    }
}

}  // namespace
