#pragma once

#include <cstdint>

#include "core/Clock.h"
#include "core/System.h"

// Puts the game clock under the test's control, running forwards, and gives
// back its time, frame length and mode afterwards.
class ClockGuard {
public:
    ClockGuard() : clock(*System::instance()->clock), saved(clock) { clock.mode = 1; }
    ~ClockGuard() {
        clock.time = saved.time;
        clock.delta = saved.delta;
        clock.mode = saved.mode;
    }
    ClockGuard(const ClockGuard&) = delete;
    ClockGuard& operator=(const ClockGuard&) = delete;

    // Game time `time`, reached by a frame `delta` real ms long.
    void At(int time, int delta = 0) {
        clock.time = time;
        clock.delta = delta;
    }

    Clock& clock;

private:
    Clock saved;
};

// Puts real time under the test's control: while one of these lives, every
// Clock and Timer reads `now` instead of SDL's tick counter.
class FakeTicks {
public:
    FakeTicks() : saved(Clock::tickSource) {
        now = 0;
        Clock::tickSource = [] { return now; };
    }
    ~FakeTicks() { Clock::tickSource = saved; }
    FakeTicks(const FakeTicks&) = delete;
    FakeTicks& operator=(const FakeTicks&) = delete;

    static inline std::uint32_t now = 0;

private:
    Clock::TickSource saved;
};
