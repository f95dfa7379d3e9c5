#include "ai/ComputerController.h"

#include <algorithm>

#include "anim/MoveTree.h"
#include "character/Person.h"
#include "core/Clock.h"
#include "core/System.h"
#include "core/Trace.h"
#include "match/GameSeq.h"

ComputerController::ComputerController(int player, GameSeq& self_, GameSeq& opponent_, int level,
                                       std::uint64_t seed)
    : Controller(player),
      self(self_),
      opponent(opponent_),
      own(*self_.moveTree, *self_.person),
      theirs(*opponent_.moveTree, *opponent_.person),
      random(seed),
      tactics(player, own, theirs, random) {
    if (!own.missing.empty()) {
        debug << "computer player " << player << ": " << self.person->name
              << "'s move tree has no " << own.missing << "; it fights with what it has"
              << std::endl;
    }
    SetLevel(level);
}

void ComputerController::SetLevel(int level) {
    const Skill skill = Skill::Level(level);
    skillLevel = std::clamp(level, 0, Skill::LEVELS - 1);
    reactionMs = skill.reactionMs;
    tactics.SetSkill(skill);
}

void ComputerController::Restart(std::uint64_t seed) {
    random.Seed(seed);
    sight.Forget();
    tactics.Forget();
    Forget();
    hands = 0;
    lastTime = -1;
    debug << "computer player " << player << ": seed " << seed << ", level "
          << Skill::Level(skillLevel).name << std::endl;
}

void ComputerController::NextFrame() {
    const int now = System::instance()->clock->time;
    if (now == lastTime) {
        // The clock stands still: the hands stay as they are, nothing is pressed again.
        hands &= ~PRESSED;
        return;
    }
    lastTime = now;
    sight.Look(now, self, opponent);
    // A command still forming, or one published and not yet taken, would
    // swallow a new press: a person waits for the move too.
    const bool canPress = ready == 0 && (pending & PRESSED) == 0;
    const Tactics::Hands h = tactics.Think(now, sight.At(now - reactionMs), self, canPress);
    hands = h.hold | h.press;
}
