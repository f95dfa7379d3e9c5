// A move's frame figures, from a fixture move whose striking keys are known.
#include "training/FrameData.h"

#include <gtest/gtest.h>

#include "anim/MTNode.h"
#include "support/MatchHarness.h"
#include "support/FixtureMatch.h"

namespace {

using FrameDataTest = MatchTest;

TEST_F(FrameDataTest, StartupActiveAndRecoveryComeFromTheStrikingKeys) {
    // The lunge's keys end at 0.05, 0.17, 0.27 and 0.42 s; the arm strikes on
    // the way to the second and third.
    for (const char* name : {"kira", "mori"}) fixture::WriteLunger(name);
    Start();
    const MoveBook book(*seq[0]->moveTree, *fighter[0]);
    const MTNode* root = seq[0]->moveTree->nodes[0];
    const FrameData lunge = FrameData::Of(book.Facts(root->children[0]));
    // 0.05 s; 0.05 .. 0.27 s; 0.27 .. 0.42 s
    EXPECT_TRUE(lunge.strikes && lunge.startup == 3 && lunge.active == 13 && lunge.recovery == 9);
    EXPECT_FALSE(FrameData::Of(book.Facts(root)).strikes);
}

}  // namespace
