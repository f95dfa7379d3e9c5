#pragma once

// The rules of a match in rounds: best of 1, 3 or 5, each round opened by
// its caption and then fought until a fighter loses (out of life or off
// the floor) or the round timer runs out, when the fighter with more life
// wins. A round nobody wins (equal life at the bell, or both down in the
// same frame) is a draw and is fought again. Times are game-clock ms, so
// a frozen clock stops the timer too.
class RoundRules {
public:
    // From a round's start: its caption ("ROUND 2") shows, then "FIGHT",
    // and the fighters are let loose when the fight begins.
    static constexpr int FIGHT_CALL_MS = 1200;
    static constexpr int FIGHT_BEGINS_MS = 2000;

    enum class Phase {
        INTRO,     // the round's caption: the fighters stand still
        FIGHT,     // the round is being fought
        DECIDED,   // the round has a result; the next one starts or the match ends
    };
    enum class End { NONE, KNOCKOUT, TIME_UP };  // how the round was decided

    // bestOf: 1, 3 or 5 rounds. timerSeconds: 0 for no timer.
    RoundRules(int bestOf, int timerSeconds);

    void StartMatch(int now);    // round 1, no wins
    void NextRound(int now);     // after a decided round: the next, or the same after a draw
    void RestartRound(int now);  // the current round from its caption again, undecided

    Phase PhaseAt(int now) const;
    // One frame of the fight: the fighters' life and whether each has lost.
    // Decides the round when it is over and returns how; NONE otherwise.
    End Judge(int now, const int life[2], const bool lost[2]);

    // Whole seconds on the round's clock, rounded up, stopped once the round
    // is decided; -1 without a timer.
    int SecondsLeft(int now) const;
    bool MatchOver() const;          // a fighter has won enough rounds
    int WinsNeeded() const { return bestOf / 2 + 1; }

    int bestOf;
    int timerMs;           // 0: no timer
    int round = 1;         // counted from 1; a drawn round keeps its number
    int wins[2] = {0, 0};
    int roundStart = 0;    // game time the round's caption began
    int winner = -1;       // of the decided round; -1 while undecided or for a draw
    End end = End::NONE;   // how the current round ended
    int decidedAt = 0;     // game time the round was decided

private:
    void Begin(int now);  // the current round from its caption
};
