#pragma once

#include <cstdint>
#include <vector>

#include "ai/MoveBook.h"
#include "input/Controller.h"
#include "math/Random.h"

class GameSeq;

// The training partner: it does what it is told, through the same command
// grouping as a person. It stands, crouches, jumps, guards every blow it
// can (high or low, as the blow comes), guards at random, guards once it has
// taken a blow until its life is full again, or plays a sequence of inputs
// recorded on its side, over and over. Fighting back is the computer
// player's job, not the dummy's.
class Dummy : public Controller {
public:
    enum Behaviour { STAND, CROUCH, JUMP, GUARD_ALL, GUARD_RANDOM, GUARD_AFTER_HIT, PLAYBACK, BEHAVIOURS };
    static const char* Name(Behaviour b);

    // One input of a recorded sequence: the sampled bits, from `atMs` after
    // the sequence's start.
    struct Step {
        int atMs;
        int bits;
    };

    // `self` is the dummy's fighter; its guards are read from its move tree.
    Dummy(int player, GameSeq& self, GameSeq& opponent, std::uint64_t seed);

    void SetBehaviour(Behaviour b);  // and starts it afresh
    Behaviour behaviour() const { return now; }
    // The sequence PLAYBACK plays; it needs at least one step.
    void Keep(std::vector<Step> steps);
    bool HasSequence() const { return !sequence.empty(); }
    // What the opponent's files say of one of its moves.
    const MoveBook::Move& TheirMove(const MTNode* node) const { return theirs.Facts(node); }

protected:
    void NextFrame() override;
    int Sample() const override { return hands; }

private:
    int Guard();     // the guard that stops the opponent's current blow
    int Replayed(int time);

    GameSeq& self;
    GameSeq& opponent;
    MoveBook own;
    MoveBook theirs;
    Random random;
    Behaviour now = STAND;
    int hands = 0;
    int lastTime = -1;
    const void* blowSeen = nullptr;  // the opponent's move the random guard was drawn for
    bool guardThisBlow = false;
    std::vector<Step> sequence;
    int sequenceStart = -1;   // game time the sequence began; -1 not yet
    size_t sequenceAt = 0;    // the step being played
};
