#pragma once

#include <cstdint>

// The game clock: milliseconds of game time that follow real time forwards,
// stand still or run backwards (`mode` 1, 0, −1), slowed to a third or a
// tenth by the options' slow motion. It also measures the frame rate.
class Clock {
public:
    using TickSource = std::uint32_t (*)();
    // Where real milliseconds come from: SDL's tick counter, or a test's own.
    static TickSource tickSource;

    Clock();

    bool Update();         // advance by the real time since the last update
    void Reset(int t);     // game time = t
    // The real time since the last update passes without becoming game time:
    // a match started after a long while in the menu begins with a normal step.
    void SkipRealTime();
    void SetMode(int m);   // 1 forwards, 0 frozen, −1 backwards

    int time = 0;           // game time in ms: what the rest of the game reads
    int startTicks;         // real-time origin
    int delta = 0;          // real ms between the last two updates
    int elapsed = 0;        // real ms from startTicks to the last update
    int fps = 0;            // frames per second over the last window of over 1 s
    int windowFrames = 0;   // frames in the current measuring window
    int totalFrames = 0;    // frames since construction
    int windowMs = 0;       // real ms in the current measuring window
    int minFps = 1000;      // lowest fps in the current block of 100 frames
    int lastMinFps = 0;     // lowest fps of the previous block of 100 frames
    int mode = 1;

private:
    // Real ms not yet turned into game time in slow motion: without it a
    // frame shorter than the divisor would add nothing, and a fast machine
    // would never finish the slowed end of a bout.
    int slowCarry = 0;
};
