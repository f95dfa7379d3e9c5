#include "training/FrameData.h"

#include <cmath>

namespace {
int Frames(float seconds) { return static_cast<int>(std::lround(seconds * FrameData::PER_SECOND)); }
}  // namespace

FrameData FrameData::Of(const MoveBook::Move& move) {
    FrameData d;
    if (move.kind != MoveBook::Move::ATTACK || move.activeEnd <= 0) return d;
    d.strikes = true;
    // Rounded at the edges rather than per span, so that the three add up to the whole.
    const int start = Frames(move.startup);
    const int end = Frames(move.activeEnd);
    d.startup = start;
    d.active = end - start;
    d.recovery = Frames(move.length) - end;
    return d;
}
