#pragma once

#include "ai/MoveBook.h"

// A move's timing as fighting players count it, in frames of 1/60 s: how
// long until it strikes (start-up), how long it strikes (active: from the
// way to its first striking key to its last one), and how long until it is
// over (recovery). Worked out from its keys' striking flags.
struct FrameData {
    static constexpr int PER_SECOND = 60;

    static FrameData Of(const MoveBook::Move& move);

    bool strikes = false;  // the move has striking keys; the figures are 0 otherwise
    int startup = 0;
    int active = 0;
    int recovery = 0;
};
