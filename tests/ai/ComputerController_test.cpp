// The computer opponent on the default fighters, headless.
#include "ai/ComputerController.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "support/Attacker.h"
#include "support/ContentMatch.h"
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
        const std::string& first = match->names[swap ? 1 : 0];
        const std::string& second = match->names[swap ? 0 : 1];
        match->Start(nullptr, nullptr, first, second);
        const int levels[2] = {level0, level1};
        for (int i = 0; i < 2; ++i) {
            computer[i].reset();
            if (levels[i] >= 0) {
                computer[i] = std::make_unique<ComputerController>(
                    i, *match->seq[i], *match->seq[1 - i], levels[i], seed + i);
            }
            Controller* c = levels[i] >= 0 ? computer[i].get() : other;
            match->controller[i] = match->seq[i]->controller = c;
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
        match->controller[0] = match->seq[0]->controller = &attacker;
        while (match->hits[1] + match->guarded[1] < 80 && match->time < 600000) {
            Bout(60000);
            match->NextBout();
        }
        share[level] = static_cast<float>(match->guarded[1]) / (match->guarded[1] + match->hits[1]);
    }
    // 80 blows a level leave about 0.08 of noise between two levels' shares:
    // no level falls more than twice that below the one beneath it, and the
    // rise shows clearly over the range.
    for (int level = 1; level < LEVELS; ++level) {
        EXPECT_GT(share[level], share[level - 1] - 0.16f) << "level " << level;
    }
    EXPECT_GT(share[4] + share[5] + share[6], share[0] + share[1] + share[2] + 0.3f);
    EXPECT_GT(share[LEVELS - 1], 0.6f) << "the strongest guards most blows";
}

TEST_F(ComputerTest, TheStrongestLevelBeatsTheWeakest) {
    int strongWins = 0;
    for (int bout = 0; bout < 20; ++bout) {  // every bout within two minutes
        const int strong = bout % 2;  // either side, either fighter
        Start(strong == 0 ? LEVELS - 1 : 0, strong == 1 ? LEVELS - 1 : 0, 100 + bout, bout % 4 >= 2);
        strongWins += Bout(120000) == strong;
    }
    EXPECT_GE(strongWins, 15);
}

TEST_F(ComputerTest, TheSameSeedAndClockGiveTheSameBout) {
    std::vector<int> lives[2];
    for (std::vector<int>& record : lives) {
        Start(2, 5, 77);
        for (int t = 0; t < 20000; t += FRAME_MS) {
            match->Frame(FRAME_MS);
            record.push_back(match->Life(0) * 1000 + match->Life(1));
        }
    }
    EXPECT_EQ(lives[0], lives[1]);
    EXPECT_NE(lives[0].front(), lives[0].back()) << "blows landed";
}

}  // namespace
