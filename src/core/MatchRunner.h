#pragma once

#include <cstdint>
#include <memory>
#include <string>

class ComputerController;
class Keyboard;
class Match;
class Playback;
class Recorder;
class TrainingMode;

// The ways a match runs besides being simply played: a live match is kept as
// the latest replay, a replay is watched through the match as it was played
// (its inputs for the controllers, its steps for the clock), and player 1
// trains against the dummy. The game hands it each new match and asks it,
// each frame, whether the match goes on.
class MatchRunner {
public:
    // `fighters` and `arena` are the game's: a replay brings its own for as
    // long as it plays, and the ones chosen before come back after it.
    MatchRunner(std::string (&fighters)[2], std::string& arena);
    ~MatchRunner();
    MatchRunner(const MatchRunner&) = delete;
    MatchRunner& operator=(const MatchRunner&) = delete;

    void KeepMatches();  // live matches from now on are kept as replays
    // Loads the replay at `path` for the next match; false, with `notice`
    // set and said on standard error, when it is refused.
    bool Watch(const std::string& path);

    // The rounds and the timer of the next match: a replay's own, none in
    // training, else the options'.
    void Rules(bool training, int& rounds, int& timer) const;
    // Starts `match`, just made: fed from the replay watched, or with the
    // dummy on side 2 in training, or kept. `computers` are the match's
    // computer players (null on a person's side), made from `seed`.
    void Begin(Match& match, bool training, ComputerController* const computers[2],
               std::uint64_t seed);
    // Before the match's frame: training's keys. Then whether the frame is
    // played now; a replay is paced by the real time of its frames, and F3
    // and F5 stop and slow it.
    void Keys(const Keyboard& keys, int now);
    bool Due(const Keyboard& keys);
    void Draw() const;  // training's figures over the picture
    // The match ends here: a replay has ended or stopped, or training was
    // left. `pressed` is whether a key other than the function keys went down.
    bool Over(bool pressed) const;
    // The match is over: a live one is kept and training let go (Close);
    // a replay is let go too, and the fighters chosen before come back (End).
    void Close();
    void End();

    bool watching() const { return playback != nullptr; }
    // Why the last replay was refused or stopped, for the menu; empty after.
    std::string TakeNotice();

private:
    void Frame();  // after each frame's blows: to the recorder, the replay, training
    void Record(std::uint64_t seed, unsigned effectsSeed, ComputerController* const computers[2]);
    // Said on standard error, and kept for the menu after `heading` (as
    // `shown`, when that is given).
    void Refuse(const char* heading, const std::string& why, const std::string& shown = "");

    std::string (&fighters)[2];
    std::string& arena;
    Match* match = nullptr;                  // the game's, from Begin on
    std::unique_ptr<Recorder> recorder;      // keeps every live match as a replay
    std::unique_ptr<Playback> playback;      // the replay being watched; null in play
    std::unique_ptr<TrainingMode> training;  // while player 1 trains against the dummy
    std::string watched;                     // the file the replay came from
    std::string chosen[3];                   // the fighters and arena before a replay brought its own
    bool stopped = false;                    // the replay's fight differs from the one recorded
    std::string notice;
};
