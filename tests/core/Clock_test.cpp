#include "core/Clock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "core/Options.h"
#include "support/ClockGuard.h"
#include "support/Keys.h"

namespace {

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

}  // namespace
