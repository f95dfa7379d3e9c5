#include "match/RoundRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using End = RoundRules::End;
const int FIGHT = RoundRules::FIGHT_BEGINS_MS;

// One round of a 60 s match judged at a moment of the fight.
TEST(RoundRules, HowARoundIsDecided) {
    struct Case {
        const char* what;
        int foughtMs;  // since the fight began
        int life0, life1;
        bool lost0, lost1;
        End end;
        int winner;
    } const cases[] = {
        {"time up, more life wins", 60000, 70, 40, false, false, End::TIME_UP, 0},
        {"time up, the other has more", 60000, 30, 60, false, false, End::TIME_UP, 1},
        {"time up, equal life is a draw", 60000, 50, 50, false, false, End::TIME_UP, -1},
        {"a second before the bell", 59000, 70, 40, false, false, End::NONE, -1},
        {"ring-out", 3000, 100, 100, false, true, End::KNOCKOUT, 0},
        {"both down in one frame is a draw", 3000, 0, 0, true, true, End::KNOCKOUT, -1},
        {"nothing is judged before the fight", -500, 100, 100, true, false, End::NONE, -1},
    };
    for (const Case& c : cases) {
        RoundRules rules(3, 60);
        rules.StartMatch(1000);
        const int life[2] = {c.life0, c.life1};
        const bool lost[2] = {c.lost0, c.lost1};
        EXPECT_TRUE(rules.Judge(1000 + FIGHT + c.foughtMs, life, lost) == c.end && rules.winner == c.winner) << c.what;
    }
    RoundRules untimed(3, 0);  // only a knockout ends a round
    untimed.StartMatch(0);
    const int life[2] = {90, 10};
    const bool standing[2] = {false, false};
    EXPECT_TRUE(untimed.Judge(FIGHT + 3600000, life, standing) == End::NONE && untimed.SecondsLeft(FIGHT) == -1);
}

// Matches played round by round: the winner of each (-1 a draw), the round
// each was fought as, and whether the match is then over.
TEST(RoundRules, BestOfOneThreeAndFive) {
    struct Round {
        int winner;
        int number;
        bool over;
    };
    struct Case {
        int bestOf;
        std::vector<Round> rounds;
    } const cases[] = {
        {1, {{1, 1, true}}},
        {3, {{0, 1, false}, {1, 2, false}, {0, 3, true}}},
        {3, {{0, 1, false}, {-1, 2, false}, {0, 2, true}}},
        {5, {{1, 1, false}, {1, 2, false}, {0, 3, false}, {1, 4, true}}},
    };
    for (const Case& c : cases) {
        RoundRules rules(c.bestOf, 60);
        int now = 0;
        rules.StartMatch(now);
        for (const Round& r : c.rounds) {
            EXPECT_EQ(rules.round, r.number) << "best of " << c.bestOf;
            // Every round ends in a ring-out in its fourth second.
            const int life[2] = {100, 100};
            const bool lost[2] = {r.winner == 1 || r.winner < 0, r.winner == 0 || r.winner < 0};
            now += FIGHT + 3000;
            rules.Judge(now, life, lost);
            EXPECT_EQ(rules.MatchOver(), r.over) << "best of " << c.bestOf << ", round " << r.number;
            rules.NextRound(now);
        }
    }
}

TEST(RoundRules, TheClockCountsTheFightAndStopsWhenTheRoundIsDecided) {
    RoundRules rules(3, 30);
    rules.StartMatch(500);
    EXPECT_EQ(rules.SecondsLeft(500), 30) << "the caption takes none of it";
    EXPECT_EQ(rules.PhaseAt(500 + FIGHT - 1), RoundRules::Phase::INTRO);
    EXPECT_EQ(rules.SecondsLeft(500 + FIGHT + 10500), 20);
    const int life[2] = {10, 100};
    const bool lost[2] = {true, false};
    rules.Judge(500 + FIGHT + 10500, life, lost);
    EXPECT_TRUE(rules.PhaseAt(500 + FIGHT + 20000) == RoundRules::Phase::DECIDED &&
                rules.SecondsLeft(500 + FIGHT + 20000) == 20);
    rules.RestartRound(40000);
    EXPECT_TRUE(rules.wins[1] == 0 && rules.round == 1) << "the round restarted is not won yet";
    EXPECT_EQ(rules.SecondsLeft(40000 + FIGHT), 30);
}

}  // namespace
