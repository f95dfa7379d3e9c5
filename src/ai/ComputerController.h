#pragma once

#include <cstdint>
#include <memory>

#include "ai/MoveBook.h"
#include "ai/Sight.h"
#include "ai/Tactics.h"
#include "input/Controller.h"
#include "math/Random.h"

class GameSeq;

// A player the computer plays. Its sampling step is a decision rather than a
// device: each frame it looks at the fight, decides with its tactics at its
// skill level, and gives the inputs its hands would. They go through the same
// grouping as a person's keys, the 150 ms window included, so it can do
// nothing a person could not; it never reads the opponent's controller.
// Its randomness is its own seeded generator: the same seed and the same
// clock steps give the same fight.
class ComputerController : public Controller {
public:
    // Reads what both fighters' files tell about their moves; `self` is the
    // fighter it plays, `opponent` the other one.
    ComputerController(int player, GameSeq& self, GameSeq& opponent, int level,
                       std::uint64_t seed);

    void SetLevel(int level);  // 0 .. 6, see Skill
    int level() const { return skillLevel; }
    // A new match: nothing seen or remembered, nothing held, the generator
    // started again from `seed`.
    void Restart(std::uint64_t seed);
    const MoveBook& Book() const { return own; }

protected:
    void NextFrame() override;
    int Sample() const override { return hands; }

private:
    GameSeq& self;
    GameSeq& opponent;
    MoveBook own;
    MoveBook theirs;
    Random random;
    Sight sight;
    Tactics tactics;
    int skillLevel = 0;
    int reactionMs = 0;
    int hands = 0;        // this frame's inputs
    int lastTime = -1;    // the game time of the last decision
};
