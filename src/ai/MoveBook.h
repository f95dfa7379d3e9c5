#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "math/Vector3.h"

class KeyFrame;
class MTNode;
class MoveTree;
class Person;
class Skeleton;

// What a fighter's own files tell about its moves, worked out once from its
// move tree, its animations and its body, never from its name: for every node
// of the tree, what the move does (strikes, guards, walks in or out, steps
// aside, jumps), how far forward and how low it strikes, when, for how long,
// what its blow does to the opponent; and which command leads where from that
// node. A modder's new fighter is read the same way as the default ones.
class MoveBook {
public:
    // The facts of one node's move. Distances are scene units in the move's
    // own frame, where the fighter faces -z; heights are above the floor;
    // times are seconds from the move's start.
    // A point a move strikes at: how far forward and how high.
    // A guard that leaves nothing open blocks blows at any height.
    static constexpr float NOTHING_OPEN = -1e9f;

    struct Point {
        float forward;
        float height;
    };
    // A part of the body in the stance that a blow can meet: its collision
    // ellipsoid, seen from the front and the side.
    struct Part {
        float forward, height;  // of its centre
        Vector3 toFront;        // its semi-axes' forward components
        Vector3 toTop;          // their upward components
        // How far forward it reaches at `height`; NOTHING_OPEN where it does not reach.
        float FrontAt(float height) const;
    };
    struct Move {
        enum Kind { STILL, ATTACK, GUARD, WALK_IN, WALK_OUT, SIDE_STEP, JUMP };
        Kind kind = STILL;
        bool isThrow = false;        // flagged THROW in the tree
        bool heavy = false;          // shakes the camera or sends out a ring
        bool interruptible = false;  // INT or CEN: a new command breaks it off at once
        int damage = 0;              // what a hit by it costs
        float reach = 0;             // how far forward the striking parts get
        std::vector<Point> strikes;  // where the striking parts get at the striking keys
        float lowest = 0;            // how low they strike, where they first strike
        float startup = 0;           // until it strikes
        float activeEnd = 0;         // until its last striking key
        float length = 0;            // the whole move
        float recovery = 0;          // the move that follows it by default
        float knockback = 0;         // how far the opponent's reaction carries it back
        float openTop = 0;           // guards: the top of the parts left open
        Vector3 travel;              // where the move leaves the body
        const MTNode* node = nullptr;
    };
    // A command (Controller bits) and the node it leads to.
    struct Option {
        int command;
        const MTNode* node;
    };


    // Reads the tree of `fighter` (its moves and the reactions they give the
    // opponent). Peeking through the tree leaves its current node as it was.
    MoveBook(MoveTree& tree, const Person& fighter);

    const Move& Facts(const MTNode* node) const;  // a still move for a node it does not know
    // The commands that change what happens next at `node`, simplest first;
    // a command that leads where no command leads is left out.
    const std::vector<Option>& Options(const MTNode* node) const;
    const std::vector<const Move*>& Attacks() const { return attacks; }  // every attack of the tree
    // The guard to take at `node` against a blow striking as low as
    // `lowest`: one that covers it, and among those the one leaving least
    // open; null when the node leads to no guard.
    const Option* BestGuard(const MTNode* node, float lowest) const;
    // How far apart the fighters may stand for `attack` to reach the body of
    // `target`'s fighter in its stance; 0 when it passes over or under it.
    static float Range(const Move& attack, const MoveBook& target);

    std::vector<Part> body;  // the stance's parts that can be hit or that block
    float front = 0;       // how far forward the body's parts reach in the stance
    float longest = 0;     // the reach of the longest attack
    std::string missing;   // what the tree lacks: "attack", "guard", "walk", comma-separated

private:
    void Study(MTNode* node, Skeleton& skeleton, const KeyFrame* stance);
    void Choices(MoveTree& tree, MTNode* node);

    std::unordered_map<const MTNode*, Move> facts;
    std::unordered_map<const MTNode*, std::vector<Option>> options;
    std::vector<const Move*> attacks;
    std::vector<MTNode*> nodes;  // every full record, parents first
};
