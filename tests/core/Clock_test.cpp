#include "core/Clock.h"

#include <gtest/gtest.h>

#include "core/Options.h"
#include "support/FakeTicks.h"

namespace {

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        ticks.now = 1000;  // the clock starts somewhere after SDL_Init
        options = &opts;
    }
    void TearDown() override { options = nullptr; }

    // Advances real time by ms and updates the clock, as one frame does.
    void Frame(Clock& clock, int ms) {
        ticks.now += ms;
        clock.Update();
    }

    FakeTicks ticks;
    Options opts{"options.txt"};
};

TEST_F(ClockTest, ForwardFrozenAndBackwards) {
    Clock clock;
    EXPECT_EQ(clock.startTicks, 1000);
    Frame(clock, 16);
    EXPECT_EQ(clock.time, 16);
    EXPECT_EQ(clock.delta, 16);
    EXPECT_EQ(clock.elapsed, 16);

    clock.SetMode(0);
    Frame(clock, 30);
    EXPECT_EQ(clock.time, 16) << "a frozen clock keeps its time";
    EXPECT_EQ(clock.delta, 30) << "but still measures real time";
    EXPECT_EQ(clock.elapsed, 46);

    clock.SetMode(-1);
    Frame(clock, 20);
    Frame(clock, 20);
    EXPECT_EQ(clock.time, -24) << "a backwards clock may go below zero";

    clock.SetMode(7);
    Frame(clock, 5);
    EXPECT_EQ(clock.time, -24) << "unknown modes freeze the clock";

    clock.Reset(500);
    clock.SetMode(1);
    Frame(clock, 10);
    EXPECT_EQ(clock.time, 510);
}

TEST_F(ClockTest, SlowMotionDividesRealTime) {
    Clock clock;
    opts.slowMotion = 2;
    Frame(clock, 50);
    EXPECT_EQ(clock.time, 5);
    EXPECT_EQ(clock.elapsed, 50);

    opts.slowMotion = 1;
    Frame(clock, 30);
    EXPECT_EQ(clock.time, 15);

    opts.slowMotion = -1;  // F5 pressed during the end-of-bout slow motion
    Frame(clock, 30);
    EXPECT_EQ(clock.time, 45);
}

TEST_F(ClockTest, SlowMotionAdvancesEvenWithFramesShorterThanTheDivisor) {
    Clock clock;
    opts.slowMotion = 2;
    for (int i = 0; i < 1000; ++i) Frame(clock, 1);
    EXPECT_EQ(clock.time, 100) << "a thousand 1 ms frames are 100 ms at a tenth of the speed";

    opts.slowMotion = 1;
    for (int i = 0; i < 9; ++i) Frame(clock, 1);
    EXPECT_EQ(clock.time, 103);

    // Back at normal speed nothing is left over from the slow frames.
    opts.slowMotion = 0;
    Frame(clock, 2);
    EXPECT_EQ(clock.time, 105);
}

TEST_F(ClockTest, FrameRateIsMeasuredOverWindowsOfMoreThanASecond) {
    Clock clock;
    for (int i = 0; i < 100; ++i) Frame(clock, 10);
    EXPECT_EQ(clock.fps, 0) << "exactly one second is not yet more than one";
    Frame(clock, 10);
    EXPECT_EQ(clock.fps, 101 * 1000 / 1010);
    EXPECT_EQ(clock.windowFrames, 0);
    EXPECT_EQ(clock.windowMs, 0);
}

TEST_F(ClockTest, LowestFrameRateIsReportedPerHundredFrames) {
    Clock clock;
    // 1 s at 20 ms frames, then fast frames: the measured rate rises.
    for (int i = 0; i < 51; ++i) Frame(clock, 20);
    EXPECT_EQ(clock.fps, 51 * 1000 / 1020);
    for (int i = 51; i < 99; ++i) Frame(clock, 5);
    EXPECT_EQ(clock.minFps, 0) << "the rate was 0 before the first window closed";
    Frame(clock, 5);  // frame 100 closes the block
    EXPECT_EQ(clock.lastMinFps, 0);
    for (int i = 100; i < 199; ++i) Frame(clock, 5);
    Frame(clock, 5);
    EXPECT_EQ(clock.lastMinFps, 50) << "the worst rate of frames 100 to 199";
    EXPECT_EQ(clock.minFps, clock.fps) << "the new block starts from the current rate";
}

}  // namespace
