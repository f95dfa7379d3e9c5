#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "math/Vector3.h"

class GameSeq;

// Everything that decides a match, so that it can be played again exactly:
// who fought where, the seeds of every random source, and for each frame the
// clock's step and both sides' sampled inputs; with a check of the fight
// (places, lives, moves) about once a second to prove the copy true.
// The file format is described in the README ("Replays").
class Replay {
public:
    static constexpr const char* MAGIC = "korvanthe-replay";
    static constexpr int VERSION = 1;
    // About four and a half hours at 60 frames a second: more is not a
    // match but a file made to exhaust memory.
    static constexpr int MAX_FRAMES = 1000000;
    static constexpr int MAX_FRAME_MS = 86400000;  // a day: a match left standing in the menu
    // Slow motion carries up to a tenth's remainder into the next frame, so
    // a frame's game step may exceed its real time by this much.
    static constexpr int MAX_CARRY_MS = 10;
    static constexpr int CHECK_MS = 1000;          // game time between checks
    // A place may differ by this much and still count as the same: the file
    // keeps nine digits, and another compiler may round a last bit otherwise.
    static constexpr float PLACE_TOLERANCE = 0.001f;

    // One frame: the real milliseconds the clock was given, the game
    // milliseconds it advanced by (slow motion and a frozen clock make them
    // differ), its mode, and the command bits each side's controller sampled.
    struct Frame {
        int realMs = 0;
        int gameMs = 0;
        int mode = 1;
        int input[2] = {};
        bool operator==(const Frame& o) const;
    };

    // The state of the fight after a frame.
    struct Check {
        int frame = 0;  // index into frames
        int time = 0;   // game time
        Vector3 place[2];
        int life[2] = {};
        std::string move[2];  // the move-tree node being played, "-" when unnamed

        static Check Take(int frame, int time, const GameSeq& s0, const GameSeq& s1);
        // Empty when `now` is the same fight as this recorded one, else what differs.
        std::string Differs(const Check& now) const;
    };

    std::string arena;
    std::string fighters[2];
    std::string players[2] = {"keyboard", "keyboard"};  // "keyboard", "joystick" or "cpu"
    int skill = 0;                     // the computer's level, for a "cpu" side
    int rounds = 1;                    // the match is won by the best of these
    int timer = 0;                     // seconds of a round; 0 for no timer
    std::uint32_t effectsSeed = 0;     // srand() of the sparks and particles
    std::uint64_t computerSeed[2] = {};  // each computer player's generator
    int startTime = 0;                 // game time when the match began
    std::vector<Frame> frames;
    std::vector<Check> checks;

    void Write(std::ostream& out) const;
    bool Save(const std::string& path) const;  // false, with a trace line, when it cannot
};
