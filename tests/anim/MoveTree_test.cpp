#include "anim/MoveTree.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>

#include "anim/Anim.h"
#include "support/ScratchDir.h"
#include "support/TraceCapture.h"
#include "anim/MTNode.h"

namespace {

// A fighter "kira" of two bones and an opponent "mori" of three. Every move
// the trees below name exists as a one-frame animation.
class MoveTreeTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        for (const char* move : {"1_ghit.kaf", "1d_ghit.kaf", "idle.kaf", "fpk.kaf", "fp.kaf",
                                 "combo.kaf", "finish.kaf", "jab.kaf", "jab2.kaf", "crouch.kaf",
                                 "kick.kaf"}) {
            Write(std::string("characters/kira/") + move, "1\n0.25 -1\n");
        }
        Write("characters/mori/hit.kaf", "1\n0.25 -1\n");
    }

    static void WriteTree(const std::string& text) { Write("characters/kira/movetree.txt", text); }
    static MoveTree* Load() { return new MoveTree("characters/kira", 2, "characters/mori", 3); }
    static std::string Label(const MTNode* node) { return node->label; }
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

TEST_F(MoveTreeTest, ReadsEveryRecordOfTheFile) {
    WriteTree(TREE);
    TraceCapture trace;
    const int firstId = moveid;
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    ASSERT_NE(tree.guardHit, nullptr);
    EXPECT_EQ(tree.guardHit->name, "1_ghit.kaf");
    EXPECT_EQ(tree.guardHitLow->name, "1d_ghit.kaf");
    ASSERT_EQ(tree.nodes.count, 1);
    MTNode* root = tree.nodes[0];
    EXPECT_EQ(tree.current, root);
    EXPECT_EQ(Label(root), "stand");
    EXPECT_STREQ(root->moveName, "idle.kaf");
    EXPECT_EQ(root->move->nbones, 2);
    EXPECT_EQ(root->oppmove, nullptr);
    EXPECT_EQ(root->id, firstId);
    ASSERT_EQ(root->children.count, 5);

    const MTNode* fpk = root->children[0];
    EXPECT_EQ(Label(fpk), "fpk");
    ASSERT_NE(fpk->oppmove, nullptr);
    EXPECT_EQ(fpk->oppmove->name, "hit.kaf");
    EXPECT_EQ(fpk->oppmove->nbones, 3) << "reactions come with the opponent's skeleton";
    EXPECT_STREQ(fpk->branch, "2");
    EXPECT_EQ(fpk->flag, MTNode::CEN);
    EXPECT_EQ(fpk->state, MTNode::G | MTNode::T);
    EXPECT_FALSE(fpk->isLink);

    const MTNode* finish = root->children[1]->children[0]->children[0];
    EXPECT_EQ(Label(finish), "p");
    EXPECT_EQ(finish->flag, MTNode::THROW);
    EXPECT_EQ(finish->state, MTNode::D);
    EXPECT_EQ(root->children[1]->children[0]->flag, MTNode::ARB);
    EXPECT_EQ(root->children[3]->flag, MTNode::SPIN);
    EXPECT_EQ(root->children[3]->state, MTNode::J | MTNode::D);

    const MTNode* link = root->children[2]->children[1];
    EXPECT_TRUE(link->isLink);
    EXPECT_STREQ(link->linkto, "1/fp/*");
    EXPECT_EQ(link->move, nullptr);
    EXPECT_EQ(link->children.count, 0);

    EXPECT_TRUE(trace.Has("-=1\nAttempting to open fpk.kaf\nnframes = 1\n-=1.5\n-=2\n"));
    EXPECT_TRUE(trace.Has("MoveTreeNode:\nlabel  : stand\nmove   : idle.kaf\noppmove: -\n"
                          "flag   : 1\nstate  : 0\nnum children: 5\n"))
        << "the root is printed last";
}

