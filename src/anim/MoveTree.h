#pragma once

#include <string>

#include "math/DArray.h"

class Anim;
class MTNode;
class Person;
class WordReader;

// Which move a fighter performs next: a tree of moves read from
// "movetree.txt" in the fighter's folder. From the current node a command
// selects the first child whose letters all occur in it; a "*" child is the
// default. Link records jump to another place of the tree.
class MoveTree {
public:
    // Reads selfDir + "/movetree.txt". Moves load from the fighter's folder with
    // its bone count, reactions from the opponent's. A dir is "characters/<name>".
    // A missing or malformed tree ends the program with status -1.
    MoveTree(const std::string& selfDir, int selfBones, const std::string& oppDir, int oppBones);
    MoveTree(const Person* self, const Person* opponent);  // from the two fighters' folders
    ~MoveTree();
    MoveTree(const MoveTree&) = delete;
    MoveTree& operator=(const MoveTree&) = delete;

    // The next move for a command; becomes current. A command that matches no
    // child, or a link that leads nowhere, keeps the current node.
    MTNode* FindNext(const char* command);
    // The node FindNext would choose for a command if `from` were current;
    // current stays where it is.
    MTNode* Peek(MTNode* from, const char* command);
    // Jumps to top-level node "1".."4" after a hit reaction; a branch naming no
    // node keeps the current one.
    MTNode* GoToBranch(const char* branch);
    MTNode* FindFall();  // the first child of the second top-level node, if there is one

    Anim* guardHit = nullptr;     // "1_ghit.kaf"
    Anim* guardHitLow = nullptr;  // "1d_ghit.kaf", crouching
    DArray<MTNode*> nodes;        // top-level nodes: the file gives one, the root
    MTNode* current = nullptr;

private:
    struct TreeFile;  // the file being read and where its animations come from

    // The children of parent, up to the "*" one; parent lies `depth` levels down.
    void MTHelper(TreeFile& file, MTNode* parent, int depth);
    void Release();  // every node and animation
    void ReadRecordTail(TreeFile& file, MTNode* node, bool root);  // opponent move to state word
    MTNode* Next(const char* command, int hops);
    MTNode* Follow(const MTNode* link, const char* command, int hops);
    MTNode* TopLevel(char digit);  // null when the digit names no node
};
