#pragma once

#include <string>
#include <vector>

#include "replay/Replay.h"

class Clock;
class GameSeq;

// Keeps the match being played as a replay: the game tells it when the match
// begins, hands it every frame once both fighters have moved, and saves it
// when the match ends. It only observes; the match plays as it would without it.
class Recorder {
public:
    static constexpr int KEPT = 20;  // the newest replays kept in the replay folder

    // A new match: `header` names the fighters, the arena, the seeds and the
    // game time it starts at; frames and checks start empty.
    void Begin(const Replay& header);
    // One frame of the match, after both fighters' updates and blows: the
    // clock's step, the inputs each side sampled, and a check every second.
    void Frame(const Clock& clock, int input0, int input1, const GameSeq& s0, const GameSeq& s1);
    // The match is over: saves it into Folder() when it has frames, and stops.
    // The path written, or empty.
    std::string End();

    // Saves `replay` into Folder() under the time, and lets the oldest go
    // beyond the newest KEPT. The path written, or empty.
    static std::string Keep(const Replay& replay);

    bool recording() const { return active; }
    const Replay& replay() const { return record; }

    // $XDG_DATA_HOME/korvanthe/replays (~/.local/share/korvanthe/replays).
    static std::string Folder();
    // The newest replay in the folder, or empty when there is none.
    static std::string Latest();
    // Every replay in the folder, the newest first.
    static std::vector<std::string> Kept();

private:
    static void Prune(const std::string& folder);  // all but the newest KEPT

    Replay record;
    bool active = false;
    int lastTime = 0;
    int nextCheck = 0;  // game ms since the start at which the next check is due
};
