#include "ai/Memory.h"

#include <algorithm>
#include <cmath>

#include "input/Controller.h"

namespace {

using Move = MoveBook::Move;
using Fighter = Sight::Fighter;

// An opponent who starts this many blows a second while it could is as
// aggressive as they come; what is remembered fades over this many seconds.
const float AGGRESSIVE_RATE = 0.4f;
const float MEMORY_S = 8;
// Blows this evenly spaced keep a rhythm one can read.
const int RHYTHM_MS = 350;
// Nothing happened for this long, or a bout longer than this: impatience grows.
const int STALE_MS = 6000;
const int LONG_BOUT_MS = 40000;

}  // namespace

void Memory::Forget() { *this = Memory(*theirs); }

bool Memory::Remember(int now, const Sight::View& v, float reach) {
    if (v.time < 0) return false;
    // How often they strike while they could: free to act and within reach.
    if (lastSeen >= 0 && v.time > lastSeen) {
        const float dt = (v.time - lastSeen) / 1000.0f;
        const float fade = std::exp(-dt / MEMORY_S);
        freeBlows *= fade;
        freeSeconds *= fade;
        if (v.them.reaction == Fighter::NONE && !v.them.fallen && v.distance <= reach) {
            freeSeconds += dt;
        }
    }
    lastSeen = v.time;
    if (lastLives[0] < 0 || v.me.life != lastLives[0] || v.them.life != lastLives[1]) {
        lastExchange = now;
    }
    // Life given back is a new bout.
    if (lastLives[0] < 0 || v.me.life > lastLives[0] || v.them.life > lastLives[1]) boutStart = now;
    lastLives[0] = v.me.life;
    lastLives[1] = v.them.life;

    // A blow begins when they start an attack; a reaction to a blow of mine
    // keeps their node but is no blow of theirs.
    if (theirs->Facts(v.them.node).kind != Move::ATTACK || v.them.reaction != Fighter::NONE ||
        v.them.since == lastBlowSince) {
        return false;
    }
    lastBlowSince = v.them.since;
    if (lastBlow != nullptr) ++follows[lastBlow][v.them.node];
    lastBlow = v.them.node;
    blowStarts[blows % BLOWS_KEPT] = v.them.since;
    ++blows;
    freeBlows += 1;
    lastExchange = now;  // a fight goes on, whether the blow lands or not
    return true;
}

float Memory::Aggression() const {
    if (freeSeconds < 1) return 0;  // too little seen to tell
    return std::min(1.0f, freeBlows / freeSeconds / AGGRESSIVE_RATE);
}

int Memory::ExpectedBlow() const {
    const int n = std::min(blows, 5);
    if (n < 3) return -1;
    int gaps[4];
    for (int i = 1; i < n; ++i) {
        gaps[i - 1] = blowStarts[(blows - i) % BLOWS_KEPT] - blowStarts[(blows - i - 1) % BLOWS_KEPT];
    }
    // At most four gaps, sorted in place (std::sort's unrolled insertion
    // confuses the optimiser's bounds check on so small an array).
    for (int i = 1; i < n - 1; ++i) {
        for (int j = i; j > 0 && gaps[j - 1] > gaps[j]; --j) std::swap(gaps[j - 1], gaps[j]);
    }
    if (gaps[n - 2] - gaps[0] > RHYTHM_MS) return -1;
    return blowStarts[(blows - 1) % BLOWS_KEPT] + gaps[(n - 1) / 2];
}

float Memory::PredictedLowest() const {
    if (lastBlow != nullptr) {
        const MTNode* next = lastBlow;
        const auto found = follows.find(lastBlow);
        if (found != follows.end()) {
            int most = 0;
            for (const auto& [blow, times] : found->second) {
                if (times > most) {
                    most = times;
                    next = blow;
                }
            }
        }
        return theirs->Facts(next).lowest;
    }
    float lowest = 1e9f;
    for (const Move* m : theirs->Attacks()) lowest = std::min(lowest, m->lowest);
    return lowest;
}

// Reeling from a blow they can do nothing until its reaction is over;
// after a blow of their own, nothing new until its keys have played out.
// Either way a new command of theirs then waits out its window.
int Memory::OpenUntil(const Sight::View& v) const {
    if (v.time < 0) return -1;
    if (v.them.reaction == Fighter::HIT) {
        return v.them.since + static_cast<int>(v.them.length * 1000) + Controller::WINDOW_MS;
    }
    if (lastBlow == nullptr || v.them.reaction != Fighter::NONE) return -1;
    const Move& blow = theirs->Facts(lastBlow);
    const int spent = lastBlowSince + static_cast<int>(blow.activeEnd * 1000);
    const int until = lastBlowSince + static_cast<int>(blow.length * 1000) + Controller::WINDOW_MS;
    return v.time >= spent && v.time < until ? until : -1;
}

float Memory::Impatience(int now) const {
    const float idleFor = (now - lastExchange - STALE_MS) / static_cast<float>(STALE_MS);
    const float draggedOn = (now - boutStart - LONG_BOUT_MS) / static_cast<float>(LONG_BOUT_MS / 2);
    return std::clamp(std::max(idleFor, draggedOn), 0.0f, 2.0f);
}