TEST_F(MoveTreeTest, NodesPrintTheirRecord) {
    WriteTree(TREE);
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    std::ostringstream out;
    out << *tree.nodes[0]->children[0] << *tree.nodes[0]->children[0]->children[0];
    EXPECT_EQ(out.str(),
              "MoveTreeNode:\nlabel  : fpk\nmove   : fpk.kaf\noppmove: hit.kaf\nflag   : 4\n"
              "state  : 3\nnum children: 1\n"
              "MoveTreeNode:\nlabel  : *\nlinkto : 1\nnum children: 0\n");
}

TEST(MTNode, MatchesWhenEveryLetterOccursInTheCommand) {
    MTNode node;
    std::strcpy(node.label, "fp");
    EXPECT_TRUE(node.Matches("fp"));
    EXPECT_TRUE(node.Matches("pf")) << "order is free";
    EXPECT_TRUE(node.Matches("fpk"));
    EXPECT_FALSE(node.Matches("p"));
    EXPECT_FALSE(node.Matches(""));
    std::strcpy(node.label, "fpk");
    EXPECT_FALSE(node.Matches("fp"));
    std::strcpy(node.label, "");
    EXPECT_TRUE(node.Matches("")) << "an empty label matches anything";
    EXPECT_TRUE(node.Matches("k"));
}

TEST_F(MoveTreeTest, CommandsWalkTheTree) {
    WriteTree(TREE);
    TraceCapture trace;
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    MTNode* root = tree.nodes[0];

    EXPECT_EQ(Label(tree.FindNext("")), "*") << "an empty command matches only the default";
    EXPECT_EQ(tree.FindNext(""), root) << "link 1 returns the root";
    EXPECT_TRUE(trace.Has("command: \n"));

    EXPECT_EQ(tree.FindNext("pf")->move->name, "fp.kaf") << "fpk is passed over";
    EXPECT_TRUE(trace.Has("command: pf\n"));
    EXPECT_EQ(tree.FindNext("k")->move->name, "combo.kaf");
    EXPECT_EQ(tree.FindNext("fp")->move->name, "finish.kaf") << "three levels down";
    EXPECT_EQ(tree.FindNext("fp"), root);

    EXPECT_EQ(tree.FindNext("fpk")->move->name, "fpk.kaf");
    EXPECT_EQ(tree.FindNext("p"), root);

    // 1/fp/* goes down to fp and matches the same command there.
    EXPECT_EQ(tree.FindNext("p")->move->name, "jab.kaf");
    EXPECT_EQ(tree.FindNext("k")->move->name, "combo.kaf");
    EXPECT_EQ(tree.current->move->name, "combo.kaf");
    EXPECT_EQ(tree.FindNext(""), root);

    // 1/p/* goes down to the root's p child and matches p again among its children.
    EXPECT_EQ(tree.FindNext("d")->move->name, "crouch.kaf");
    EXPECT_EQ(tree.FindNext("p")->move->name, "jab2.kaf");
    EXPECT_FALSE(trace.Has("INTERNAL ERROR"));
}

TEST_F(MoveTreeTest, BranchesJumpToTopLevelNodesThatExist) {
    WriteTree(TREE);
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    MTNode* root = tree.nodes[0];
    MTNode* fp = tree.FindNext("fp");
    EXPECT_EQ(tree.GoToBranch(root->children[1]->branch), root);

    tree.FindNext("fp");
    TraceCapture trace;
    EXPECT_EQ(tree.GoToBranch(root->children[0]->branch), fp) << "branch 2 names no node";
    EXPECT_TRUE(trace.Has("ERROR: branch '2' names no node of the movetree"));
    EXPECT_EQ(tree.GoToBranch(nullptr), fp);
    EXPECT_TRUE(trace.Has("ERROR: branch was NULL in MoveTree::GoToBranch()"));
    EXPECT_EQ(tree.GoToBranch(""), fp);
    EXPECT_EQ(tree.GoToBranch("0"), fp);
    EXPECT_EQ(tree.current, fp);

    EXPECT_EQ(tree.FindFall(), fp) << "there is no second top-level node";
    EXPECT_TRUE(trace.Has("no second top-level node"));
    MTNode* falling = new MTNode();
    MTNode* fall = new MTNode();
    falling->children.Add(fall);
    tree.nodes.Add(falling);
    EXPECT_EQ(tree.FindFall(), fall);
    EXPECT_EQ(tree.GoToBranch("2"), falling);
}

