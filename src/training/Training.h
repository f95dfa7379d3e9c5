#pragma once

#include <deque>
#include <string>
#include <vector>

#include "training/Dummy.h"

class GameSeq;

// A training session: the player's fighter against the dummy, with no bout
// to win or lose. After each frame it puts back a fighter thrown off the
// floor, keeps a fighter with no life standing, fills both lives again once
// the blows have stopped for a while, and keeps the figures the player
// learns from: each blow's damage, the combo's blows and total, and the
// inputs of the last second on both sides. It also records inputs on the
// dummy's side for the dummy to play back.
class Training {
public:
    static constexpr int REFILL_MS = 1500;   // game time without a blow before lives fill
    static constexpr int HISTORY_MS = 1000;  // the inputs shown

    // The blows one fighter took.
    struct Blows {
        int last = 0;    // damage of the last blow
        int hits = 0;    // blows in the combo going on or last ended
        int total = 0;   // the combo's damage
        // Still reeling from a blow: in its reaction, or out of it for less
        // than a command takes to form. A blow now adds to the combo.
        bool reeling = false;
        int recovered = 0;     // game time the reaction was last seen going on
        bool coming = false;   // a blow found last frame lands this frame
        int life = 100;        // as the frame before ended
    };

    Training(GameSeq& player, GameSeq& dummySide);

    void Begin(int now);  // a fresh session: figures cleared, lives full
    // After each frame of the fight, at game time `now`, with what each
    // side's controller sampled in it.
    void Frame(int now, int input0, int input1);

    // The inputs of the last second on one side, oldest first, as command
    // letters: one group for each change of what was held or pressed.
    std::string Inputs(int side) const;

    // Recording on the dummy's side: the sampled inputs of each frame
    // between Record and Stop become the dummy's sequence.
    void Record(int now);
    std::vector<Dummy::Step> Stop();
    bool recording() const { return recordStart >= 0; }

    Blows blows[2];  // taken by fighter 0 (the player) and fighter 1 (the dummy)

private:
    struct Input {
        int time;
        int bits;
    };
    void Count(int side, int now);
    void PutBack(GameSeq& seq);

    GameSeq* seqs[2];
    std::deque<Input> history[2];
    int lastBlow = 0;
    int now = 0;
    int recordStart = -1;
    std::vector<Dummy::Step> recorded;
};
