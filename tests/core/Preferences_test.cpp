#include "core/Preferences.h"

#include <SDL_keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/ScratchDir.h"
#include "support/TraceCapture.h"

namespace {

// What a file holds, whether it counts as read, and the options that follow.
const struct Case {
    const char* text;
    bool read;
    int skill, volume;
} CASES[] = {
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

TEST(Preferences, ReadsWhatItCanAndFallsBackToTheDefaultsOtherwise) {
    ScratchDir dir;
    for (const Case& c : CASES) {
        WriteFile("options.txt", c.text);
        Preferences p;
        p.skill = 1;  // what an earlier load left
        EXPECT_TRUE(p.Load("options.txt") == c.read && p.skill == c.skill && p.volume == c.volume) << c.text;
    }
    EXPECT_FALSE(Preferences().Load("nothing-here.txt"));
    // Values between the offers take the nearest.
    WriteFile("options.txt", "version 1\nrounds 4\ntimer 100\nwindow 9\n");
    Preferences p;
    EXPECT_TRUE(p.Load("options.txt") && p.rounds == 3 && p.timer == 99 && p.window == Preferences::WINDOW_SIZES);
}

// Every option, as the file would hold it.
std::string Text(const Preferences& p) {
    EXPECT_TRUE(p.Save("compare.txt"));
    std::ostringstream text;
    text << std::ifstream("compare.txt").rdbuf();
    return text.str();
}

TEST(Preferences, WhatIsSavedReadsBack) {
    ScratchDir dir;
    Preferences saved;
    saved.skill = 6, saved.volume = 0, saved.rounds = 5, saved.timer = 0;
    saved.stencilShadows = 0, saved.fullscreen = 2, saved.window = 4;
    saved.keys[0][Preferences::PUNCH] = SDLK_KP_ENTER;
    saved.keys[1][Preferences::SIDESTEP_I] = SDLK_RSHIFT;
    ASSERT_TRUE(saved.Save("options.txt"));
    Preferences read;
    ASSERT_TRUE(read.Load("options.txt"));
    EXPECT_EQ(Text(read), Text(saved));
    EXPECT_FALSE(saved.Save("no-such-dir/options.txt"));
}

TEST(Preferences, MalformedFilesGiveTheDefaultsAndSayWhy) {
    ScratchDir dir;
    const std::string defaults = Text(Preferences());
    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"version 1\np1_punch zz\n", "options.txt:2: expected a key name after p1_punch, found 'zz'"},
        {"version 1\np1_punch h\n", "p1_punch and p1_kick are both 'h'"},
        {"version 1\np2_kick g\n", "p1_punch and p2_kick are both 'g'"},
        {"version 1\np1_kick escape\n", "p1_kick is 'escape', which the game keeps for itself"},
        {"version 1\nrounds 99999999999\n", "options.txt:2: expected"},
        {"version 1\np3_punch g\n", "expected an option name, found 'p3_punch'"},
    };
    for (const auto& c : cases) {
        WriteFile("options.txt", c.text);
        TraceCapture trace;
        Preferences p;
        p.timer = 30;
        EXPECT_FALSE(p.Load("options.txt")) << c.text;
        EXPECT_EQ(Text(p), defaults) << c.text;
        EXPECT_TRUE(trace.Has(c.why)) << trace.str();
    }
    // A directory where the file should be reads as an empty file.
    std::filesystem::create_directories("folder/options.txt");
    TraceCapture trace;
    EXPECT_FALSE(Preferences().Load("folder/options.txt"));
    EXPECT_TRUE(trace.Has("the options are the defaults"));
}

TEST(Preferences, AKeyTakenOrKeptByTheGameIsRefused) {
    const Preferences p;
    EXPECT_EQ(p.Refusal(0, Preferences::PUNCH, SDLK_g), "") << "its own key";
    EXPECT_EQ(p.Refusal(0, Preferences::PUNCH, SDLK_k), "");
    EXPECT_EQ(p.Refusal(0, Preferences::PUNCH, SDLK_h), "h is player 1 kick");
    EXPECT_EQ(p.Refusal(0, Preferences::PUNCH, SDLK_DELETE), "delete is player 2 punch");
    EXPECT_EQ(p.Refusal(1, Preferences::UP, SDLK_p), "p pauses the game");
    EXPECT_EQ(p.Refusal(1, Preferences::UP, SDLK_F3), "f3 is a game key");
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
