#include "ai/MoveBook.h"

#include <algorithm>
#include <bitset>
#include <cmath>

#include "ai/Skeleton.h"
#include "anim/Anim.h"
#include "anim/KeyFrame.h"
#include "anim/MTNode.h"
#include "anim/MoveTree.h"
#include "character/Person.h"
#include "input/Controller.h"

namespace {

const Vector3 FORWARD(0, 0, -1);
const Vector3 UP(0, 1, 0);

// How far along the way to a striking key its parts are looked at: a frame
// of the game may end a fifth of the way short of the key.
const float WAY_END = 0.8f;
const float WAY[] = {0, 0.4f, WAY_END};

// Points taken along a striking part, joint to tip, less one.
const int SAMPLES = 4;

// The part of a blow this near its farthest point is the part that meets
// the opponent.
const float LEADING = 20;

// A move that carries the body less than this far stays where it is.
const float STEP = 5;

// Every command a player can give that a move tree can tell apart: at most
// one way across, one way up or down, one pressed action, with or without
// the guard held. Fewest letters first, so that the simplest way to a move
// is the one remembered.
std::vector<int> Commands() {
    using C = Controller;
    std::vector<int> all;
    for (int across : {0, C::CMD_F, C::CMD_A})
        for (int upDown : {0, C::CMD_U, C::CMD_D})
            for (int action : {0, C::CMD_P, C::CMD_K, C::CMD_T, C::CMD_I, C::CMD_O})
                for (int guard : {0, C::CMD_G}) all.push_back(across | upDown | action | guard);
    std::stable_sort(all.begin(), all.end(), [](int a, int b) {
        return std::bitset<16>(a).count() < std::bitset<16>(b).count();
    });
    return all;
}

bool AnyBone(const KeyFrame& key, int parts, int flag) {
    const int n = std::min(key.nbones, parts);
    for (int b = 0; b < n; ++b) {
        if ((key.boneFlags[b] & flag) != 0) return true;
    }
    return false;
}

// The lowest of the points that lead a blow: the far end of a weapon or a
// limb, not the butt of a staff behind the hands.
float Lowest(const std::vector<MoveBook::Point>& points) {
    float farthest = -1e9f;
    for (const MoveBook::Point& p : points) farthest = std::max(farthest, p.forward);
    float lowest = 1e9f;
    for (const MoveBook::Point& p : points) {
        if (p.forward >= farthest - LEADING) lowest = std::min(lowest, p.height);
    }
    return lowest;
}

void CollectNodes(MTNode* node, std::vector<MTNode*>& out) {
    if (node == nullptr || node->isLink) return;
    out.push_back(node);
    for (int i = 0; i < node->children.count; ++i) CollectNodes(node->children[i], out);
}

// How far back a reaction carries its fighter: the farthest its body gets
// behind where the reaction began (its move frame faces the attacker).
float Knockback(const Anim* reaction) {
    if (reaction == nullptr || reaction->nframes == 0) return 0;
    const float start = reaction->frames[0]->pos.z;
    float farthest = 0;
    for (int i = 0; i < reaction->nframes; ++i) {
        farthest = std::max(farthest, reaction->frames[i]->pos.z - start);
    }
    return farthest;
}

MoveBook::Move::Kind KindOf(bool strikes, bool blocks, bool airborne, const Vector3& travel) {
    using Move = MoveBook::Move;
    if (strikes) return Move::ATTACK;
    if (blocks) return Move::GUARD;
    if (std::max(std::fabs(travel.x), std::fabs(travel.z)) >= STEP) {
        if (std::fabs(travel.x) > std::fabs(travel.z)) return Move::SIDE_STEP;
        return travel.z < 0 ? Move::WALK_IN : Move::WALK_OUT;
    }
    return airborne ? Move::JUMP : Move::STILL;
}

}  // namespace

