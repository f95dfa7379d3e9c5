#include "frontend/ReplayList.h"

#include <gtest/gtest.h>

TEST(ReplayListTest, NamesAReplayByItsDate) {
    const struct {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/home/p/replays/replay-2026-12-06_21-05-09.txt", "2026-12-06 21:05:09"},
        {"replay-2026-12-06_21-05-09_003.txt", "2026-12-06 21:05:09 - 3"},
        {"/tmp/my_best_bout.txt", "my_best_bout.txt"},
        {"replay-short.txt", "replay-short.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReplayList::Title(c.path), c.shown) << c.path;
}
