#pragma once

#include <string>
#include <vector>

class MTNode;

// A fighter's moves as the controls screen lists them: the commands that
// make each one, a step at a time ("P P K"), with its name. The names come
// from the fighter's "moves.txt" (pairs of words: the steps joined by
// commas, then the name with underscores for spaces, "p,p,k roundhouse");
// a fighter without one shows the move tree's commands with the names of
// their animation files.
class MoveList {
public:
    struct Move {
        std::string command;  // "P P K"
        std::string name;     // "ROUNDHOUSE"
    };

    // Reads characters/<fighter>/moves.txt, else walks the tree from `root`.
    static std::vector<Move> Of(const std::string& fighter, const MTNode* root);
};
