#pragma once

#include <cstdint>

#include "core/Clock.h"

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
