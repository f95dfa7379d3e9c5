#include "ai/Tactics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "anim/MTNode.h"
#include "core/Trace.h"
#include "input/Controller.h"
#include "match/GameSeq.h"
#include "math/Random.h"

namespace {

using Move = MoveBook::Move;
using Option = MoveBook::Option;
using Fighter = Sight::Fighter;

// Inputs that act while held; the others act in the frame they go down.
const int HELD = Controller::CMD_F | Controller::CMD_A | Controller::CMD_U | Controller::CMD_D |
                 Controller::CMD_G;
const int WINDOW_MS = Controller::WINDOW_MS;
// A move's direction is held a little past the window, so that it is in the
// command however the frames fall.
const int FORMING_MS = WINDOW_MS + 40;

// Blows reach a little farther than their keys say: the body moves between
// keys, and the fighters are pushed apart as they close.
const float SLACK = 12;

// Give-up timers.
const int GUARD_GIVE_UP_MS = 1800;   // a guard held this long comes down
const int APPROACH_GIVE_UP_MS = 2000;
const int PRESS_GIVE_UP_MS = 600;    // a move the controller could not take by then is dropped
const int GUARD_REST_MS = 700;       // a guard given up on is not taken up again for this long

// Scores of what is rarely worth doing.
const float IDLE = 0.02f;
const float REST = 0.08f;

}  // namespace

Tactics::Tactics(int player_, const MoveBook& own_, const MoveBook& theirs_, Random& random_)
    : player(player_),
      own(own_),
      theirs(theirs_),
      random(random_),
      skill(Skill::Level(3)),
      memory(theirs_) {
    std::vector<float> mine;
    for (const Move* m : own.Attacks()) {
        ranges[m->node] = MoveBook::Range(*m, theirs);
        mine.push_back(ranges[m->node]);
    }
    std::sort(mine.begin(), mine.end());
    approachTo = mine.empty() ? 0 : mine[mine.size() / 2];
    float push = 0;
    threat = 0;
    for (const Move* m : theirs.Attacks()) {
        ranges[m->node] = MoveBook::Range(*m, own);
        push = std::max(push, m->knockback);
        threat = std::max(threat, ranges[m->node] + SLACK);
    }
    edgeMargin = push + 30;
}

void Tactics::Forget() {
    plan = Plan();
    memory.Forget();
    guardRestUntil = 0;
    guardingSince = -1;
    comboFor = -1;
    theyWereOpen = false;
    std::fill(std::begin(recent), std::end(recent), nullptr);
    recentNext = 0;
}

Tactics::Hands Tactics::Think(int now, const Sight::View& v, const GameSeq& me, bool canPress) {
    const MTNode* node = me.curNode;
    seen = v.distance;
    const bool newBlow = memory.Remember(now, v, threat);
    const bool open = memory.OpenUntil(v) >= 0;
    const Move& mine = own.Facts(node);

    if (me.won || me.lost || v.time < 0 || v.them.lost || v.them.fallen) {
        // Nothing to fight for: hands off.
        plan = Plan();
        plan.until = now;
    } else if (me.inReaction) {
        // Reeling, whatever is pressed is lost; a guard held comes up as it ends.
        if (plan.act != Act::GUARD) {
            plan = Plan();
            plan.until = now;
        }
    } else {
        const Move& blow = theirs.Facts(v.them.node);
        const bool reaches = v.distance <= Range(blow) + SLACK;
        const bool free = mine.interruptible || mine.kind == Move::GUARD;
        if (newBlow && reaches && free && random.Chance(skill.guard)) {
            const int over = v.them.since + static_cast<int>(blow.activeEnd * 1000) + 250;
            Guard(now, node, blow.lowest, std::max(over, now + 300));
        } else if (mine.kind == Move::ATTACK && !mine.interruptible) {
            FollowUp(now, v, me);
        } else if (now >= plan.until || Spoiled(now, v, node, open && !theyWereOpen)) {
            Choose(now, v, node);
        }
    }
    theyWereOpen = open;
    guardingSince = plan.act != Act::GUARD ? -1 : guardingSince < 0 ? now : guardingSince;
    return Deliver(now, canPress);
}

Tactics::Hands Tactics::Deliver(int now, bool canPress) {
    Hands hands;
    if (plan.act != Act::MOVE) {
        hands.hold = plan.command;
    } else if (plan.sentAt < 0) {
        if (canPress) {
            plan.sentAt = now;
            plan.until = now + WINDOW_MS + 80;
            hands.hold = plan.command & HELD;
            hands.press = plan.command & ~HELD;
        } else if (now - plan.madeAt > PRESS_GIVE_UP_MS) {
            plan.until = now;
        }
    } else if (now < plan.sentAt + FORMING_MS) {
        hands.hold = plan.command & HELD;
    }
    return hands;
}

