#include "anim/Anim.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "anim/KeyFrame.h"
#include "anim/MTNode.h"
#include "anim/MoveTree.h"
#include "core/DataProblems.h"
#include "frontend/Sound.h"
#include "support/Near.h"
#include "support/ScratchDir.h"
#include "support/TraceCapture.h"
#include "support/WavFile.h"

namespace {

using AnimDeathTest = ScratchDirTest;

// With the sounds the animations below name.
class AnimTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        for (const std::string& name : {std::string("whoosh"), std::string(39, 's')}) {
            wav::Write("sounds/" + name);
        }
    }
};

const char* const DIR = "characters/kira";

// Every optional clause of a version-2 file, for a skeleton of three bones.
const char* const FULL =
    "version 2\ndamage 12\ntracerindex 3\ntracerlength 25.5\nhitcolor 1 0.5 0\n2\n"
    "soundname whoosh\ncamerapos 1 2 3\nflags 513\n0.25\n"
    "pos 10.75 20.5 -30.875\nvel 1 2 3\nfacing 0 1.5 0\ndamage 7.5\n"
    "0 0.125 0.25 0.375 2 bpos 4 5 6\n1 1 1 1 9\n-1\n"
    "flags 0\n0.5\n2 0 0.5 0 4\n-1\n";

TEST_F(AnimTest, VersionTwoReadsEveryClauseAndLaterFramesInheritValuesButNotEvents) {
    WriteFile("characters/kira/punch.kaf", FULL);
    Anim anim(DIR, "punch.kaf", 3);
    ASSERT_EQ(anim.nframes, 2);
    EXPECT_TRUE(anim.tracerlength == 25.5f && anim.hasHitColor && Near(anim.hitcolor, Vector3(1, 0.5f, 0)) &&
                anim.length == 0.75f && anim.hasTracer) << "bone flag 4 trails a tracer";
    const KeyFrame& first = *anim.frames[0];
    EXPECT_TRUE(first.soundName == "whoosh" && first.sound != nullptr && first.sound->length == 6u &&
                anim.hasCameraPos[0] && Near(anim.cameraPos[0], Vector3(1, 2, 3)) && anim.flags[0] == 513u);
    EXPECT_TRUE(first.hasPos && Near(first.pos, Vector3(10.75f, 20.5f, -30.875f)) && first.hasFacing &&
                Near(first.facing, Vector3(0, 1.5f, 0)) && first.damage == 7.5f);
    EXPECT_TRUE(Near(first.rot[0], Vector3(0.125f, 0.25f, 0.375f)) && first.boneFlags[1] == 9 && first.bposSet[0] &&
                Near(first.bpos[0], Vector3(4, 5, 6)) && !first.bposSet[1]);
    const KeyFrame& second = *anim.frames[1];
    EXPECT_FALSE(second.hasSound || anim.hasCameraPos[1] || second.hasPos || second.hasVel ||
                 second.hasFacing || second.hasDamage)
        << "events and clauses belong to their own frame";
    EXPECT_TRUE(Near(second.pos, first.pos) && Near(second.rot[0], first.rot[0])) << "values are inherited";
    EXPECT_TRUE(anim.flags[1] == 0u && Near(second.rot[2], Vector3(0, 0.5f, 0)) && second.boneFlags[2] == 4);
}

TEST_F(AnimTest, LongSoundNamesAreCutAndASoundThatCannotBeLoadedLeavesTheFrameSilent) {
    for (const std::string& name : {std::string(50, 's'), std::string("gone.wav")}) {
        WriteFile("characters/kira/punch.kaf", "version 2 damage 1 tracerindex 0 tracerlength 1\n1\n"
                                               "soundname " + name + " flags 0 0.1 -1\n");
        TraceCapture quiet;
        Anim anim(DIR, "punch.kaf", 1);
        const bool loads = name != "gone.wav";
        EXPECT_TRUE(anim.frames[0]->hasSound == loads && anim.frames[0]->soundName == (loads ? std::string(39, 's') : ""));
    }
}

TEST_F(AnimTest, VersionOneStartsWithTheFrameCountAndUnlistedBonesKeepTheirPose) {
    for (const char* header : {"", "version 1\n"}) {
        WriteFile("characters/kira/walk.kaf", std::string(header) +
                                                  "2\n0.25\n0 1 2 3 1\n1 4 5 6 2\n-1\n"
                                                  "0.5\n1 7 8 9 8\n-1\n");
        Anim anim(DIR, "walk.kaf", 3);
        ASSERT_EQ(anim.nframes, 2) << header;
        EXPECT_TRUE(anim.damage == 0 && anim.tracerlength == 10 && !anim.hasTracer) << header;
        EXPECT_TRUE(Near(anim.frames[1]->rot[0], Vector3(1, 2, 3)) && Near(anim.frames[1]->rot[1], Vector3(7, 8, 9)));
        EXPECT_FLOAT_EQ(anim.frames[1]->absTime, 0.75f);
    }
}

TEST_F(AnimTest, BoneLinesOutsideTheSkeletonAreDroppedAndSaidWhere) {
    WriteFile("characters/kira/odd.kaf",
              "1\n0.25\n"
              "bpos 7 7 7\n"           // before any bone: its numbers are not bone lines
              "1 1 2 3 4\n"
              "5 9 9 9 9 bpos 8 8 8\n"  // beyond the skeleton, and its bpos with it
              "-4 9 9 9 9\n"            // negative, but not the end marker
              "x 6 6 6 8\n"             // not a number: bone 0
              "-1\n");
    TraceCapture trace;
    Anim anim(DIR, "odd.kaf", 3);
    EXPECT_TRUE(trace.Has("characters/kira/odd.kaf:5: bone 5 is not in a skeleton of 3 bones") &&
                trace.Has("bone -4 is not in a skeleton"));
    const KeyFrame& key = *anim.frames[0];
    EXPECT_TRUE(Near(key.rot[0], Vector3(6, 6, 6)) && Near(key.rot[1], Vector3(1, 2, 3)) && Near(key.rot[2], Vector3()));
    EXPECT_FALSE(key.bposSet[0] || key.bposSet[1] || key.bposSet[2]);
}

