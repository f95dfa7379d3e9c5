#pragma once

#include <string>

// The player's own options, kept between runs in "options.txt" in the
// player's config directory: one "name value" line each after a version
// line. Whole-number options are brought into their range with a trace
// line; a missing, unreadable or malformed file (an unknown name, a key
// name SDL does not have, a key bound twice or one the game keeps for
// itself) leaves the defaults, with a trace line saying why, and is written
// whole at the next save.
class Preferences {
public:
    static constexpr int VERSION = 1;

    // What a player's keys do, in the order the keyboard controller takes
    // them: the four directions, then actions 0 to 5.
    enum Action { RIGHT, LEFT, UP, DOWN, PUNCH, KICK, GUARD, THROW, SIDESTEP_O, SIDESTEP_I, ACTIONS };
    static const char* const ACTION_NAMES[ACTIONS];  // "right" ... "sidestep_i", as in the file

    // The window sizes offered, in pixels; option `window` counts from 1.
    struct Size {
        int width, height;
    };
    static constexpr int WINDOW_SIZES = 6;
    static const Size SIZES[WINDOW_SIZES];

    Preferences();  // the defaults

    static std::string Path();  // options.txt in the player's config directory

    // True when the file was read; otherwise every option keeps its default.
    bool Load(const std::string& path);
    bool Save(const std::string& path) const;  // false, with a trace line, when it cannot
    bool SaveInConfig() const;                 // Save to Path(), making its directory

    // Why player's `action` cannot have `key`: another action or the other
    // player has it, or the game keeps it for itself. Empty when it can.
    std::string Refusal(int player, int action, int key) const;
    static bool Reserved(int key);  // Escape, P, M and the F-keys run the game
    // The window device.cfg asks for, as the player's choices change it.
    void ApplyDisplay(int& width, int& height, bool& full) const;

    int skill = 3;           // the computer opponent's level, 0 (weakest) .. 6
    int volume = 80;         // sound, 0 (silent) .. 100
    int rounds = 3;          // a match is the best of 1, 3 or 5 rounds
    int timer = 60;          // seconds in a round: 0 (no timer), 30, 60 or 99
    int stencilShadows = 1;  // a match starts with 1 stencil shadow volumes, 0 planar shadows
    int fullscreen = 0;      // 0 as device.cfg says, 1 in a window, 2 full screen
    int window = 0;          // 0 device.cfg's size, else SIZES[window - 1]
    int keys[2][ACTIONS];    // each player's SDL key codes

private:
    std::string Duplicate() const;  // two actions sharing a key, described; empty when none
};

extern Preferences preferences;  // read at start-up
