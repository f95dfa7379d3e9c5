#include "core/Clock.h"

#include <SDL.h>

#include "core/Options.h"

Clock::TickSource Clock::tickSource = [] { return static_cast<std::uint32_t>(SDL_GetTicks()); };

Clock::Clock() : startTicks(static_cast<int>(tickSource())) {}

bool Clock::Update() {
    const int now = static_cast<int>(tickSource());
    const int d = now - startTicks - elapsed;
    elapsed += d;
    delta = d;
    windowMs += d;

    if (mode == 1) {
        const int slowMotion = options != nullptr ? options->slowMotion : 0;
        const int divisor = slowMotion == 1 ? 3 : slowMotion == 2 ? 10 : 1;
        const int real = d + slowCarry;
        time += real / divisor;
        slowCarry = divisor > 1 ? real % divisor : 0;
    } else if (mode == -1) {
        time -= d;
    }

    ++totalFrames;
    ++windowFrames;
    if (totalFrames % 100 == 0) {
        lastMinFps = minFps;
        minFps = 1000;
    }
    if (fps < minFps) minFps = fps;
    if (windowMs > 1000) {
        fps = windowFrames * 1000 / windowMs;
        windowFrames = 0;
        windowMs = 0;
    }
    return true;
}

void Clock::Reset(int t) { time = t; }

void Clock::SkipRealTime() { elapsed = static_cast<int>(tickSource()) - startTicks; }

void Clock::SetMode(int m) { mode = m; }
