#pragma once

#include "math/Vector3.h"

class GameSeq;
class MTNode;

// What the computer sees of the fight, frame by frame, and what it has taken
// in by now: every look is kept for a while, and the decisions read the one
// a reaction time old. It reads the fighters as a player reads the screen:
// where they stand, what move each is in, whether it reels from a blow, has
// fallen or lost, and both lives. Nothing of a controller is read.
class Sight {
public:
    // One fighter at one moment.
    struct Fighter {
        enum Reaction { NONE, HIT, GUARD_HIT };
        const MTNode* node = nullptr;  // the move it is playing
        int since = 0;                 // game ms at which that move began
        float length = 0;              // s: how long the animation it plays lasts
        Reaction reaction = NONE;
        bool fallen = false;           // knocked off the floor
        bool lost = false;
        int life = 0;
        Vector3 at;                    // where it stands
    };
    // The fight at one moment, from one side.
    struct View {
        int time = -1;             // game ms; -1: nothing seen yet
        Fighter me, them;
        float distance = 0;        // between the two across the floor
        float roomBehind = 0;      // from me to the edge, straight away from them
        float theirRoomBehind = 0; // from them to the edge, straight away from me
    };

    static constexpr int KEPT = 256;  // looks kept; one every few ms at most

    // Looks at the fight through `me`'s eyes; at most one look per few ms of
    // game time, and none while the clock stands still.
    void Look(int now, const GameSeq& me, const GameSeq& them);
    // The newest look taken at or before `time`: nothing seen (time -1) before
    // the first look, the oldest kept when the looks kept are all newer.
    const View& At(int time) const;
    void Forget();  // a new match: nothing seen

private:
    View views[KEPT];
    int newest = -1;  // index of the newest look
    int count = 0;
};
