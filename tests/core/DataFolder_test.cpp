#include "core/DataFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/ScratchDir.h"

namespace {

TEST(DataFolder, TheWorkingDirectoryWinsThenTheFolderBesideTheGame) {
    ScratchDir dir;
    ScratchDir::Write("prefix/share/korvanthe/device.cfg", "");
    ScratchDir::Write("mod/device.cfg", "");
    std::filesystem::create_directories("elsewhere");
    const std::string here = std::filesystem::current_path().string();
    const std::string game = here + "/prefix/bin/korvanthe";
    struct Case {
        std::string working, executable, expected;
    } const cases[] = {
        {here + "/elsewhere", game, here + "/prefix/share/korvanthe"},
        {here + "/mod", game, ""},
        {here + "/elsewhere", here + "/elsewhere/korvanthe", ""},  // nothing installed there
        {here + "/elsewhere", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DataFolder::Choose(c.working, c.executable), c.expected) << c.working;
    }
    EXPECT_EQ(DataFolder::Installed("/opt/k/bin/korvanthe"), "/opt/k/share/korvanthe");
}

}  // namespace