MoveBook::MoveBook(MoveTree& tree, const Person& fighter) {
    Skeleton skeleton(fighter);
    for (int i = 0; i < tree.nodes.count; ++i) CollectNodes(tree.nodes[i], nodes);
    // The body in its stance: the first pose of the root's move.
    const MTNode* root = nodes.empty() ? nullptr : nodes.front();
    const KeyFrame* stance = root != nullptr && root->move != nullptr && root->move->nframes > 0
                                 ? root->move->frames[0]
                                 : nullptr;
    for (MTNode* node : nodes) Study(node, skeleton, stance);

    if (stance != nullptr) {
        skeleton.Pose(*stance);
        for (int b = 0; b < std::min(stance->nbones, skeleton.Parts()); ++b) {
            if ((stance->boneFlags[b] & (KeyFrame::CAN_BE_HIT | KeyFrame::BLOCKS)) == 0) continue;
            Vector3 centre, axes[3];
            skeleton.Ellipsoid(b, centre, axes);
            body.push_back({centre.Dot(FORWARD), centre.y,
                            Vector3(axes[0].Dot(FORWARD), axes[1].Dot(FORWARD), axes[2].Dot(FORWARD)),
                            Vector3(axes[0].y, axes[1].y, axes[2].y)});
            front = std::max(front, skeleton.Extent(b, FORWARD));
        }
    }

    bool guard = false, walk = false;
    for (MTNode* node : nodes) {
        Move& m = facts[node];
        guard = guard || m.kind == Move::GUARD;
        walk = walk || m.kind == Move::WALK_IN;
        if (m.kind == Move::ATTACK) {
            attacks.push_back(&m);
            longest = std::max(longest, m.reach);
            // What follows an attack when nothing is pressed is its recovery.
            const MTNode* after = tree.Peek(node, "");
            if (after != node && Facts(after).kind != Move::ATTACK) m.recovery = Facts(after).length;
        }
        Choices(tree, node);
    }
    for (const auto& [lacks, what] : {std::pair{attacks.empty(), "attack"}, {!guard, "guard"},
                                      {!walk, "walk"}}) {
        if (!lacks) continue;
        if (!missing.empty()) missing += ", ";
        missing += what;
    }
}

void MoveBook::Study(MTNode* node, Skeleton& skeleton, const KeyFrame* stance) {
    Move& m = facts[node];
    m.node = node;
    m.interruptible = node->flag == MTNode::INT || node->flag == MTNode::CEN;
    m.isThrow = node->flag == MTNode::THROW;
    m.knockback = Knockback(node->oppmove);
    const Anim* anim = node->move;
    if (anim == nullptr || anim->nframes == 0) return;

    m.length = anim->length;
    m.damage = anim->damage;
    const int parts = skeleton.Parts();
    int first = -1, last = -1;
    bool blocks = false, airborne = false;
    for (int i = 0; i < anim->nframes; ++i) {
        const KeyFrame& key = *anim->frames[i];
        m.heavy = m.heavy || Anim::isFlag(anim->flags[i], 1) || Anim::isEffect(anim->flags[i], 1);
        airborne = airborne || (i > 0 && (!key.hasPos || (key.hasVel && key.vel.y > 0)));
        blocks = blocks || AnyBone(key, parts, KeyFrame::BLOCKS);
        if (!AnyBone(key, parts, KeyFrame::STRIKES)) continue;

        // A bone strikes on the way to a striking key. The key's own pose is
        // met only when a frame falls on it: the way there is what counts.
        // A move's first key is reached from wherever the fighter was: say,
        // from its stance.
        const KeyFrame& before = i > 0 ? *anim->frames[i - 1] : stance != nullptr ? *stance : key;
        std::vector<Point> leading;  // at the end of the way
        for (float f : WAY) {
            skeleton.Pose(before, key, f);
            for (int b = 0; b < std::min(key.nbones, parts); ++b) {
                if ((key.boneFlags[b] & KeyFrame::STRIKES) == 0) continue;
                const Vector3 joint = skeleton.Joint(b), tip = skeleton.Tip(b);
                for (int step = 0; step <= SAMPLES; ++step) {
                    const Vector3 p = joint + (tip - joint) * (static_cast<float>(step) / SAMPLES);
                    m.strikes.push_back({p.Dot(FORWARD), p.y});
                    m.reach = std::max(m.reach, p.Dot(FORWARD));
                    if (f == WAY_END) leading.push_back(m.strikes.back());
                }
            }
        }
        // How low the blow comes decides whether a guard stops it: where
        // its leading part first strikes, by the end of the way to the key.
        if (first < 0) {
            m.lowest = Lowest(leading);
            first = i;
        }
        last = i;
    }
    if (first >= 0) {
        m.startup = first > 0 ? anim->frames[first - 1]->absTime : 0;
        m.activeEnd = anim->frames[last]->absTime;
    }
    m.travel = anim->frames[anim->nframes - 1]->pos - anim->frames[0]->pos;
    m.travel.y = 0;
    m.kind = KindOf(first >= 0, blocks, airborne, m.travel);

    if (m.kind == Move::GUARD) {
        // The held pose: what it leaves open, from the top of the open parts down.
        const KeyFrame& held = *anim->frames[anim->nframes - 1];
        skeleton.Pose(held);
        m.openTop = NOTHING_OPEN;
        for (int b = 0; b < std::min(held.nbones, parts); ++b) {
            if ((held.boneFlags[b] & KeyFrame::CAN_BE_HIT) != 0) {
                m.openTop = std::max(m.openTop, skeleton.Extent(b, UP));
            }
        }
    }
}

