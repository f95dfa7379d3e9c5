#include "input/Controller.h"

#include "core/Assert.h"
#include "core/Clock.h"
#include "core/System.h"
#include "core/Trace.h"

namespace {
struct Letter {
    int bit;
    char letter;
};
const Letter LETTERS[] = {
    {Controller::CMD_F, 'f'}, {Controller::CMD_A, 'a'}, {Controller::CMD_U, 'u'},
    {Controller::CMD_D, 'd'}, {Controller::CMD_P, 'p'}, {Controller::CMD_K, 'k'},
    {Controller::CMD_G, 'g'}, {Controller::CMD_T, 't'}, {Controller::CMD_I, 'i'},
    {Controller::CMD_O, 'o'},
};
}  // namespace

Controller::Controller(int player) : commands(), player(player) {
    // The player number picks a joystick and a key layout from arrays of two.
    KV_ASSERT(player == 0 || player == 1);
}

void Controller::Update() {
    NextFrame();
    sampled = Sample();
    pending |= sampled;
    Group();
}

void Controller::Group() {
    const int t = System::instance()->clock->time;
    const int before = ready;
    if (idle && pending != 0) {
        windowStart = t;
        idle = false;
    }
    // A repeat of the command just taken needs no window: a held guard or a
    // repeated press acts at once.
    if ((idle || t - windowStart < WINDOW_MS) && pending != last) return;
    ready |= pending;
    if (ready != before && debug.enabled()) {
        debug << "controller " << player << " ready: " << Commands() << std::endl;
    }
}

int Controller::Command() {
    const int taken = ready;
    ready = 0;
    last = taken;
    if (taken != 0) {
        pending = 0;
        idle = true;
    }
    // Inputs still held start the next command at once, and so do presses of
    // this frame that missed the command just taken. A press that went into
    // it is not collected again: one press would otherwise act twice.
    pending |= Sample() & ~(taken & PRESSED);
    Group();
    return taken;
}

int Controller::Bit(char letter) {
    for (const Letter& l : LETTERS) {
        if (l.letter == letter) return l.bit;
    }
    return 0;
}

const char* Controller::Commands() { return Letters(ready, commands); }

char* Controller::Letters(int bits, char* out) {
    char* end = out;
    for (const Letter& l : LETTERS) {
        if ((bits & l.bit) != 0) *end++ = l.letter;
    }
    *end = '\0';
    return out;
}

int Controller::Mirrored(int bit) const {
    if (!flip) return bit;
    switch (bit) {
        case CMD_F: return CMD_A;
        case CMD_A: return CMD_F;
        case CMD_I: return CMD_O;
        case CMD_O: return CMD_I;
        default: return bit;
    }
}

void Controller::SetFlip(bool f) { flip = player == 0 ? f : !f; }

void Controller::Forget() {
    pending = ready = last = 0;
    idle = true;
}
