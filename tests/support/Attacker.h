#pragma once

#include "character/Person.h"
#include "core/Clock.h"
#include "core/System.h"
#include "input/Controller.h"
#include "match/GameSeq.h"

// Walks in until the two stand close, then strikes once a period: a high
// blow (p) and a low one (d k) in turn.
class Attacker : public Controller {
public:
    Attacker(int player, const GameSeq& me_, const GameSeq& them_)
        : Controller(player), me(me_), them(them_) {}
    static constexpr int PERIOD_MS = 1100;

protected:
    void NextFrame() override {
        const int now = System::instance()->clock->time;
        if ((me.person->position - them.person->position).Length() > 55) {
            bits = CMD_F;
        } else if (now - last >= PERIOD_MS) {
            last = now;
            high = !high;
            bits = high ? CMD_P : CMD_D | CMD_K;
        } else {
            bits &= CMD_D;  // the direction is held while the command forms
        }
    }
    int Sample() const override { return bits; }

private:
    const GameSeq& me;
    const GameSeq& them;
    int bits = 0, last = 0;
    bool high = false;
};
