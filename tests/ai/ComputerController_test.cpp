// The computer opponent on the default fighters, headless; and what it learns
// from a fighter's files, on a fighter the test builds: its own commands, its
// own animations, nothing of the default ones.
#include "ai/ComputerController.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ai/MoveBook.h"
#include "support/MatchHarness.h"

namespace {

const int FRAME_MS = 16;
const int LEVELS = Skill::LEVELS;

class ComputerTest : public ContentMatchTest {
protected:
    // A new match, the fighters of settings.txt swapped when `swap`; a side
    // whose level is below 0 is played by `other`.
    void Start(int level0, int level1, std::uint64_t seed, bool swap = false,
               Controller* other = nullptr) {
        match->Start(nullptr, nullptr, match->names[swap ? 1 : 0], match->names[swap ? 0 : 1]);
        const int levels[2] = {level0, level1};
        for (int i = 0; i < 2; ++i) {
            computer[i].reset();
            if (levels[i] >= 0)
                computer[i] = std::make_unique<ComputerController>(i, *match->seq[i], *match->seq[1 - i], levels[i], seed + i);
            match->Play(i, levels[i] >= 0 ? computer[i].get() : other);
        }
    }
    int Bout(int limitMs) { return match->PlayBout(limitMs, FRAME_MS); }

    std::unique_ptr<ComputerController> computer[2];
};

TEST_F(ComputerTest, AtEveryLevelItBeatsAFighterWhoOnlyStands) {
    for (int level = 0; level < LEVELS; ++level) {
        const int side = level % 2;
        ScriptedController statue(1 - side);  // never presses anything
        Start(side == 0 ? level : -1, side == 1 ? level : -1, 10 + level, false, &statue);
        EXPECT_TRUE(Bout(60000) == side && match->hits[1 - side] > 0) << "level " << level;
    }
}

TEST_F(ComputerTest, TheHigherTheLevelTheMoreOfAnAttackersBlowsItGuards) {
    float share[LEVELS];
    for (int level = 0; level < LEVELS; ++level) {
        Start(-1, level, 20 + level);
        Attacker attacker(0, *match->seq[0], *match->seq[1]);
        match->Play(0, &attacker);
        while (match->hits[1] + match->guarded[1] < 80 && match->time < 600000) {
            Bout(60000);
            match->NextBout();
        }
        share[level] = static_cast<float>(match->guarded[1]) / (match->guarded[1] + match->hits[1]);
    }
    // 80 blows a level leave about 0.08 of noise between two levels' shares:
    // no level falls more than twice that below the one beneath it, and the
    // rise shows clearly over the range.
    for (int level = 1; level < LEVELS; ++level) EXPECT_GT(share[level], share[level - 1] - 0.16f) << "level " << level;
    EXPECT_GT(share[4] + share[5] + share[6], share[0] + share[1] + share[2] + 0.3f);
    EXPECT_GT(share[LEVELS - 1], 0.6f) << "the strongest guards most blows";
}

TEST_F(ComputerTest, TheStrongestLevelBeatsTheWeakest) {
    int strongWins = 0;
    for (int bout = 0; bout < 20; ++bout) {
        const int strong = bout % 2;  // either side, either fighter
        Start(strong == 0 ? LEVELS - 1 : 0, strong == 1 ? LEVELS - 1 : 0, 100 + bout, bout % 4 >= 2);
        strongWins += Bout(120000) == strong;
    }
    EXPECT_GE(strongWins, 15);
}

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