// Plans end early on events, not on states: a state that lasts would make
// the computer change its mind every frame.
bool Tactics::Spoiled(int now, const Sight::View& v, const MTNode* node, bool opened) const {
    const bool chance = opened && v.distance <= approachTo + SLACK;  // they just left an opening
    switch (plan.act) {
        // Coming into their reach is worth a second thought.
        case Act::APPROACH: return v.distance <= plan.distance || (plan.outside && v.distance <= threat);
        case Act::GUARD: return chance || GivenUp(now);
        case Act::REST: return node != plan.from || chance;
        case Act::RETREAT: return chance;
        case Act::MOVE: return false;
    }
    return false;
}

// A guard that has been up for long with no blow coming is wasted.
bool Tactics::GivenUp(int now) const {
    return guardingSince >= 0 && now - guardingSince > GUARD_GIVE_UP_MS &&
           now - memory.lastBlowSince > GUARD_GIVE_UP_MS;
}

void Tactics::Choose(int now, const Sight::View& v, const MTNode* node) {
    if (plan.act == Act::GUARD && GivenUp(now)) guardRestUntil = now + GUARD_REST_MS;
    // Resting is always a choice; the others are what the commands lead to.
    candidates.clear();
    candidates.push_back({nullptr, REST});
    for (const Option& o : own.Options(node)) candidates.push_back({&o, Score(own.Facts(o.node), v, now)});
    size_t pick = 0;
    if (random.Chance(skill.best)) {
        for (size_t i = 1; i < candidates.size(); ++i) {
            if (candidates[i].score > candidates[pick].score) pick = i;
        }
    } else {
        pick = random.Below(static_cast<int>(candidates.size()));
    }
    Start(now, candidates[pick].option, node, v.distance);
}

void Tactics::Start(int now, const Option* option, const MTNode* node, float distance) {
    plan = Plan();
    plan.madeAt = now;
    plan.from = node;
    if (option == nullptr) {
        plan.act = Act::REST;
        plan.until = now + static_cast<int>(random.Between(100, 300));
        Trace(now, "rests");
        return;
    }
    plan.command = option->command;
    switch (own.Facts(option->node).kind) {
        case Move::WALK_IN:
            // Into range; or, in range already, into them: pushing them back.
            plan.act = Act::APPROACH;
            plan.until = now + APPROACH_GIVE_UP_MS;
            plan.distance = distance > approachTo ? approachTo : 0;
            plan.outside = distance > threat;
            break;
        case Move::WALK_OUT:
            plan.act = Act::RETREAT;
            plan.until = now + static_cast<int>(random.Between(300, 700));
            break;
        case Move::GUARD:
            plan.act = Act::GUARD;
            plan.until = now + static_cast<int>(random.Between(400, 900));
            break;
        default:
            plan.act = Act::MOVE;
            plan.until = now + PRESS_GIVE_UP_MS + WINDOW_MS;  // set again once given
            recent[recentNext] = option->node;
            recentNext = (recentNext + 1) % RECENT;
            break;
    }
    Trace(now, option->node->moveName);
}

void Tactics::Trace(int now, const char* what) const {
    if (!debug.enabled()) return;
    char letters[16];
    debug << "computer player " << player << " at " << now << ": " << what << " ("
          << Controller::Letters(plan.command, letters) << ") until " << plan.until
          << ", the opponent seen " << static_cast<int>(seen) << " away" << std::endl;
}

void Tactics::Guard(int now, const MTNode* node, float lowest, int until) {
    const Option* guard = nullptr;
    if (random.Chance(skill.best)) {
        guard = own.BestGuard(node, lowest);
    } else {
        std::vector<const Option*> guards;
        for (const Option& o : own.Options(node)) {
            if (own.Facts(o.node).kind == Move::GUARD) guards.push_back(&o);
        }
        if (!guards.empty()) guard = guards[random.Below(static_cast<int>(guards.size()))];
    }
    if (guard == nullptr) return;
    if (plan.act != Act::GUARD || plan.command != guard->command) {
        plan = Plan();
        plan.act = Act::GUARD;
        plan.command = guard->command;
        plan.madeAt = now;
        plan.from = node;
    }
    plan.until = std::max(plan.until, until);
    Trace(now, "guards against a blow seen");
}

// A blow of mine is under way: once per blow, maybe the next one of the combo.
// It is given now and waits in the controller until this one ends.
void Tactics::FollowUp(int now, const Sight::View& v, const GameSeq& me) {
    if (comboFor == me.animStart) return;
    comboFor = me.animStart;
    if (!random.Chance(skill.combo)) return;
    std::vector<const Option*> blows;
    for (const Option& o : own.Options(me.curNode)) {
        const Move& m = own.Facts(o.node);
        if (m.kind == Move::ATTACK && v.distance <= Range(m) + SLACK) blows.push_back(&o);
    }
    if (blows.empty()) return;
    const Option* pick = blows[random.Below(static_cast<int>(blows.size()))];
    if (random.Chance(skill.best)) {
        for (const Option* o : blows) {
            if (Score(own.Facts(o->node), v, now) > Score(own.Facts(pick->node), v, now)) pick = o;
        }
    }
    Start(now, pick, me.curNode, v.distance);
}

