#include <gtest/gtest.h>

#include <string>

#include "anim/MoveTree.h"
#include "core/DataProblems.h"
#include "support/ScratchDir.h"

namespace {

using MoveTreeDepthTest = ScratchDirTest;

// Moves nested `depth` levels below the root, each list closed by its default link.
std::string NestedTree(int depth) {
    std::string tree = "root a.kaf - 1 INT -\n";
    for (int i = 0; i < depth; ++i) tree += "p a.kaf - 1 INT -\n";
    for (int i = 0; i <= depth; ++i) tree += "* @ 1\n";
    return tree;
}

TEST_F(MoveTreeDepthTest, ATreeNestedFarDeeperThanAnyFighterIsRefused) {
    for (const char* kaf : {"a.kaf", "1_ghit.kaf", "1d_ghit.kaf"}) {
        WriteFile(std::string("characters/k/") + kaf, "1\n0.1 -1\n");
    }
    WriteFile("characters/k/movetree.txt", NestedTree(150));
    DataProblems problems;
    EXPECT_NO_THROW(MoveTree("characters/k", 0, "characters/k", 0)) << "a deep but real tree";

    WriteFile("characters/k/movetree.txt", NestedTree(1000));
    try {
        MoveTree("characters/k", 0, "characters/k", 0);
        ADD_FAILURE() << "a tree 1000 levels deep was read";
    } catch (const DataProblems::Abandoned& refused) {
        EXPECT_EQ(refused.status, -1);
        EXPECT_EQ(std::string(refused.what()),
                  "characters/k/movetree.txt:201: expected moves nested at most 200 deep, "
                  "found more");
    }
}

}  // namespace
