#include "core/UserDirs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/Screenshot.h"
#include "support/ScratchDir.h"

namespace {

// The player's own files and a usable or unusable config folder, and what a
// screenshot holds, are played through by the install end-to-end test; here,
// where screenshots go and what they are called.
TEST(UserDirs, PicturesFollowTheVariableThenUserDirsThenHome) {
    ScratchDir dir;
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", std::filesystem::current_path().c_str(), 1);
    setenv("HOME", "/home/p", 1);
    struct Case {
        const char* variable;  // XDG_PICTURES_DIR, or null for none
        const char* userDirs;  // user-dirs.dirs, or null for none
        const char* expected;
    } const cases[] = {
        {"/shots", nullptr, "/shots"},
        {"shots", nullptr, "/home/p/Pictures/korvanthe"},  // relative: ignored
        {nullptr, "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/home/p/Bilder/korvanthe"},
        {nullptr, "# XDG_PICTURES_DIR=\"/old\"\nXDG_PICTURES_DIR=\"/pics\"\n", "/pics/korvanthe"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("user-dirs.dirs");
        if (c.userDirs != nullptr) WriteFile("user-dirs.dirs", c.userDirs);
        if (c.variable != nullptr) setenv("XDG_PICTURES_DIR", c.variable, 1);
        EXPECT_EQ(UserDirs::Pictures(), c.expected) << (c.variable ? c.variable : c.userDirs);
        unsetenv("XDG_PICTURES_DIR");
    }
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    EXPECT_EQ(UserDirs::Pictures(), "");
    setenv("HOME", home.c_str(), 1);
}

TEST(Screenshot, NamedByDateAndTimeAndNeverOverwritten) {
    ScratchDir dir;
    std::tm when{};
    when.tm_year = 2024 - 1900, when.tm_mon = 4, when.tm_mday = 1;
    when.tm_hour = 21, when.tm_min = 30, when.tm_sec = 5;
    EXPECT_EQ(Screenshot::FileName(when), "korvanthe-2024-05-01_21-30-05.bmp");
    WriteFile("korvanthe-2024-05-01_21-30-05.bmp", "");
    WriteFile("korvanthe-2024-05-01_21-30-05-2.bmp", "");
    EXPECT_EQ(Screenshot::FreePath(".", when), "./korvanthe-2024-05-01_21-30-05-3.bmp");
}

}  // namespace
