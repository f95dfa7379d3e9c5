#include "match/RoundRules.h"

RoundRules::RoundRules(int bestOf_, int timerSeconds)
    : bestOf(bestOf_ < 1 ? 1 : bestOf_), timerMs(timerSeconds > 0 ? timerSeconds * 1000 : 0) {}

void RoundRules::StartMatch(int now) {
    round = 1;
    wins[0] = wins[1] = 0;
    Begin(now);
}

void RoundRules::NextRound(int now) {
    if (winner >= 0) ++round;
    Begin(now);
}

void RoundRules::RestartRound(int now) {
    if (winner >= 0) --wins[winner];  // a round decided and then fought again counts once
    Begin(now);
}

void RoundRules::Begin(int now) {
    roundStart = now;
    winner = -1;
    end = End::NONE;
}

RoundRules::Phase RoundRules::PhaseAt(int now) const {
    if (end != End::NONE) return Phase::DECIDED;
    return now - roundStart < FIGHT_BEGINS_MS ? Phase::INTRO : Phase::FIGHT;
}

RoundRules::End RoundRules::Judge(int now, const int life[2], const bool lost[2]) {
    if (PhaseAt(now) != Phase::FIGHT) return End::NONE;
    if (lost[0] || lost[1]) {
        end = End::KNOCKOUT;
        winner = lost[0] == lost[1] ? -1 : lost[0] ? 1 : 0;
    } else if (timerMs > 0 && SecondsLeft(now) == 0) {
        end = End::TIME_UP;
        winner = life[0] == life[1] ? -1 : life[0] > life[1] ? 0 : 1;
    } else {
        return End::NONE;
    }
    if (winner >= 0) ++wins[winner];
    decidedAt = now;
    return end;
}

int RoundRules::SecondsLeft(int now) const {
    if (timerMs == 0) return -1;
    const int stopped = end != End::NONE ? decidedAt : now;
    const int fought = stopped - roundStart - FIGHT_BEGINS_MS;
    const int left = timerMs - (fought > 0 ? fought : 0);
    return left > 0 ? (left + 999) / 1000 : 0;
}

bool RoundRules::MatchOver() const {
    return wins[0] >= WinsNeeded() || wins[1] >= WinsNeeded();
}
