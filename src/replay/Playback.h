#pragma once

#include <cstdint>
#include <string>

#include "replay/Replay.h"
#include "replay/ReplayController.h"

class Clock;
class GameSeq;

// Plays a replay through the match as it was played: each side's controller
// samples the recorded inputs and the clock takes the recorded steps, one
// frame of the file per frame of the match. After each frame the fight is
// compared with the check recorded there; where they differ the playback
// stops and says how.
//
// Watching, the frames are paced by real time as they were recorded; the
// viewer can stop them (`paused`) or slow them to a third (`slow`).
class Playback {
public:
    explicit Playback(Replay replay);

    ReplayController* controller(int side) { return &sides[side]; }
    const Replay& replay() const { return record; }

    // Before each frame's controllers sample: cues the next recorded inputs.
    void Cue();
    // Whether the next frame is due at real time `nowMs`. The first call
    // starts the pacing.
    bool Due(std::uint32_t nowMs);
    // The frame's clock step, as recorded.
    void StepClock(Clock& clock) const;
    // After the frame, at game time `time`: false, with `problem` set, when
    // the fight is not the one recorded. Moves on to the next frame.
    bool Verify(int time, const GameSeq& s0, const GameSeq& s1);

    bool finished() const { return next >= record.frames.size(); }
    size_t frame() const { return next; }  // frames played so far
    const std::string& problem() const { return why; }

    bool paused = false;
    bool slow = false;

private:
    Replay record;
    ReplayController sides[2] = {ReplayController(0), ReplayController(1)};
    size_t next = 0;       // the frame to play next
    size_t nextCheck = 0;  // the check to compare next
    std::string why;
    bool pacing = false;
    std::uint32_t lastMs = 0;
    int aheadMs = 0;      // real time owed to the frames, at the viewer's speed
    int slowCarry = 0;    // real ms not yet turned into slowed time
};
