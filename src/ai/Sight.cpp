#include "ai/Sight.h"

#include <algorithm>
#include <limits>

#include "match/GameSeq.h"
#include "match/LifeBar.h"
#include "scene/Scene.h"
#include "anim/Anim.h"
#include "anim/MoveTree.h"
#include "character/Person.h"

namespace {

// Looks closer together than this add nothing a player could tell apart, and
// would let a fast frame rate push the reaction time out of the kept looks.
const int LOOK_MS = 4;

Sight::Fighter Watch(const GameSeq& seq) {
    Sight::Fighter f;
    f.node = seq.curNode;
    f.since = seq.animStart;
    f.length = seq.anim != nullptr ? seq.anim->length : 0;
    if (seq.inReaction) {
        const bool blocked = seq.moveTree != nullptr && (seq.anim == seq.moveTree->guardHit ||
                                                         seq.anim == seq.moveTree->guardHitLow);
        f.reaction = blocked ? Sight::Fighter::GUARD_HIT : Sight::Fighter::HIT;
    }
    f.fallen = seq.fallen;
    f.lost = seq.lost;
    f.life = seq.lifeBar != nullptr ? seq.lifeBar->value : 0;
    f.at = seq.person->position;
    f.at.y = 0;
    return f;
}

// How far from p along the floor direction u the square floor ends.
float RoomAlong(const Vector3& p, const Vector3& u, const Scene* scene) {
    if (scene == nullptr) return std::numeric_limits<float>::max();
    const float half = scene->arenaSize / 2;
    float room = std::numeric_limits<float>::max();
    if (u.x > 0) room = std::min(room, (half - p.x) / u.x);
    if (u.x < 0) room = std::min(room, (-half - p.x) / u.x);
    if (u.z > 0) room = std::min(room, (half - p.z) / u.z);
    if (u.z < 0) room = std::min(room, (-half - p.z) / u.z);
    return std::max(room, 0.0f);
}

}  // namespace

void Sight::Look(int now, const GameSeq& me, const GameSeq& them) {
    // A clock set back (a new match) starts the memory over.
    if (count > 0 && now < views[newest].time) Forget();
    if (count > 0 && now < views[newest].time + LOOK_MS) return;
    newest = (newest + 1) % KEPT;
    count = std::min(count + 1, KEPT);
    View& v = views[newest];
    v.time = now;
    v.me = Watch(me);
    v.them = Watch(them);
    Vector3 toward = v.them.at - v.me.at;
    v.distance = toward.Length();
    toward.Normalize();
    v.roomBehind = RoomAlong(v.me.at, -toward, me.scene);
    v.theirRoomBehind = RoomAlong(v.them.at, toward, me.scene);
}

const Sight::View& Sight::At(int time) const {
    static const View nothing;
    int index = newest;
    for (int i = 0; i < count; ++i, index = (index - 1 + KEPT) % KEPT) {
        if (views[index].time <= time) return views[index];
    }
    // Too old for what was kept, or before the first look: nothing seen.
    return count == KEPT ? views[(newest + 1) % KEPT] : nothing;
}

void Sight::Forget() {
    newest = -1;
    count = 0;
}
