#include "match/GameSeq.h"

#include <gtest/gtest.h>

#include <cmath>

#include "anim/KeyFrame.h"
#include "match/LifeBar.h"
#include "support/MatchHarness.h"

namespace {

using GameSeqFaultsTest = MatchTest;

// Bouts late in a session start at the present game time, not at 0: no
// backlog of keys is played through, and the fighters stand at their start
// places with their limbs at rest.
TEST_F(GameSeqFaultsTest, ABoutStartedLateInASessionPlaysLikeTheFirst) {
    using fixture::Key;
    // Swaying, so that a spline evaluated outside its keys would show it.
    const std::string sway =
        fixture::Kaf({Key(0.05f).Pos(0, 0, 0),
                      Key(0.5f).Pos(0, 3, 0).Bone(fixture::ARM, Vector3(0.6f, 0, 0), 0),
                      Key(0.5f).Pos(0, 0, 0)});
    for (const char* name : {"kira", "mori"}) {
        fixture::WriteFighter(name, fixture::IDLE_TREE, {{"idle.kaf", sway}});
    }
    const int late[] = {4'000'000, 10'000'000};
    for (const int start : late) {
        At(start);
        Start();  // a match begun late, after a long session
        Run(start, start + 500);
        const int bout = start + 3'600'000;
        At(bout);
        seq[0]->Reset();  // and a bout of it an hour later
        seq[1]->Reset();
        for (int t = bout; t <= bout + 500; t += 10) {
            Frame(t);
            for (int i = 0; i < 2; ++i) {
                ASSERT_NEAR(fighter[i]->position.y, 0, 10) << "at " << t << " ms";
                ASSERT_NEAR(std::fabs(fighter[i]->position.z), 60, 10) << "at " << t << " ms";
                ASSERT_LT(seq[i]->boneSplines[0].EvalRot().Length(), 7) << "at " << t << " ms";
            }
        }
    }
}

TEST_F(GameSeqFaultsTest, ABlowFoundAsTheBoutEndsDoesNotReachTheNextOne) {
    WriteDefaultFighters();
    Start();
    Run(0, 500);
    seq[1]->hitPending = true;
    seq[1]->hitObject = fighter[1]->bones[fixture::TORSO];
    seq[1]->Reset();
    Frame(510);
    EXPECT_FALSE(seq[1]->inReaction);
    EXPECT_FALSE(seq[1]->sparkleOn);
}

// Cloth and hair entries follow the jointed parts (the first ncollide):
// whatever their keys say, they neither strike nor are struck.
TEST_F(GameSeqFaultsTest, OnlyTheJointedPartsStrikeAndAreStruck) {
    const std::string punch = fixture::Kaf(
        {fixture::Key(0.2f).Pos(0, 0, 0).Bone(fixture::ARM, Vector3(), KeyFrame::STRIKES)}, 10);
    fixture::WriteFighter("kira", "stand punch.kaf - 1 ARB -\n  * punch.kaf - 1 ARB -\n    * @ 1\n",
                          {{"punch.kaf", punch}});
    fixture::WriteFighter("mori", fixture::IDLE_TREE,
                          {{"idle.kaf", fixture::StillKaf(1, KeyFrame::CAN_BE_HIT)}});
    struct Case {
        int fighter;
        int ncollide;  // the arm (striker) or the torso (target) counted as cloth
        bool lands;
    };
    for (const Case c : {Case{0, fixture::BONES, true}, Case{0, fixture::ARM, false},
                         Case{1, fixture::TORSO, false}}) {
        Start();
        for (int i = 0; i < 2; ++i) {
            Teleport(i, Vector3(0, 0, i == 0 ? -45 : 45));  // within arm's reach
        }
        fighter[c.fighter]->ncollide = c.ncollide;
        bool found = false;
        for (int t = 0; t < 1500; t += 10) found = Frame(t) || found;
        EXPECT_EQ(found, c.lands) << "fighter " << c.fighter << " with " << c.ncollide
                                  << " jointed parts";
    }
}

}  // namespace
