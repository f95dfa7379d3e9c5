#include "training/Dummy.h"

#include <utility>

#include "anim/MoveTree.h"
#include "character/Person.h"
#include "core/Clock.h"
#include "core/System.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"

namespace {
// A whole sequence played, the next starts after this pause.
const int SEQUENCE_PAUSE_MS = 500;
}  // namespace

const char* Dummy::Name(Behaviour b) {
    static const char* const names[BEHAVIOURS] = {
        "stand", "crouch", "jump", "guard all", "guard at random", "guard after a hit",
        "recorded inputs"};
    return b >= 0 && b < BEHAVIOURS ? names[b] : "";
}

Dummy::Dummy(int player, GameSeq& self_, GameSeq& opponent_, std::uint64_t seed)
    : Controller(player),
      self(self_),
      opponent(opponent_),
      own(*self_.moveTree, *self_.person),
      theirs(*opponent_.moveTree, *opponent_.person),
      random(seed) {}

void Dummy::SetBehaviour(Behaviour b) {
    now = b;
    hands = 0;
    lastTime = -1;
    blowSeen = nullptr;
    sequenceStart = -1;
    sequenceAt = 0;
    Forget();
}

void Dummy::Keep(std::vector<Step> steps) { sequence = std::move(steps); }

void Dummy::NextFrame() {
    const int time = System::instance()->clock->time;
    if (time == lastTime) {
        hands &= ~PRESSED;  // a frozen clock presses nothing twice
        return;
    }
    lastTime = time;
    switch (now) {
        case STAND: hands = 0; break;
        case CROUCH: hands = CMD_D; break;
        case JUMP: hands = CMD_U; break;
        case GUARD_ALL: hands = Guard(); break;
        case GUARD_RANDOM: {
            // One draw for each blow the opponent starts.
            const MoveBook::Move& blow = theirs.Facts(opponent.curNode);
            if (blow.kind == MoveBook::Move::ATTACK && blowSeen != opponent.curNode) {
                blowSeen = opponent.curNode;
                guardThisBlow = random.Chance(0.5f);
            }
            hands = guardThisBlow ? Guard() : 0;
            break;
        }
        case GUARD_AFTER_HIT: hands = self.lifeBar->value < 100 ? Guard() : 0; break;
        case PLAYBACK: hands = Replayed(time); break;
        case BEHAVIOURS: break;
    }
}

int Dummy::Guard() {
    const MoveBook::Move& blow = theirs.Facts(opponent.curNode);
    // With no blow coming, the standing guard: the one that leaves least open.
    const float lowest = blow.kind == MoveBook::Move::ATTACK ? blow.lowest : MoveBook::NOTHING_OPEN;
    const MoveBook::Option* guard = own.BestGuard(self.curNode, lowest);
    if (guard == nullptr) guard = own.BestGuard(self.moveTree->nodes[0], lowest);
    return guard != nullptr ? guard->command : CMD_G;
}

int Dummy::Replayed(int time) {
    if (sequence.empty()) return 0;
    if (sequenceStart < 0) {
        sequenceStart = time;
        sequenceAt = 0;
    }
    const int at = time - sequenceStart;
    if (at >= sequence.back().atMs + SEQUENCE_PAUSE_MS) {
        sequenceStart = time;
        sequenceAt = 0;
        return sequence[0].bits;
    }
    size_t step = sequenceAt;
    while (step + 1 < sequence.size() && sequence[step + 1].atMs <= at) ++step;
    if (at > sequence.back().atMs) return 0;  // the pause between two runs
    // A press is given once, in the frame its step is reached.
    const int bits = step != sequenceAt || at == 0 ? sequence[step].bits
                                                   : sequence[step].bits & ~PRESSED;
    sequenceAt = step;
    return bits;
}
