#pragma once

// The computer opponent's levels. A level changes only how well it decides:
// how soon it sees what happens, how often it guards a blow it saw coming,
// how often it picks the best move rather than any, how often it follows a
// blow with the next one of a combo. Never life, damage or speed.
struct Skill {
    static constexpr int LEVELS = 7;

    static Skill Level(int level);  // 0 (weakest) .. 6; outside, the nearest level

    const char* name;   // shown in the menu: letters and spaces only
    int reactionMs;     // how old the fight it decides on is
    float guard;        // the chance that it guards a blow it saw start
    float best;         // the chance that it picks the best move over a random one
    float combo;        // the chance that it presses a follow-up during a blow
};
