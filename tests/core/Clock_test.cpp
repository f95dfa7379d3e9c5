#include "core/Clock.h"

#include <gtest/gtest.h>


#include "core/Options.h"
#include "support/ClockGuard.h"

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
        EXPECT_EQ(clock.time, f.time) << "mode " << f.mode;
        EXPECT_EQ(clock.elapsed, f.elapsed) << "mode " << f.mode;
        EXPECT_EQ(clock.delta, f.frameMs);
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

}  // namespace