TEST_F(AnimDeathTest, MissingOrMalformedFilesEndTheProgramSayingWhere) {
    const std::string header = "version 2\ndamage 5\ntracerindex 3\ntracerlength 2\n";
    const struct {
        std::string text;
        const char* expected;  // the line for standard error
    } cases[] = {
        {"version 2\ndmg 5\n", "punch.kaf:2: expected 'damage', found 'dmg'"},
        {"version 2\ndamage 5\ntracer 3\n", "characters/kira/punch.kaf:3: expected 'tracerindex', found 'tracer'"},
        {"version 2\ndamage 5\ntracerindex 3\n", "punch.kaf:4: expected 'tracerlength', found the end of the file"},
        {"version 2\ndamage lots\n", ":2: expected a whole number, found 'lots'"},
        {header + "1\n0.1 -1\n", "punch.kaf:6: expected 'flags' \\(or 'camerapos'\\), found '0.1'"},
        {header + "1\nflags -1 0.1 -1\n", "expected a flag word"},
        {"version 3\n2\n", ": expected version 1 or 2, found 3"},
        {"0\n", ":1: expected a frame count of 1 to 100000, found '0'"},
        {"100001\n", "found '100001'"},
        {"", "found the end of the file"},
        {"1\n0.1 0 1 2 3 0\n", ":3: expected a bone index or -1, found the end of the file"},
        {"2\n0.1 -1\n0.1 0 1 x 3 0 -1\n", ":3: expected a number, found 'x'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFile("characters/kira/punch.kaf", c.text);
        EXPECT_EXIT(Anim(DIR, "punch.kaf", 3), testing::ExitedWithCode(1), c.expected);
    }
    EXPECT_EXIT(Anim(DIR, "nothing.kaf", 3), testing::ExitedWithCode(255),
                "characters/kira/nothing.kaf: file not found");
    EXPECT_EXIT(Anim(DIR, "punch.kaf", 201), testing::ExitedWithCode(1),
                "characters/kira/punch.kaf: expected a fighter of at most 200 bones, found 201");
}

// A fighter "kira" of two bones and an opponent "mori" of three. Every move
// the trees below name exists as a one-frame animation. Load reads kira's
// tree into `tree` and gives its root.
class MoveTreeTest : public ScratchDirTest {
protected:
    MoveTreeTest() {
        for (const char* move : {"1_ghit", "1d_ghit", "idle", "fpk", "fp", "combo", "finish", "jab", "jab2",
                                 "crouch", "kick"})
            WriteFile(std::string("characters/kira/") + move + ".kaf", "1\n0.25 -1\n");
        WriteFile("characters/mori/hit.kaf", "1\n0.25 -1\n");
    }
    MTNode* Load(const std::string& text) {
        WriteFile("characters/kira/movetree.txt", text);
        tree = std::make_unique<MoveTree>("characters/kira", 2, "characters/mori", 3);
        return tree->nodes[0];
    }
    static std::string Move(const MTNode* node) { return node->move->name; }

    std::unique_ptr<MoveTree> tree;
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
    const MTNode* root = Load(TREE);
    EXPECT_TRUE(tree->guardHit->name == "1_ghit.kaf" && tree->guardHitLow->name == "1d_ghit.kaf");
    ASSERT_EQ(tree->nodes.count, 1);
    ASSERT_EQ(root->children.count, 5);
    const MTNode* fpk = root->children[0];
    EXPECT_EQ(fpk->oppmove->nbones, 3) << "reactions come with the opponent's skeleton";
    EXPECT_TRUE(std::string(fpk->branch) == "2" && fpk->flag == MTNode::CEN && fpk->state == (MTNode::G | MTNode::T));
    const MTNode* finish = root->children[1]->children[0]->children[0];
    EXPECT_TRUE(finish->flag == MTNode::THROW && finish->state == MTNode::D);
    EXPECT_EQ(root->children[3]->state, MTNode::J | MTNode::D);
}

TEST_F(MoveTreeTest, CommandsWalkTheTreeAndLinksJumpWithinIt) {
    MTNode* root = Load(TREE);
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
    MTNode* root = Load(TREE);
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
    MTNode* root = Load("stand idle.kaf - 1 INT -\n"
                        "  k kick.kaf - 02 INT -\n"
                        "    * @ 1\n"
                        "  q @ 1/k\n"
                        "  p @ 1/q\n"   // a link to a link
                        "  t @ 2\n"
                        "  i @ 3/p\n"
                        "  o @ 1/z\n"
                        "  g @ 1/*\n"   // back to this list, for ever
                        "  * idle.kaf - 1 INT -\n"
                        "    * @ 1\n");
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
    EXPECT_NO_THROW(Load(NestedTree(150))) << "a deep but real tree";
    EXPECT_THROW(Load(NestedTree(1000)), DataProblems::Abandoned);
    EXPECT_EQ(problems.problems(), std::vector<std::string>{
              "characters/kira/movetree.txt:201: expected moves nested at most 200 deep, found more"});
}

}  // namespace