TEST_F(MoveTreeTest, LinksThatLeadNowhereKeepTheCurrentNode) {
    WriteTree("stand idle.kaf - 1 INT -\n"
              "  k kick.kaf - 02 INT -\n"
              "    * @ 1\n"
              "  q @ 1/k\n"
              "  p @ 1/q\n"   // a link to a link
              "  t @ 2\n"
              "  i @ 3/p\n"
              "  o @ 1/z\n"
              "  g @ 1/*\n"   // back to this very list, again and again
              "  * idle.kaf - 1 INT -\n"
              "    * @ 1\n");
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    MTNode* root = tree.nodes[0];
    EXPECT_STREQ(root->children[0]->branch, "2") << "kept as its digit";

    EXPECT_EQ(tree.FindNext("p")->move->name, "kick.kaf");
    tree.FindNext("");
    ASSERT_EQ(tree.current, root);

    TraceCapture trace;
    EXPECT_EQ(tree.FindNext("t"), root);
    EXPECT_TRUE(trace.Has("ERROR: link '2' names no node of the movetree"));
    EXPECT_EQ(tree.FindNext("i"), root);
    EXPECT_TRUE(trace.Has("ERROR: link '3/p' names no node"));
    EXPECT_EQ(tree.FindNext("o"), root);
    EXPECT_TRUE(trace.Has("INTERNAL ERROR in finding link -- didn't match!"));
    EXPECT_EQ(tree.FindNext("g"), root);
    EXPECT_TRUE(trace.Has("go round in a circle"));
    EXPECT_FALSE(tree.current->isLink);
}

TEST_F(MoveTreeTest, CommandMatchingNoChildKeepsTheCurrentNode) {
    WriteTree(TREE);
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    // The reader always closes a list with "*"; a list built by hand need not.
    MTNode* bare = new MTNode();
    std::strcpy(bare->label, "k");
    tree.nodes[0]->children[4]->children.Add(bare);
    MTNode* star = tree.FindNext("");
    tree.current = bare;
    TraceCapture trace;
    EXPECT_EQ(tree.FindNext("p"), bare);
    EXPECT_TRUE(trace.Has("INTERNAL ERROR in MoveTree::FindNext() -- didn't match!"));
    EXPECT_NE(star, bare);
}

TEST_F(MoveTreeTest, AListWithoutDefaultTakesTheFollowingRecords) {
    WriteTree("stand idle.kaf - 1 INT -\n"
              "  fp fp.kaf - 1 INT -\n"
              "    k combo.kaf - 1 INT -\n"
              "      * @ 1\n"
              "  p jab.kaf - 1 INT -\n"
              "    * @ 1\n"
              "  * idle.kaf - 1 INT -\n"
              "    * @ 1\n"
              "  * @ 1\n");
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    const MTNode* root = tree.nodes[0];
    ASSERT_EQ(root->children.count, 2);
    EXPECT_TRUE(root->children[1]->isLink);
    const MTNode* fp = root->children[0];
    ASSERT_EQ(fp->children.count, 3);
    EXPECT_EQ(Label(fp->children[1]), "p");
    EXPECT_EQ(Label(fp->children[2]), "*");
}

TEST_F(MoveTreeTest, UnknownStateLettersAreSkipped) {
    WriteTree("stand idle.kaf - 1 INT GXD\n  * @ 1\n");
    TraceCapture trace;
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    EXPECT_EQ(tree.nodes[0]->state, MTNode::G | MTNode::D);
    EXPECT_TRUE(trace.Has("ERROR: Unknown state 'X' in movetree."));
    EXPECT_TRUE(trace.Has("characters/kira/movetree.txt:1: state letter skipped"));
}

