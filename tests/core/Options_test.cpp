#include "core/Options.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/Preferences.h"
#include "support/Keys.h"
#include "support/ScratchDir.h"

namespace {

TEST(Options, FunctionKeysCycleOncePerPress) {
    Options opts("options.txt");
    KeysDown({});
    for (int frame = 0; frame < 5; ++frame) {
        KeysDown({SDLK_F9});
        opts.Update();
    }
    EXPECT_EQ(opts.detail, 1) << "F9 held for five frames advances once";
    for (int press = 0; press < 2; ++press) {
        KeysDown({});
        KeysDown({SDLK_F9, SDLK_F10, SDLK_F5});
        opts.Update();
    }
    EXPECT_EQ(opts.detail, 0) << "detail wraps from 2 to 0";
    EXPECT_EQ(opts.shadows, 0);
    EXPECT_EQ(opts.slowMotion, 0) << "F5 toggles";
    opts.slowMotion = 2;  // the end of a bout slows the game
    Press(SDLK_F5);
    opts.Update();
    EXPECT_EQ(opts.slowMotion, -1) << "which F5 undoes to normal speed";
}

// What options.txt holds, whether it counts as read, and the options that follow.
const struct {
    const char* text;
    bool read;
    int skill, volume;
} PREFERENCE_FILES[] = {
    {"version 1\nskill 5\nvolume 40\n", true, 5, 40},
    {"version 1\nvolume 250\nskill -3\n", true, 0, 100},  // brought into range
    {"version 1\n", true, 3, 80},                         // the defaults fill the rest
    {"version 2\nskill 5\n", false, 3, 80},
    {"skill 5\n", false, 3, 80},
    {"version 1\nskill five\n", false, 3, 80},
    {"version 1\nskill 5\nloudness 9\n", false, 3, 80},
    {"version 1\nskill 5\nvolume\n", false, 3, 80},
    {"", false, 3, 80},
};

TEST(Preferences, ReadsWhatItCanFallsBackToTheDefaultsAndSavesWhatReadsBack) {
    ScratchDir dir;
    for (const auto& c : PREFERENCE_FILES) {
        WriteFile("options.txt", c.text);
        Preferences p;
        p.skill = 1;  // what an earlier load left
        EXPECT_EQ(p.Load("options.txt"), c.read) << c.text;
        EXPECT_EQ(p.skill, c.skill) << c.text;
        EXPECT_EQ(p.volume, c.volume) << c.text;
    }
    EXPECT_FALSE(Preferences().Load("nothing-here.txt"));

    Preferences saved;
    saved.skill = 6;
    saved.volume = 0;
    ASSERT_TRUE(saved.Save("options.txt"));
    Preferences read;
    ASSERT_TRUE(read.Load("options.txt"));
    EXPECT_EQ(read.skill, 6);
    EXPECT_EQ(read.volume, 0);
    EXPECT_FALSE(saved.Save("no-such-dir/options.txt"));
}

TEST(Preferences, LiveInTheConfigDirectory) {
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
    EXPECT_EQ(Preferences::Path(), "/tmp/cfg/korvanthe/options.txt");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // ignored, as the rules say
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(Preferences::Path(), "/home/player/.config/korvanthe/options.txt");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", home.c_str(), 1);
}

}  // namespace
