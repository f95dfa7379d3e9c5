#include "anim/MoveTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "anim/Anim.h"
#include "anim/MTNode.h"
#include "core/DataProblems.h"
#include "support/ScratchDir.h"
#include "support/TraceCapture.h"

namespace {

// A fighter "kira" of two bones and an opponent "mori" of three. Every move
// the trees below name exists as a one-frame animation.
class MoveTreeTest : public ScratchDirTest {
protected:
    MoveTreeTest() {
        for (const char* move : {"1_ghit", "1d_ghit", "idle", "fpk", "fp", "combo", "finish", "jab", "jab2",
                                 "crouch", "kick"})
            WriteFile(std::string("characters/kira/") + move + ".kaf", "1\n0.25 -1\n");
        WriteFile("characters/mori/hit.kaf", "1\n0.25 -1\n");
    }
    static MoveTree* Load(const std::string& text) {
        WriteFile("characters/kira/movetree.txt", text);
        return new MoveTree("characters/kira", 2, "characters/mori", 3);
    }
    static std::string Move(const MTNode* node) { return node->move->name; }
};

using MoveTreeDeathTest = MoveTreeTest;

// Three levels below the root; each list ends with its "*" default.
const char* const TREE =
    "stand idle.kaf - 1 INT -\n"
    "  fpk fpk.kaf hit.kaf 2 CEN GT\n"
    "    * @ 1\n"
    "  fp fp.kaf hit.kaf 1 INT -\n"
    "    k combo.kaf - 1 ARB P\n"
    "      p finish.kaf hit.kaf 1 THROW D\n"
    "        * @ 1\n"
    "      * @ 1\n"
    "    * @ 1\n"
    "  p jab.kaf - 1 INT -\n"
    "    p jab2.kaf - 1 INT -\n"
    "      * @ 1\n"
    "    * @ 1/fp/*\n"
    "  d crouch.kaf - 1 SPIN JD\n"
    "    * @ 1/p/*\n"
    "  * idle.kaf - 1 INT -\n"
    "    * @ 1\n";

TEST_F(MoveTreeTest, ReadsTheGuardsReactionsBranchesFlagsAndStates) {
    const std::unique_ptr<MoveTree> tree(Load(TREE));
    EXPECT_TRUE(tree->guardHit->name == "1_ghit.kaf" && tree->guardHitLow->name == "1d_ghit.kaf");
    ASSERT_EQ(tree->nodes.count, 1);
    const MTNode* root = tree->nodes[0];
    ASSERT_EQ(root->children.count, 5);
    const MTNode* fpk = root->children[0];
    EXPECT_EQ(fpk->oppmove->nbones, 3) << "reactions come with the opponent's skeleton";
    EXPECT_TRUE(std::string(fpk->branch) == "2" && fpk->flag == MTNode::CEN && fpk->state == (MTNode::G | MTNode::T));
    const MTNode* finish = root->children[1]->children[0]->children[0];
    EXPECT_TRUE(finish->flag == MTNode::THROW && finish->state == MTNode::D);
    EXPECT_EQ(root->children[3]->state, MTNode::J | MTNode::D);
}

TEST_F(MoveTreeTest, CommandsWalkTheTreeAndLinksJumpWithinIt) {
    const std::unique_ptr<MoveTree> tree(Load(TREE));
    MTNode* root = tree->nodes[0];
    const struct {
        const char* command;
        const char* move;  // null: back at the root
    } walk[] = {
        {"", "idle.kaf"}, {"", nullptr},             // "*" and its link back
        {"pf", "fp.kaf"},                            // fpk is passed over
        {"k", "combo.kaf"}, {"fp", "finish.kaf"}, {"fp", nullptr},
        {"fpk", "fpk.kaf"}, {"p", nullptr},
        {"p", "jab.kaf"}, {"k", "combo.kaf"},        // 1/fp/* matches k again below fp
        {"", nullptr},
        {"d", "crouch.kaf"}, {"p", "jab2.kaf"},      // 1/p/* matches p again below p
    };
    for (const auto& step : walk) {
        const MTNode* next = tree->FindNext(step.command);
        EXPECT_TRUE(step.move ? Move(next) == step.move : next == root) << step.command;
    }
}

TEST_F(MoveTreeTest, BranchesJumpToTopLevelNodesThatExistAndStayOtherwise) {
    const std::unique_ptr<MoveTree> tree(Load(TREE));
    MTNode* root = tree->nodes[0];
    MTNode* fp = tree->FindNext("fp");
    EXPECT_EQ(tree->GoToBranch("1"), root);
    tree->FindNext("fp");
    TraceCapture quiet;
    for (const char* nowhere : {"2", "", "0", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(tree->GoToBranch(nowhere), fp) << (nowhere ? nowhere : "null");
    }
    EXPECT_EQ(tree->FindFall(), fp) << "there is no second top-level node";
    MTNode* falling = new MTNode();
    MTNode* fall = new MTNode();
    falling->children.Add(fall);
    tree->nodes.Add(falling);
    EXPECT_TRUE(tree->FindFall() == fall && tree->GoToBranch("2") == falling);
}

TEST_F(MoveTreeTest, LinksThatLeadNowhereKeepTheCurrentNode) {
    const std::unique_ptr<MoveTree> tree(Load("stand idle.kaf - 1 INT -\n"
                                              "  k kick.kaf - 02 INT -\n"
                                              "    * @ 1\n"
                                              "  q @ 1/k\n"
                                              "  p @ 1/q\n"   // a link to a link
                                              "  t @ 2\n"
                                              "  i @ 3/p\n"
                                              "  o @ 1/z\n"
                                              "  g @ 1/*\n"   // back to this list, for ever
                                              "  * idle.kaf - 1 INT -\n"
                                              "    * @ 1\n"));
    MTNode* root = tree->nodes[0];
    EXPECT_STREQ(root->children[0]->branch, "2") << "kept as its digit";
    EXPECT_EQ(Move(tree->FindNext("p")), "kick.kaf");
    tree->FindNext("");
    TraceCapture quiet;
    for (const char* command : {"t", "i", "o", "g"}) EXPECT_EQ(tree->FindNext(command), root) << command;
}

TEST_F(MoveTreeDeathTest, MissingOrMalformedTreesEndWith255SayingWhere) {
    const struct {
        std::string text;
        const char* expected;  // the line for standard error
    } cases[] = {
        {"stand idle.kaf - 1 INT -\n  p jab.kaf - 5 INT -\n",
         "characters/kira/movetree.txt:2: expected a branch of 1 to 4, found '5'"},
        {"stand idle.kaf - 0 INT -\n", "expected a branch of 1 to 4, found '0'"},
        {"stand idle.kaf - x INT -\n", "expected a branch of 1 to 4, found 'x'"},
        {"stand idle.kaf - 0001 INT -\n", "expected a branch of 1 to 4, found '0001'"},
        {"stand idle.kaf - 1 INT -\n  p jab.kaf - 1 FAST -\n",
         "movetree.txt:2: expected INT, ARB, THROW, CEN or SPIN, found 'FAST'"},
        {"stand idle.kaf - 1 int -\n", ":1: expected INT.*found 'int'"},
        {"stand idle.kaf - 1 INT -\n  p jab.kaf - 1 INT -\n    * @ 1\n",
         ":4: expected a label, found the end of the file"},
        {"stand idle.kaf - 1 INT -\n  " + std::string(20, 'p') + " @ 1\n",
         ":2: expected a label of at most 19 characters, found 'pppppppppppppppppppp'"},
        {"stand idle.kaf - 1 INT -\n  p @ 1/" + std::string(41, 'p') + "\n",
         "expected a link path of at most 42 characters"},
        {"stand " + std::string(36, 'm') + ".kaf - 1 INT -\n",
         "expected a move file name of at most 39 characters"},
        {"stand idle.kaf - 1 INT", "expected a state word"},
        {"stand idle.kaf - 1 INT -\n  p nothing.kaf - 1 INT -\n",
         "characters/kira/nothing.kaf: file not found"},
        {"stand idle.kaf nothing.kaf 1 INT -\n", "characters/mori/nothing.kaf: file not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EXIT(Load(c.text), testing::ExitedWithCode(255), c.expected);
    }
    std::filesystem::remove("characters/kira/movetree.txt");
    EXPECT_EXIT(new MoveTree("characters/kira", 2, "characters/mori", 3),
                testing::ExitedWithCode(255), "characters/kira/movetree.txt: file not found");
}

// Moves nested `depth` levels below the root, each list closed by its default link.
std::string NestedTree(int depth) {
    std::string tree = "stand idle.kaf - 1 INT -\n";
    for (int i = 0; i < depth; ++i) tree += "p idle.kaf - 1 INT -\n";
    for (int i = 0; i <= depth; ++i) tree += "* @ 1\n";
    return tree;
}

TEST_F(MoveTreeTest, ATreeNestedFarDeeperThanAnyFighterIsRefused) {
    DataProblems problems;
    EXPECT_NO_THROW(delete Load(NestedTree(150))) << "a deep but real tree";
    EXPECT_THROW(delete Load(NestedTree(1000)), DataProblems::Abandoned);
    ASSERT_FALSE(problems.problems().empty());
    EXPECT_EQ(problems.problems().back(),
              "characters/kira/movetree.txt:201: expected moves nested at most 200 deep, found more");
}

}  // namespace
