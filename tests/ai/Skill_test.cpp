#include "ai/Skill.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Skill, EachLevelDecidesBetterThanTheOneBelowUnderANameTheMenuCanShow) {
    EXPECT_NEAR(Skill::Level(0).reactionMs, 400, 25);
    EXPECT_NEAR(Skill::Level(Skill::LEVELS - 1).reactionMs, 150, 25);
    for (int level = 1; level < Skill::LEVELS; ++level) {
        const Skill below = Skill::Level(level - 1), skill = Skill::Level(level);
        EXPECT_LT(skill.reactionMs, below.reactionMs) << level;
        EXPECT_GT(skill.guard, below.guard) << level;
        EXPECT_GT(skill.best, below.best) << level;
        EXPECT_GT(skill.combo, below.combo) << level;
        EXPECT_EQ(std::string(skill.name).find_first_not_of("abcdefghijklmnopqrstuvwxyz "),
                  std::string::npos)
            << skill.name;
    }
    EXPECT_EQ(std::string(Skill::Level(-3).name), Skill::Level(0).name);
    EXPECT_EQ(std::string(Skill::Level(99).name), Skill::Level(Skill::LEVELS - 1).name);
}

}  // namespace