float Tactics::Range(const Move& attack) const {
    const auto found = ranges.find(attack.node);
    return found != ranges.end() ? found->second : 0;
}

int Tactics::Uses(const MTNode* node) const {
    return static_cast<int>(std::count(std::begin(recent), std::end(recent), node));
}

float Tactics::Score(const Move& m, const Sight::View& v, int now) const {
    const Move& them = theirs.Facts(v.them.node);
    const float seenFor = (v.time - v.them.since) / 1000.0f;
    const bool attacking = them.kind == Move::ATTACK && v.them.reaction == Fighter::NONE;
    const bool theyStrike = attacking && seenFor < them.activeEnd;
    const int openUntil = memory.OpenUntil(v);
    const bool theyAreOpen = openUntil >= 0;
    const bool theyGuard = them.kind == Move::GUARD || v.them.reaction == Fighter::GUARD_HIT;
    const bool theyCome = them.kind == Move::WALK_IN && v.them.reaction == Fighter::NONE;
    const float impatience = memory.Impatience(now);
    const bool behind = v.me.life + 15 < v.them.life;
    const bool cornered = v.roomBehind < edgeMargin;
    const bool theyAreCornered = v.theirRoomBehind < edgeMargin;
    const float d = v.distance;

    switch (m.kind) {
        case Move::ATTACK: {
            if (d > Range(m) + SLACK) return IDLE;  // it would strike the air
            // Damage for the time it commits the fighter.
            float s = (m.damage + 2) / (20 * (m.startup + 0.15f + 0.25f * (m.length + m.recovery)));
            if (theyGuard) s *= them.kind == Move::GUARD && m.lowest < them.openTop ? 2.5f : 0.3f;
            // Struck while they reel or recover, a blow lands; struck into an
            // opponent who keeps attacking, it trades blows.
            if (theyAreOpen) {
                // Landing before they can strike again, or not; and over in
                // time to guard again against an opponent who keeps attacking.
                s *= now + WINDOW_MS + m.startup * 1000 < openUntil + 80 ? 2 : 0.6f;
                if (now + WINDOW_MS + m.length * 1000 > openUntil + 250) s *= 1 - 0.5f * memory.Aggression();
            } else if (theyStrike) {
                s *= 0.3f;
            } else {
                s *= 1 - 0.85f * memory.Aggression();
            }
            // Their next blow, if they keep time, must not come before this one lands.
            const int next = memory.ExpectedBlow();
            if (next > now && now + WINDOW_MS + m.startup * 1000 > next) s *= 0.25f;
            if (m.isThrow) s *= d <= own.front + theirs.front + 20 ? 1.5f : 0.3f;
            if (m.knockback > 0 && v.theirRoomBehind < m.knockback + 10) s *= 3;
            s *= 1 + 0.75f * impatience;
            if (behind) s *= 0.9f;
            return s * std::pow(0.6f, static_cast<float>(Uses(m.node)));
        }
        case Move::WALK_IN: {
            float s = d > approachTo ? 1 + std::min(1.0f, (d - approachTo) / 100) : 0.05f;
            // Within their reach, closing in is for when they cannot strike
            // until it is done.
            const float speed = m.travel.Length() / std::max(m.length, 0.01f);
            const float arrives = now + WINDOW_MS + std::max(d - approachTo, 0.0f) / speed * 1000;
            if (d <= threat && !(theyAreOpen && arrives < openUntil)) {
                s *= 1 - 0.8f * memory.Aggression() * std::max(0.0f, 1 - impatience);
            }
            // Into them, it pushes them back: over their edge, away from mine.
            // Into an opponent who keeps attacking, it walks into blows.
            const float calm = 1 - memory.Aggression();
            if (theyAreCornered && d < approachTo + SLACK) s += 0.5f * calm;
            if (cornered) s += 0.4f * calm;
            // Coming on by themselves, they can be let come.
            return theyCome ? s * 0.3f : s;
        }
        case Move::WALK_OUT:
            if (cornered) return 0;
            return (theyStrike && d < threat) || behind ? 0.15f : IDLE;
        case Move::SIDE_STEP: return cornered ? 0.8f - 0.4f * memory.Aggression() : IDLE;
        case Move::GUARD: {
            if (d > threat || theyAreOpen || now < guardRestUntil) return IDLE;
            float s = 0.15f + 1.2f * memory.Aggression() + (theyStrike ? 0.5f : 0) + (theyCome ? 0.4f : 0);
            const int next = memory.ExpectedBlow();
            if (next > now && next - now < 700) s += 0.6f;
            s /= 1 + 3 * impatience;
            if (behind) s *= 1.3f;
            if (m.openTop >= memory.PredictedLowest()) s *= 0.3f;
            // Reading a rhythm of blows is part of the skill, as seeing one start is.
            s *= 0.3f + 0.7f * skill.guard;
            // Of two guards, the one that leaves less open.
            return m.openTop == MoveBook::NOTHING_OPEN ? s + 0.01f : s;
        }
        default: return IDLE;
    }
}
