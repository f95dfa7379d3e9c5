#pragma once

#include <iosfwd>

#include "math/DArray.h"

class Anim;

// One record of a move tree: the letters that select it, the move it plays,
// what the opponent plays when it hits, and the moves that may follow it. A
// link record instead names another place of the tree by a path.
class MTNode {
public:
    enum Flag { INT = 1, ARB = 2, THROW = 3, CEN = 4, SPIN = 5 };
    enum State { G = 1, T = 2, K = 4, P = 8, J = 16, D = 32 };  // D: crouching

    static const int MAX_LABEL = 19;      // characters of label
    static const int MAX_LINK = 42;       // characters of linkto
    static const int MAX_MOVE_NAME = 39;  // characters of moveName

    MTNode();   // empty; takes its id from moveid
    ~MTNode();  // releases the children and both animations
    MTNode(const MTNode&) = delete;
    MTNode& operator=(const MTNode&) = delete;

    // Every letter of the label occurs somewhere in the command, in any order.
    bool Matches(const char* command) const;

    char label[MAX_LABEL + 1] = {};  // "*" for the default child
    Anim* move = nullptr;
    Anim* oppmove = nullptr;         // null when the file gives "-"
    char branch[4] = {};             // "1" to "4": where the opponent goes on after a hit
    int flag = 0;                    // a Flag
    int state = 0;                   // State bits
    bool isLink = false;
    char linkto[MAX_LINK + 1] = {};  // branch digit, then "/letters" segments
    DArray<MTNode*> children;        // in file order; the last is the "*" default
    char moveName[MAX_MOVE_NAME + 1] = {};
    int id;
};

extern int moveid;  // counts every MTNode ever made

std::ostream& operator<<(std::ostream& out, const MTNode& node);
