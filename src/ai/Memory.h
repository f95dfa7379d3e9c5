#pragma once

#include <unordered_map>

#include "ai/MoveBook.h"
#include "ai/Sight.h"

class MTNode;

// What the computer remembers of the fight from what it has seen: the
// opponent's blows (which one tends to follow which, and whether they keep a
// rhythm), how readily the opponent strikes when it could, when the opponent
// is open to a blow, and how long the fight has gone on without anything
// happening.
class Memory {
public:
    explicit Memory(const MoveBook& book) : theirs(&book) {}

    void Forget();  // a new match
    // Takes in one look at the fight; `reach` is how near they must be to
    // strike at all. True when it shows a new blow of theirs beginning.
    bool Remember(int now, const Sight::View& v, float reach);

    // 0 (never strikes) to 1 (strikes whenever it can).
    float Aggression() const;
    // When their next blow should begin, if they have kept a steady rhythm; -1 if not.
    int ExpectedBlow() const;
    // How low their next blow will come: what followed their last blow most
    // often, else their last blow, else their lowest.
    float PredictedLowest() const;
    // Until when (game ms) they cannot strike back: they reel from a blow, or
    // their last blow is spent. -1 when they can.
    int OpenUntil(const Sight::View& v) const;
    // 0 while blows come and go; rising to 2 as nothing happens for long, or
    // as the bout drags on.
    float Impatience(int now) const;

    int lastBlowSince = -1;            // when their last blow began
    const MTNode* lastBlow = nullptr;  // their last blow

private:
    const MoveBook* theirs;  // their moves
    // Per blow of theirs, the blows that followed it and how often.
    std::unordered_map<const MTNode*, std::unordered_map<const MTNode*, int>> follows;
    static constexpr int BLOWS_KEPT = 8;
    int blowStarts[BLOWS_KEPT] = {};  // when their recent blows began
    int blows = 0;
    float freeBlows = 0;              // their blows, fading with time
    float freeSeconds = 0;            // the time they could have struck, fading likewise
    int lastSeen = -1;                // the time of the last look taken in
    int lastLives[2] = {-1, -1};      // mine and theirs, as last seen
    int lastExchange = 0;             // when a life last changed or they last struck
    int boutStart = 0;                // when this bout began, as far as it saw
};
