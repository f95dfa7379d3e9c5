#pragma once

#include <unordered_map>
#include <vector>

#include "ai/Memory.h"
#include "ai/MoveBook.h"
#include "ai/Sight.h"
#include "ai/Skill.h"

class GameSeq;
class MTNode;
class Random;

// How the computer fights: from what it has seen (a reaction time late), the
// distance between the fighters, what the opponent is doing and a draw of
// its own random generator, it picks what to do next and for how long, and
// says each frame which inputs its hands hold and press. It walks into range
// and out again, guards against blows it saw start and against an opponent
// who keeps attacking, punishes one who reels or recovers, throws at close
// quarters, keeps away from the edge behind it and drives the opponent over
// the edge behind them. Timers make it give up on what does not work, and it
// does not repeat one move for ever.
class Tactics {
public:
    // What the hands do this frame: inputs held, and inputs pressed now.
    struct Hands {
        int hold = 0;
        int press = 0;
    };

    // `player` names the computer in the trace.
    Tactics(int player, const MoveBook& own, const MoveBook& theirs, Random& random);

    void SetSkill(const Skill& s) { skill = s; }
    void Forget();  // a new match: nothing remembered

    // One frame: `seen` is the fight as it looked a reaction time ago, `me`
    // the computer's own fighter now (it knows what it is doing). A new press
    // is made only when `canPress` (the controller is not still forming or
    // holding a command).
    Hands Think(int now, const Sight::View& seen, const GameSeq& me, bool canPress);

private:
    enum class Act { REST, APPROACH, RETREAT, GUARD, MOVE };
    // What the computer is doing and until when. A held plan (an approach,
    // a retreat, a guard) holds its command for its whole length; a move is
    // given once, its direction held only while the command forms.
    struct Plan {
        Act act = Act::REST;
        int command = 0;               // Controller bits
        int madeAt = 0;
        int sentAt = -1;               // a move: when it was given; -1 not yet
        int until = 0;                 // game ms at which to think again
        float distance = 0;            // an approach stops this near; 0: it pushes on
        bool outside = false;          // an approach that began out of their reach
        const MTNode* from = nullptr;  // the node the plan was made at
    };
    using Move = MoveBook::Move;
    struct Candidate {
        const MoveBook::Option* option;  // null: rest
        float score;
    };

    Hands Deliver(int now, bool canPress);
    int Uses(const MTNode* node) const;  // among my last moves
    // Whether the plan should give way now; `opened` says they just left an opening.
    bool Spoiled(int now, const Sight::View& v, const MTNode* own, bool opened) const;
    bool GivenUp(int now) const;  // the guard has been up too long for nothing
    void Choose(int now, const Sight::View& v, const MTNode* own);
    float Score(const Move& m, const Sight::View& v, int now) const;
    void Guard(int now, const MTNode* own, float lowest, int until);
    void FollowUp(int now, const Sight::View& v, const GameSeq& me);
    void Start(int now, const MoveBook::Option* option, const MTNode* own, float distance);
    void Trace(int now, const char* what) const;  // the plan just made, on the debug trace
    // How far apart the fighters may stand for a blow (mine or theirs) to land.
    float Range(const Move& attack) const;

    int player;
    const MoveBook& own;
    const MoveBook& theirs;
    float approachTo;  // an approach stops this near: most of my blows land from here
    float edgeMargin;  // nearer the edge behind than this, a blow may throw one out
    float threat;      // nearer than this, their longest blow reaches
    std::unordered_map<const MTNode*, float> ranges;  // of every attack of either side
    Random& random;
    Skill skill;
    Plan plan;

    Memory memory;
    int guardRestUntil = 0;            // a guard given up on stays down until then
    int guardingSince = -1;            // how long the guard has been up; -1: it is down
    int comboFor = -1;                 // the blow of mine a follow-up was considered for
    bool theyWereOpen = false;         // as seen in the frame before
    static constexpr int RECENT = 6;
    const MTNode* recent[RECENT] = {}; // my last moves, for variety
    int recentNext = 0;
    float seen = 0;  // the distance to them, as last seen: for the trace
    std::vector<Candidate> candidates;  // kept from choice to choice: no allocation each time
};
