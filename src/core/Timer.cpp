#include "core/Timer.h"

#include "core/Clock.h"
#include "core/Trace.h"

Timer::~Timer() { timerout.flush(); }

void Timer::Start() {
    // Intervals nested deeper than the table are counted but not timed, so
    // that a stray Start never writes past it.
    if (level < MAX_LEVELS) starts[level] = Clock::tickSource();
    ++level;
}

void Timer::End(const char* label) {
    if (level == 0) return;  // an End without its Start has nothing to close
    --level;
    const std::uint32_t elapsed = level < MAX_LEVELS ? Clock::tickSource() - starts[level] : 0;
    for (int i = 0; i < level; ++i) timerout << '\t';
    timerout << (label != nullptr ? label : name) << elapsed << '\n';
}
