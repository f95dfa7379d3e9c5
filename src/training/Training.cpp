#include "training/Training.h"

#include <algorithm>
#include <utility>

#include "core/Trace.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "match/LifeBar.h"

Training::Training(GameSeq& player, GameSeq& dummySide) : seqs{&player, &dummySide} {}

void Training::Begin(int time) {
    now = lastBlow = time;
    for (int i = 0; i < 2; ++i) {
        blows[i] = Blows();
        history[i].clear();
        seqs[i]->lifeBar->value = 100;
    }
    recordStart = -1;
}

void Training::Frame(int time, int input0, int input1) {
    now = time;
    const int inputs[2] = {input0, input1};
    for (int i = 0; i < 2; ++i) {
        Count(i, time);
        // A fighter with no life stays in the fight; one off the floor comes back.
        seqs[i]->lost = false;
        if (seqs[i]->fallen && seqs[i]->landed) PutBack(*seqs[i]);
        std::deque<Input>& h = history[i];
        const int bits = inputs[i];
        if (bits != 0 && (h.empty() || h.back().bits != bits || (bits & Controller::PRESSED) != 0)) {
            h.push_back({time, bits});
        } else if (bits == 0 && !h.empty() && h.back().bits != 0) {
            h.push_back({time, 0});  // let go: a held input shown again is pressed anew
        }
        while (!h.empty() && (time - h.front().time > HISTORY_MS || h.front().time > time)) {
            h.pop_front();
        }
    }
    if (recording()) {
        if (recorded.empty() || recorded.back().bits != input1 || (input1 & Controller::PRESSED)) {
            recorded.push_back({time - recordStart, input1});
        }
    }
    const bool quiet = !blows[0].reeling && !blows[1].reeling;
    if (quiet && time - lastBlow >= REFILL_MS) {
        for (GameSeq* seq : seqs) seq->lifeBar->value = 100;
        for (Blows& b : blows) b.life = 100;
    }
}

void Training::Count(int side, int time) {
    Blows& b = blows[side];
    const GameSeq& victim = *seqs[side];
    const int life = victim.lifeBar->value;
    if (b.coming) {
        // The blow found last frame has been applied: what it cost is what the bar lost.
        b.last = std::max(b.life - life, 0);
        if (b.reeling) {
            ++b.hits;
            b.total += b.last;
        } else {
            b.hits = 1;
            b.total = b.last;
        }
        b.reeling = true;
        b.recovered = time;
        lastBlow = time;
        debug << "training: fighter " << side + 1 << " took a blow of " << b.last << ", combo of "
              << b.hits << " for " << b.total << std::endl;
    } else if (victim.inReaction) {
        b.recovered = time;
    } else if (time - b.recovered >= Controller::WINDOW_MS) {
        // Out of the reaction for as long as a command takes to form: a
        // guard could have come up, and the next blow starts a new combo.
        b.reeling = false;
    }
    b.coming = victim.hitPending;
    b.life = life;
}

void Training::PutBack(GameSeq& seq) {
    seq.Reset();
    lastBlow = now;
}

std::string Training::Inputs(int side) const {
    std::string out;
    char letters[11];
    for (const Input& in : history[side]) {
        if (in.bits == 0 || now - in.time > HISTORY_MS) continue;
        if (!out.empty()) out += ' ';
        out += Controller::Letters(in.bits, letters);
    }
    return out;
}

void Training::Record(int time) {
    recordStart = time;
    recorded.clear();
}

std::vector<Dummy::Step> Training::Stop() {
    if (recording()) recorded.push_back({now - recordStart, 0});
    recordStart = -1;
    return std::move(recorded);
}
