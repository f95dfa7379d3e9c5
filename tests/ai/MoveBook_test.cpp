// What the computer learns from a fighter's files, on a fighter the test
// builds: its own commands, its own animations, nothing of the default ones.
#include "ai/MoveBook.h"

#include <gtest/gtest.h>

#include <string>

#include "ai/ComputerController.h"
#include "support/FixtureMatch.h"
#include "support/MatchHarness.h"

namespace {

using fixture::Key;
const int OPEN = 2, STRIKE = 1, BLOCK = 8;

// Walks in on "d" (held), guards on "u" (held), thrusts its arm on "ai".
std::string Tree(bool attack, bool guard, bool walk) {
    std::string tree = "stand idle.kaf - 1 CEN -\n";
    if (attack) tree += "  ai thrust.kaf hit.kaf 1 ARB -\n    * @ 1/*\n";
    if (guard) tree += "  u guard.kaf - 1 INT -\n    u @ 1/u\n    * @ 1/*\n";
    if (walk) tree += "  d step.kaf - 1 CEN -\n    * @ 1/*\n";
    return tree + "  * idle.kaf - 1 CEN -\n    * @ 1/*\n";
}

void WriteFighters(bool attack = true, bool guard = true, bool walk = true) {
    const Vector3 rest;
    const auto pose = [&](float seconds, float z, int torso, int arm = 0) {
        return Key(seconds).Pos(0, 0, z).Bone(fixture::TORSO, rest, torso).Bone(fixture::ARM, rest, arm);
    };
    fixture::WriteFighter(
        "kira", Tree(attack, guard, walk),
        {{"idle.kaf", fixture::StillKaf(1, OPEN)},
         {"hit.kaf", fixture::StillKaf(0.3f, OPEN)},
         {"thrust.kaf", fixture::Kaf({pose(0.05f, 0, OPEN), pose(0.1f, -20, OPEN, STRIKE),
                                      pose(0.1f, -20, OPEN, STRIKE), pose(0.15f, 0, OPEN)},
                                     20)},
         {"guard.kaf", fixture::Kaf({pose(0.05f, 0, BLOCK), pose(0.3f, 0, BLOCK)})},
         {"step.kaf", fixture::Kaf({pose(0.05f, 0, OPEN), pose(0.3f, -15, OPEN)})}});
    fixture::WriteLunger("mori");
    fixture::WriteScene("ring", 400, -300);
}

class MoveBookTest : public MatchTest {
protected:
    void StartComputer() {
        Start("ring");
        computer = std::make_unique<ComputerController>(0, *seq[0], *seq[1], Skill::LEVELS - 1, 5);
        seq[0]->controller = computer.get();
    }
    std::unique_ptr<ComputerController> computer;
};

TEST_F(MoveBookTest, TheComputerPlaysAFighterBuiltByTheTest) {
    WriteFighters();
    StartComputer();
    int guarded = 0, landed = 0;
    for (int t = 10; t <= 30000; t += 10) {
        if (t % 1200 == 0) controller[1].Latch(Controller::CMD_P);  // mori lunges
        At(t);
        computer->Update();
        Frame(t);
        if (seq[0]->guardHitPending) ++guarded;
        if (seq[1]->hitPending) ++landed;
        if (seq[0]->lost || seq[1]->lost) {
            for (auto& s : seq) s->Reset();
        }
    }
    EXPECT_GT(landed, 0) << "it attacked and landed";
    EXPECT_GT(guarded, 0) << "it guarded";
}

TEST_F(MoveBookTest, AFighterWithoutAnAttackAGuardOrAWalkStillPlaysWhatItCan) {
    struct Case {
        bool attack, guard, walk;
        const char* missing;
    };
    for (const Case& c : {Case{false, true, true, "attack"}, {true, false, true, "guard"},
                          {true, true, false, "walk"}, {false, false, false, "attack, guard, walk"}}) {
        WriteFighters(c.attack, c.guard, c.walk);
        StartComputer();
        EXPECT_EQ(computer->Book().missing, c.missing);
        for (int t = 10; t <= 5000; t += 10) {
            At(t);
            computer->Update();
            Frame(t);
        }
        seq[0].reset();
        seq[1].reset();
    }
}

}  // namespace