void MoveBook::Choices(MoveTree& tree, MTNode* node) {
    static const std::vector<int> commands = Commands();
    std::vector<Option>& list = options[node];
    const MTNode* fallback = tree.Peek(node, "");
    char letters[16];
    for (int command : commands) {
        const MTNode* target = tree.Peek(node, Controller::Letters(command, letters));
        if (target == fallback) continue;
        const bool known = std::any_of(list.begin(), list.end(),
                                       [target](const Option& o) { return o.node == target; });
        if (!known) list.push_back({command, target});
    }
}

// The ellipsoid's points are centre + toFront.s forward and centre +
// toTop.s up for |s| <= 1: the farthest forward at a given height is the
// best s on the plane toTop.s = height - centre.
float MoveBook::Part::FrontAt(float h) const {
    const float up2 = toTop.Dot(toTop);
    const float k = h - height;
    if (up2 <= 0 || k * k > up2) return NOTHING_OPEN;
    const Vector3 across = toFront - toTop * (toFront.Dot(toTop) / up2);
    return forward + toFront.Dot(toTop) * k / up2 + std::sqrt(1 - k * k / up2) * across.Length();
}

float MoveBook::Range(const Move& attack, const MoveBook& target) {
    float range = 0;
    for (const Point& p : attack.strikes) {
        for (const Part& part : target.body) {
            const float front = part.FrontAt(p.height);
            if (front != NOTHING_OPEN) range = std::max(range, p.forward + front);
        }
    }
    return range;
}

const MoveBook::Move& MoveBook::Facts(const MTNode* node) const {
    static const Move still;
    const auto found = facts.find(node);
    return found != facts.end() ? found->second : still;
}

const std::vector<MoveBook::Option>& MoveBook::Options(const MTNode* node) const {
    static const std::vector<Option> none;
    const auto found = options.find(node);
    return found != options.end() ? found->second : none;
}

const MoveBook::Option* MoveBook::BestGuard(const MTNode* node, float lowest) const {
    const Option* best = nullptr;
    bool bestCovers = false;
    for (const Option& o : Options(node)) {
        const Move& g = Facts(o.node);
        if (g.kind != Move::GUARD) continue;
        const bool covers = g.openTop < lowest;
        // One that stops the blow; among those, the one that leaves least open.
        if (best == nullptr || (covers && !bestCovers) ||
            (covers == bestCovers && g.openTop < Facts(best->node).openTop)) {
            best = &o;
            bestCovers = covers;
        }
    }
    return best;
}
