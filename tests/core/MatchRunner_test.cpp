// A replay refused from the menu: said once on the menu, by the file's name
// and line, with the match the menu stands over left as it was.
#include "core/MatchRunner.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

TEST(MatchRunnerTest, ARefusedReplayIsNoticedOnceByItsNameAndLine) {
    ScratchDir scratch;
    WriteFile("replays/cut.txt", "korvanthe-replay 1\narena");
    std::string fighters[2] = {"bront", "lyse"};
    std::string arena = "lakeshrine";
    MatchRunner runner(fighters, arena);
    EXPECT_FALSE(runner.Watch(std::filesystem::absolute("replays/cut.txt").string()));
    EXPECT_FALSE(runner.watching());
    EXPECT_EQ(runner.TakeNotice().rfind("Replay refused: cut.txt:2: expected", 0), 0u);
    EXPECT_EQ(runner.TakeNotice(), "");
    EXPECT_EQ(fighters[0] + fighters[1] + arena, "brontlyselakeshrine");
}