TEST_F(MoveTreeTest, FieldsUpToTheirSizeAreRead) {
    const std::string label(19, 'p');
    const std::string path = "1/" + std::string(40, 'p');
    const std::string move = std::string(35, 'm') + ".kaf";
    Write("characters/kira/" + move, "1\n0.25 -1\n");
    WriteTree("stand " + move + " - 1 INT -\n  " + label + " @ " + path + "\n  * @ 1\n");
    MoveTree tree("characters/kira", 2, "characters/mori", 3);
    EXPECT_EQ(tree.nodes[0]->moveName, move);
    EXPECT_EQ(Label(tree.nodes[0]->children[0]), label);
    EXPECT_EQ(tree.nodes[0]->children[0]->linkto, path);
}

TEST_F(MoveTreeDeathTest, MissingTreeEndsWith255) {
    EXPECT_EXIT((TraceToStderr(), Load()), testing::ExitedWithCode(255),
                "No Movetree for kira\ncharacters/kira/movetree.txt: file not found");
}

TEST_F(MoveTreeDeathTest, MalformedTreesEndWith255) {
    const struct {
        std::string text;
        const char* expected;  // the trace message, then the line for standard error
    } cases[] = {
        {"stand idle.kaf - 1 INT -\n  p jab.kaf - 5 INT -\n",
         "ERROR: expecting 1,2,3,4 for branch in movetree\n"
         "characters/kira/movetree.txt:2: expected a branch of 1 to 4, found '5'"},
        {"stand idle.kaf - 0 INT -\n", "expected a branch of 1 to 4, found '0'"},
        {"stand idle.kaf - x INT -\n", "expected a branch of 1 to 4, found 'x'"},
        {"stand idle.kaf - 0001 INT -\n", "expected a branch of 1 to 4, found '0001'"},
        {"stand idle.kaf - 1 INT -\n  p jab.kaf - 1 FAST -\n",
         "ERROR: UNKNOWN FLAG\n"
         ".*movetree.txt:2: expected INT, ARB, THROW, CEN or SPIN, found 'FAST'"},
        {"stand idle.kaf - 1 int -\n", "(^|\n)UNKNOWN FLAG\n.*:1: expected INT.*found 'int'"},
        {"stand idle.kaf - 1 INT -\n  p jab.kaf - 1 INT -\n    * @ 1\n",
         "ERROR: movetree ends inside a list of moves\n"
         ".*:4: expected a label, found the end of the file"},
        {"stand idle.kaf - 1 INT -\n  " + std::string(20, 'p') + " @ 1\n",
         "ERROR: word too long in movetree\n"
         ".*:2: expected a label of at most 19 characters, found 'pppppppppppppppppppp'"},
        {"stand idle.kaf - 1 INT -\n  p @ 1/" + std::string(41, 'p') + "\n",
         "expected a link path of at most 42 characters"},
        {"stand " + std::string(36, 'm') + ".kaf - 1 INT -\n",
         "expected a move file name of at most 39 characters"},
        {"stand idle.kaf - 1 INT", "ERROR: movetree ends early\n.*expected a state word"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteTree(c.text);
        EXPECT_EXIT((TraceToStderr(), Load()), testing::ExitedWithCode(255), c.expected);
    }
}

TEST_F(MoveTreeDeathTest, MissingMoveFileEndsWith255) {
    WriteTree("stand idle.kaf - 1 INT -\n  p nothing.kaf - 1 INT -\n");
    EXPECT_EXIT((TraceToStderr(), Load()), testing::ExitedWithCode(255),
                "FILE NOT FOUND\ncharacters/kira/nothing.kaf: file not found");
    WriteTree("stand idle.kaf nothing.kaf 1 INT -\n");
    EXPECT_EXIT((TraceToStderr(), Load()), testing::ExitedWithCode(255),
                "characters/mori/nothing.kaf: file not found");
}

}  // namespace
