// Where replays are kept: the player's data folder, the newest found first,
// and no more than a score of them.
#include "replay/Recorder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "support/ScratchDir.h"

TEST(RecorderTest, KeepsTheNewestReplaysInThePlayersDataFolder) {
    ScratchDir scratch;
    setenv("XDG_DATA_HOME", std::filesystem::current_path().c_str(), 1);
    Replay replay;
    replay.frames.resize(1);
    std::string last;
    for (int match = 0; match < Recorder::KEPT + 5; ++match) last = Recorder::Keep(replay);
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Recorder::Folder())) kept += entry.is_regular_file();
    EXPECT_EQ(kept, Recorder::KEPT);
    EXPECT_EQ(Recorder::Latest(), last);
    EXPECT_EQ(Recorder().End(), "");  // a match of no frames is not kept
    unsetenv("XDG_DATA_HOME");
}
