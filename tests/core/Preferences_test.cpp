#include "core/Preferences.h"

#include <SDL_keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/Clock.h"
#include "core/MatchRunner.h"
#include "core/Options.h"
#include "core/Screenshot.h"
#include "core/UserDirs.h"
#include "support/ClockGuard.h"
#include "support/Keys.h"
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
    EXPECT_TRUE(p.Refusal(0, Preferences::PUNCH, SDLK_g).empty() && p.Refusal(0, Preferences::PUNCH, SDLK_k).empty())
        << "its own key, or a free one";
    EXPECT_EQ(p.Refusal(0, Preferences::PUNCH, SDLK_h), "h is player 1 kick");
    EXPECT_EQ(p.Refusal(0, Preferences::PUNCH, SDLK_DELETE), "delete is player 2 punch");
    EXPECT_EQ(p.Refusal(1, Preferences::UP, SDLK_p), "p pauses the game");
    EXPECT_EQ(p.Refusal(1, Preferences::UP, SDLK_F3), "f3 is a game key");
}

// The player's own files and a usable or unusable config folder, and what a
// screenshot holds, are played through by the install end-to-end test; here,
// where the options and screenshots go and what screenshots are called.
TEST(UserDirs, OptionsAndPicturesFollowTheVariablesThenUserDirsThenHome) {
    ScratchDir dir;
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "relative", 1);  // ignored, as the rules say
    setenv("HOME", "/home/p", 1);
    EXPECT_EQ(Preferences::Path(), "/home/p/.config/korvanthe/options.txt");
    const std::string config = std::filesystem::current_path().string();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(Preferences::Path(), config + "/korvanthe/options.txt");
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

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        FakeTicks::now = 1000;  // the clock starts somewhere after SDL_Init
        clock = Clock();
        options = &opts;
    }
    void TearDown() override { options = nullptr; }

    // Real time moves on by ms and the clock is updated, as one frame does.
    void Frame(int ms) {
        FakeTicks::now += ms;
        clock.Update();
    }

    FakeTicks ticks;
    Options opts{"options.txt"};
    Clock clock;
};

TEST_F(ClockTest, RunsForwardsFrozenOrBackwardsAndAlwaysMeasuresRealTime) {
    const struct {
        int mode, frameMs, time, elapsed;
    } frames[] = {
        {1, 16, 16, 16},
        {0, 30, 16, 46},   // frozen: game time stands, real time runs on
        {-1, 20, -4, 66},  // backwards, below zero if need be
        {7, 5, -4, 71},    // unknown modes freeze
    };
    for (const auto& f : frames) {
        clock.SetMode(f.mode);
        Frame(f.frameMs);
        EXPECT_TRUE(clock.time == f.time && clock.elapsed == f.elapsed && clock.delta == f.frameMs) << "mode " << f.mode;
    }
    clock.Reset(500);
    clock.SetMode(1);
    Frame(10);
    EXPECT_EQ(clock.time, 510);
}

TEST_F(ClockTest, SlowMotionDividesRealTimeWithoutLosingTheRemainders) {
    const struct {
        int slowMotion, frames, time;
    } runs[] = {
        {2, 1000, 100},  // a thousand 1 ms frames at a tenth of the speed
        {1, 9, 103},     // nine at a third
        {0, 2, 105},     // normal speed: nothing left over from the slow frames
        {-1, 2, 107},    // F5 pressed during the slowed end of a bout: normal
    };
    for (const auto& run : runs) {
        opts.slowMotion = run.slowMotion;
        for (int i = 0; i < run.frames; ++i) Frame(1);
        EXPECT_EQ(clock.time, run.time) << "slow motion " << run.slowMotion;
    }
}

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
    EXPECT_TRUE(opts.detail == 0 && opts.shadows == 0 && opts.slowMotion == 0) << "detail wraps from 2 to 0; F5 toggles";
    opts.slowMotion = 2;  // the end of a bout slows the game
    Press(SDLK_F5);
    opts.Update();
    EXPECT_EQ(opts.slowMotion, -1) << "which F5 undoes to normal speed";
    KeysDown({}), KeysDown({});
}

// A replay refused from the menu: said once on the menu, by the file's name
// and line, with the match the menu stands over left as it was.
TEST(MatchRunnerTest, ARefusedReplayIsNoticedOnceByItsNameAndLine) {
    ScratchDir scratch;
    WriteFile("replays/cut.txt", "korvanthe-replay 1\narena");
    std::string fighters[2] = {"bront", "lyse"};
    std::string arena = "lakeshrine";
    MatchRunner runner(fighters, arena);
    EXPECT_FALSE(runner.Watch(std::filesystem::absolute("replays/cut.txt").string()));
    EXPECT_TRUE(!runner.watching() && runner.TakeNotice().rfind("Replay refused: cut.txt:2: expected", 0) == 0u);
    EXPECT_TRUE(runner.TakeNotice().empty() && fighters[0] + fighters[1] + arena == "brontlyselakeshrine");
}

}  // namespace
