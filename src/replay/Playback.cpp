#include "replay/Playback.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include "core/Clock.h"
#include "core/Trace.h"

namespace {
// A viewer's machine slower than the recorder's plays one frame per frame
// drawn; it does not race to catch up afterwards.
const int MOST_BEHIND_MS = 100;
const int SLOW_DIVISOR = 3;
}  // namespace

Playback::Playback(Replay replay) : record(std::move(replay)) {}

void Playback::Cue() {
    if (finished()) return;
    const Replay::Frame& f = record.frames[next];
    for (int i = 0; i < 2; ++i) sides[i].Cue(f.input[i]);
    if (next > 0 && f.mode != record.frames[next - 1].mode) {
        debug << "replay: the clock " << (f.mode == 0 ? "stands" : "runs") << " from frame "
              << next + 1 << std::endl;
    }
}

bool Playback::Due(std::uint32_t nowMs) {
    if (finished()) return false;
    if (!pacing) {
        pacing = true;
        lastMs = nowMs;
        return true;
    }
    int passed = static_cast<int>(nowMs - lastMs);
    lastMs = nowMs;
    if (paused) return false;
    if (slow) {
        passed += slowCarry;
        slowCarry = passed % SLOW_DIVISOR;
        passed /= SLOW_DIVISOR;
    }
    aheadMs = std::min(aheadMs + passed, MOST_BEHIND_MS + record.frames[next].realMs);
    if (aheadMs < record.frames[next].realMs) return false;
    aheadMs -= record.frames[next].realMs;
    return true;
}

void Playback::StepClock(Clock& clock) const {
    const Replay::Frame& f = record.frames[next];
    clock.delta = f.realMs;
    clock.time += f.gameMs;
    clock.mode = f.mode;
}

bool Playback::Verify(int time, const GameSeq& s0, const GameSeq& s1) {
    const int at = static_cast<int>(next++);
    if (nextCheck >= record.checks.size() || record.checks[nextCheck].frame != at) return true;
    const Replay::Check& recorded = record.checks[nextCheck++];
    const Replay::Check now = Replay::Check::Take(at, time, s0, s1);
    const std::string differs = recorded.Differs(now);
    if (differs.empty()) {
        debug << "replay: check " << nextCheck << " holds at " << recorded.time << " ms" << std::endl;
        return true;
    }
    std::ostringstream out;
    out << "the replay differs from its match at frame " << at + 1 << " (" << recorded.time
        << " ms of game time): " << differs;
    why = out.str();
    return false;
}
