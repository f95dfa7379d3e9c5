#pragma once

// Moves as the generator writes them: a list of keys (a pose, its duration
// and what each part does in it), saved through the engine's own animation
// writer; and move trees written as text.
//
// A move is placed where the previous one ended, facing as the previous one
// ended (or the opponent, for a CEN move), so its keys' root positions are
// relative to that place. The first key's duration is the blend from
// whatever the fighter was doing.

#include <optional>
#include <string>
#include <vector>

#include "anim/KeyFrame.h"
#include "content/Rig.h"

namespace content {

// Bone flag bits of a key.
const int STRIKES = KeyFrame::STRIKES;
const int CAN_BE_HIT = KeyFrame::CAN_BE_HIT;
const int TRAIL = KeyFrame::TRACER;
const int BLOCKS = KeyFrame::BLOCKS;

// Frame flag words: flag 1 (bit 0) and effect 1 (bit 9).
const unsigned long SHAKE = 1;   // the camera shakes
const unsigned long RING = 512;  // an explosion ring spreads from the fighter

struct Key {
    Key(float seconds, const Pose& p, std::vector<int> boneFlags)
        : time(seconds), pose(p), flags(std::move(boneFlags)) {}

    // The motion toward this key strikes with these parts (and trails them).
    Key& Strike(const std::vector<int>& parts);
    Key& Trail(const std::vector<int>& parts);
    Key& Events(unsigned long word) {
        events |= word;
        return *this;
    }
    // The body takes off with this velocity (in the move's frame).
    Key& Launch(const Vector3& velocity) {
        vel = velocity;
        return *this;
    }
    // The body flies on from the key before: no position of its own.
    Key& Airborne() {
        hasPos = false;
        return *this;
    }
    // The file in "sounds/" heard as the motion toward this key begins.
    Key& Sound(const std::string& file) {
        sound = file;
        return *this;
    }
    Key& Facing(float yawDegrees) {
        facing = Vector3(0, Rad(yawDegrees), 0);
        return *this;
    }

    float time;
    Pose pose;
    std::vector<int> flags;
    unsigned long events = 0;
    bool hasPos = true;
    std::optional<Vector3> vel;
    std::optional<Vector3> facing;
    std::string sound;
};

class Move {
public:
    Move(std::string file, int damage = 0) : file(std::move(file)), damage(damage) {}

    Key& Add(float seconds, const Pose& pose, const std::vector<int>& flags) {
        keys.emplace_back(seconds, pose, flags);
        return keys.back();
    }
    float Length() const;
    // Writes dir + file with the engine's Anim. Angles are unwrapped so that
    // no part turns the long way round between two keys.
    bool Save(const std::string& dir) const;

    std::string file;
    int damage;
    std::vector<Key> keys;
};

// A record of a move tree: a move with the moves that may follow it, or a
// link to another place of the tree.
struct Node {
    static Node Record(const std::string& label, const std::string& move, const std::string& flag,
                       const std::string& state, std::vector<Node> children = {}) {
        Node n;
        n.label = label;
        n.move = move;
        n.flag = flag;
        n.state = state;
        n.children = std::move(children);
        return n;
    }
    static Node Link(const std::string& label, const std::string& path) {
        Node n;
        n.label = label;
        n.link = path;
        return n;
    }

    std::string label;
    std::string move;            // animation file
    std::string opp = "-";       // what the opponent plays when this move hits
    std::string flag = "ARB";    // INT, ARB, THROW, CEN or SPIN
    std::string state = "-";     // state letters
    std::string link;            // a link record's path
    std::vector<Node> children;  // without a "*" child, "* @ 1/*" closes the list
};

// An attack and what may follow it. A follow-up pressed during the attack
// waits for its end; one pressed during the recovery (which any command
// breaks off: INT) starts at once. Without a follow-up the recovery leads
// back to the stance.
Node Attack(const std::string& label, const std::string& move, const std::string& opp,
            const std::string& state, const std::vector<Node>& followUps,
            const std::string& recovery, const std::string& flag = "ARB");

// The text of movetree.txt for a tree whose root is `root`.
std::string TreeText(const Node& root);

}  // namespace content
