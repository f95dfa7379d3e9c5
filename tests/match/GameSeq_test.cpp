#include "match/GameSeq.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "anim/Anim.h"
#include "anim/KeyFrame.h"
#include "match/LifeBar.h"
#include "match/Particle.h"
#include "support/MatchHarness.h"
#include "support/SoundGuard.h"
#include "support/WavFile.h"

namespace {

using fixture::ARM;
using fixture::Key;
using fixture::Kaf;
using fixture::TORSO;

// A punch: the arm strikes in every key, 0.2 s apart.
std::string Punch(int damage = 10) {
    const Key strike = Key(0.2f).Pos(0, 0, 0).Bone(ARM, Vector3(), 1);
    return Kaf({strike, strike, strike}, damage);
}

// Kira gets ready and punches, over and over; a landed punch makes the
// opponent play hit.kaf and go on at branch 1. The first punch heads to its
// keys from 1.05 s to 1.65 s, the second from 2.7 s to 3.3 s.
const char* const PUNCHING_TREE =
    "stand ready.kaf - 1 ARB -\n"
    "  * punch.kaf hit.kaf 1 ARB -\n"
    "    * @ 1\n";

void WritePuncher(int damage = 10) {
    fixture::WriteFighter("kira", PUNCHING_TREE,
                          {{"ready.kaf", fixture::StillKaf()}, {"punch.kaf", Punch(damage)}});
}

// Mori stands still; its torso carries `torsoFlags` in every key. Thrown, it
// flies 200 back (away from the attacker) over half a second.
void WriteTarget(int torsoFlags) {
    fixture::WriteFighter(
        "mori", fixture::IDLE_TREE,
        {{"idle.kaf", fixture::StillKaf(1, torsoFlags)}, {"hit.kaf", fixture::StillKaf(0.5f, torsoFlags)},
         {"thrown.kaf", Kaf({Key(0.1f).Pos(0, 0, 0), Key(0.5f).Pos(0, 0, 200), Key(1).Pos(0, 0, 200)})}});
}

class GameSeqTest : public MatchTest {
protected:
    // Within arm's reach, standing there from the first frame on.
    void StandClose() {
        for (int i = 0; i < 2; ++i) {
            seq[i]->basePos = Vector3(0, 0, i == 0 ? 15 : -15);
            for (int slot = 0; slot < 4; ++slot) seq[i]->rootSpline.pos[slot] = seq[i]->basePos;
            fighter[i]->SetPosition(seq[i]->basePos);
        }
    }
    // A hit the opponent found last frame, as its collision test leaves it.
    void MarkHit(int victim, Anim* reaction, const char* branch = "1") {
        seq[victim]->hitPending = true;
        seq[victim]->hitAnim = reaction;
        seq[victim]->hitObject = fighter[victim]->bones[TORSO];
        seq[victim]->hitPoint = Vector3(0, 30, 0);
        seq[victim]->hitBranch = branch;
    }
    Anim* Reaction() const { return seq[0]->moveTree->nodes[0]->children[0]->oppmove; }
};

TEST_F(GameSeqTest, UpToTwoHundredBonesArePlayedAndMoreAreRefused) {
    fixture::WriteFighter("kira", fixture::IDLE_TREE, {}, 197);
    fixture::WriteFighter("mori");
    Start();
    Run(500, 1000, 50);
    EXPECT_EQ(seq[0]->boneSplines[199].count, 4) << "the last bone is fed like the first";
    fixture::WriteFighter("kira", fixture::IDLE_TREE, {}, 198);
    EXPECT_EXIT(Start(), ::testing::ExitedWithCode(1),
                "characters/kira/low.bdf: a fighter can have at most 200 bones, found 201");
}

// Both stand still at their start places from 2 s on.
class SpacingTest : public GameSeqTest {
protected:
    SpacingTest() {
        const Key still = Key(1).Pos(0, 0, 0);
        const std::string idle = Kaf({Key(0.05f).Pos(0, 0, 0), still, still, still, still});
        fixture::WriteFighter("kira", fixture::IDLE_TREE, {{"idle.kaf", idle}});
        fixture::WriteFighter("mori", fixture::IDLE_TREE, {{"idle.kaf", idle}});
    }
};

TEST_F(SpacingTest, OverlappingFightersArePushedApartEquallyToExactly30) {
    const struct {
        Vector3 to0, to1, at0, at1;
    } cases[] = {
        {{0, 0, 10}, {0, 0, -10}, {0, 0, 15}, {0, 0, -15}},
        // On the very same spot they go back towards their start places.
        {{5, 0, 0}, {5, 0, 0}, {5, 0, 15}, {5, 0, -15}},
    };
    for (const auto& c : cases) {
        At(0);
        Start();
        Run(1500, 2500);
        Teleport(0, c.to0 - Vector3(0, 0, 60));
        Teleport(1, c.to1 - Vector3(0, 0, -60));
        Frame(2510);
        Frame(2520);
        EXPECT_TRUE(Near(fighter[0]->position, c.at0, 1e-5f) && Near(fighter[1]->position, c.at1, 1e-5f));
        EXPECT_FLOAT_EQ(seq[0]->basePos.z, c.at0.z) << "the rest of the move is moved with them";
        Run(2530, 4000);
        EXPECT_FLOAT_EQ(fighter[0]->position.z - fighter[1]->position.z, 30);
    }
}

TEST_F(GameSeqTest, TheArenaEdgeHoldsAFighterDuringAMove) {
    std::vector<Key> walk = {Key(0.05f).Pos(0, 0, 0)};  // 50 forward a second for ten seconds
    for (int k = 1; k <= 10; ++k) walk.push_back(Key(1).Pos(0, 0, -50.0f * k));
    fixture::WriteFighter("kira", fixture::IDLE_TREE, {{"idle.kaf", Kaf(walk)}});
    fixture::WriteFighter("mori");
    fixture::WriteScene("ring", 200, -150);
    Start("ring");
    seq[1]->basePos = Vector3(-60, 0, 0);  // out of the walker's way
    Run(100, 5000);
    EXPECT_TRUE(fighter[0]->position.z == -100 && !seq[0]->fallen && !seq[0]->lost)
        << "walked 250 past the middle, kept on the edge";
}

TEST_F(GameSeqTest, AFighterThrownOutDuringAReactionFallsToTheArenaDepthAndLoses) {
    fixture::WriteFighter("kira", "stand idle.kaf thrown.kaf 1 ARB -\n  * idle.kaf - 1 ARB -\n"
                                  "    * @ 1\n");
    WriteTarget(0);
    fixture::WriteScene("ring", 200, -150);
    Start("ring");
    Run(100, 1000);
    MarkHit(1, seq[0]->moveTree->nodes[0]->oppmove);
    Run(1010, 1300);
    EXPECT_TRUE(seq[1]->fallen && seq[1]->lost && !seq[1]->landed && fighter[1]->position.z < -100)
        << "no edge holds a fighter thrown out";
    Run(1310, 3000);
    EXPECT_TRUE(seq[1]->landed && !seq[1]->inReaction && !seq[0]->lost && fighter[1]->position.y == -150)
        << "the fighter stays down at the arena's depth";
    seq[1]->Reset();
    EXPECT_FALSE(seq[1]->lost || seq[1]->fallen || seq[1]->landed);
    Run(3010, 4500);
    EXPECT_TRUE(Near(fighter[1]->position, Vector3(0, 0, -60), 1e-3f)) << "back at its start place";
}

// The torso's flags decide between hit and block; the blow names its reaction.
TEST_F(GameSeqTest, TheTouchedPartsFlagsDecideBetweenHitAndBlock) {
    const struct {
        int torsoFlags;
        bool hit, guarded;
    } cases[] = {{2, true, false}, {2 | 8, true, false}, {8, false, true}, {0, false, false},
                 {4, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.torsoFlags);
        WritePuncher();
        WriteTarget(c.torsoFlags);
        At(0);
        Start();
        StandClose();
        bool found = false;
        for (int t = 500; t <= 1700 && !found; t += 10) {
            At(t);
            seq[0]->Update();
            seq[1]->Update();
            found = seq[0]->CheckCollision();
        }
        EXPECT_TRUE(seq[1]->hitPending == c.hit && seq[1]->guardHitPending == c.guarded && seq[0]->hitDone == found);
        if (!found) continue;
        const MTNode* blow = seq[0]->nodeWindow[2];
        EXPECT_TRUE(seq[1]->hitObject == fighter[1]->bones[TORSO] && seq[1]->hitBranch == blow->branch &&
                    seq[1]->hitPoint == fighter[0]->bones[ARM]->contact);
        EXPECT_EQ(seq[1]->hitAnim, c.hit ? blow->oppmove : nullptr) << "a block names no reaction";
    }
}

// Damage beyond the life left leaves none and loses.
TEST_F(GameSeqTest, AMoveLandsOnceHoweverLongItOverlaps) {
    WritePuncher(30);
    WriteTarget(2);
    Start();
    seq[1]->lifeBar->value = 40;
    StandClose();
    int landed = 0;
    for (int t = 500; t < 1650; t += 10) landed += Frame(t);
    EXPECT_TRUE(landed == 1 && !seq[1]->lost) << "the punch strikes in three keys, touching all the while";
    landed = 0;
    for (int t = 1650; t < 3500; t += 10) landed += Frame(t);
    EXPECT_EQ(landed, 1) << "the next punch lands again";
    EXPECT_TRUE(seq[1]->lifeBar->value == 0 && seq[1]->lost && !seq[0]->lost);
}

TEST_F(GameSeqTest, TwoBlowsFoundInOneFrameBothLand) {
    const Key strike = Key(0.2f).Pos(0, 0, 0).Bone(TORSO, Vector3(), 2).Bone(ARM, Vector3(), 1);
    for (const char* name : {"kira", "mori"}) {
        fixture::WriteFighter(name, PUNCHING_TREE,
                              {{"ready.kaf", fixture::StillKaf(1, 2)},
                               {"punch.kaf", Kaf({strike, strike, strike}, 10)},
                               {"hit.kaf", fixture::StillKaf(0.5f, 2)}});
    }
    Start();
    StandClose();
    Run(500, 1700);
    EXPECT_TRUE(seq[0]->lifeBar->value == 90 && seq[1]->lifeBar->value == 90)
        << "the second fighter's test in the same frame";
}

TEST_F(GameSeqTest, AHitRestartsTheVictimOnItsReactionWithSparkleAndParticles) {
    WritePuncher(25);
    WriteTarget(0);
    Start();
    Run(500, 1100);
    MarkHit(1, Reaction());
    Frame(1110);
    EXPECT_TRUE(seq[1]->inReaction && !seq[1]->hitPending && seq[1]->anim == Reaction() &&
                seq[1]->animStart == 1110 && seq[1]->lifeBar->value == 75)
        << "the reaction starts now, from the present pose; the attacker's move is worth 25";
    int flying = 0;
    for (int i = 0; i < seq[1]->particles.count; ++i) flying += seq[1]->particles[i]->HasTimeLeft();
    EXPECT_EQ(flying, 30);
    Frame(1400);
    const bool lit = seq[1]->sparkleOn;
    Frame(1420);
    EXPECT_TRUE(lit && !seq[1]->sparkleOn) << "the sparkle lasts 300 ms";
    for (int t = 1430; seq[1]->inReaction && t < 3000; t += 10) Frame(t);
    EXPECT_EQ(seq[1]->curNode, seq[1]->moveTree->nodes[0]) << "on at the branch the blow named";
}

TEST_F(GameSeqTest, GuardHitsCostNothingAndTakeTheirOwnFrameAfterAHit) {
    WritePuncher();
    fixture::WriteFighter("mori", "crouch idle.kaf - 1 ARB D\n  * idle.kaf - 1 ARB D\n    * @ 1\n",
                          {{"hit.kaf", fixture::StillKaf(0.5f)}});
    Start();
    Run(500, 1100);
    MarkHit(1, Reaction());
    seq[1]->guardHitPending = true;
    Frame(1110);
    EXPECT_TRUE(seq[1]->anim == Reaction() && seq[1]->guardHitPending);
    const float queued = seq[1]->rootSpline.times[2];
    Frame(1120);
    EXPECT_TRUE(!seq[1]->guardHitPending && seq[1]->anim == seq[1]->moveTree->guardHitLow)
        << "a crouching fighter blocks low";
    EXPECT_TRUE(seq[1]->rootSpline.times[2] == queued && seq[1]->lifeBar->value == 90)
        << "a block follows the keys already queued, and only the hit costs life";
}

TEST_F(GameSeqTest, MissingReactionsMovesAndTimeDoNotStopTheFight) {
    fixture::WriteFighter("kira", "stand idle.kaf - 1 ARB -\n  * gone.kaf - 1 ARB -\n    * @ 1\n",
                          {{"gone.kaf", fixture::StillKaf()}});
    fixture::WriteFighter("mori", fixture::IDLE_TREE,
                          {{"idle.kaf", Kaf({Key(0).Pos(0, 0, 0), Key(0).Pos(0, 0, 0)})}});
    Start();
    MTNode* gone = seq[0]->moveTree->nodes[0]->children[0];
    delete gone->move;
    gone->move = nullptr;  // as if it had failed to load
    Run(10, 300);
    MarkHit(0, nullptr, nullptr);  // no reaction and no branch
    Run(310, 3000);
    ASSERT_NE(seq[0]->anim, nullptr);
    EXPECT_TRUE(!seq[0]->inReaction && seq[0]->anim->name == "idle.kaf") << "a node without a move is passed over";
    EXPECT_TRUE(seq[1]->anim->name == "idle.kaf" && Near(fighter[1]->position, Vector3(0, 0, -60), 1e-3f))
        << "moves that take no time hold nothing up";
}

// The root idle may be interrupted; it heads to its last key from 1.05 s.
class CommandTest : public GameSeqTest {
protected:
    void Begin(const char* rootFlag) {
        At(0);
        const Key still = Key(1).Pos(0, 0, 0);
        fixture::WriteFighter("kira",
                              std::string("stand idle.kaf - 1 ") + rootFlag + " -\n  p punch.kaf hit.kaf 1 ARB -\n"
                                  "    * @ 1/*\n  * idle.kaf - 1 INT -\n    * @ 1/*\n",
                              {{"idle.kaf", Kaf({Key(0.05f).Pos(0, 0, 0), still, still})},
                               {"punch.kaf", Punch()}});
        WriteTarget(0);
        Start();
        Frame(300);
        controller[0].Latch(Controller::CMD_P);
    }
    bool Punching() const { return Label(seq[0]->curNode) == "p"; }
};

TEST_F(CommandTest, AnInterruptibleMoveGivesWayAtOnceAndAnotherWhenItEnds) {
    Begin("INT");
    Frame(400);
    EXPECT_TRUE(Punching() && seq[0]->animStart == 400 && controller[0].ready == 0) << "at once, from the present pose";
    Begin("ARB");
    Run(400, 1000, 100);
    EXPECT_TRUE(!Punching() && controller[0].ready == Controller::CMD_P) << "the command waits in the controller";
    Frame(1150);  // the idle heads to its last key
    EXPECT_TRUE(Punching());
}

TEST_F(CommandTest, NoInterruptionWhenTheBoutIsDecidedOrAFighterReels) {
    for (const int c : {0, 1, 2}) {  // won, reeling, lost
        Begin("INT");
        seq[0]->won = c == 0;
        seq[0]->lost = c == 2;
        if (c == 1) {
            MarkHit(0, seq[1]->moveTree->nodes[0]->move);
            Frame(400);
            controller[0].Latch(Controller::CMD_P);
        }
        Frame(410);
        EXPECT_FALSE(Punching()) << c;
    }
    Frame(1100);
    EXPECT_EQ(Label(seq[0]->curNode), "*") << "after losing, moves still follow the tree";
}

// A blow taken on the guard is heard as it lands, and only then: not again
// when the motion reaches the guard's first key, a segment or two later.
TEST_F(GameSeqTest, TheSoundOfABlowIsHeardOnceAsItLands) {
    wav::Write("sounds/clack.wav");
    fixture::WriteFighter("kira");
    fixture::WriteFighter("mori", fixture::IDLE_TREE,
                          {{"1_ghit.kaf", Kaf({Key(0.05f).Sound("clack.wav"), Key(0.2f)})}});
    Start();
    const SoundGuard sounds;
    Run(10, 300);
    seq[1]->guardHitPending = true;
    Frame(310);
    const size_t heard = sounds.manager->playing.size();
    Run(320, 2500);
    EXPECT_TRUE(heard == 1 && sounds.manager->playing.size() == 1);
}

// Bouts late in a session start at the present game time, not at 0: no
// backlog of keys is played through, and the fighters stand at their start
// places with their limbs at rest.
TEST_F(GameSeqTest, ABoutStartedLateInASessionPlaysLikeTheFirst) {
    // Swaying, so that a spline evaluated outside its keys would show it.
    const Key lean = Key(0.5f).Pos(0, 3, 0).Bone(ARM, Vector3(0.6f, 0, 0), 0);
    const std::string sway = Kaf({Key(0.05f).Pos(0, 0, 0), lean, Key(0.5f).Pos(0, 0, 0)});
    for (const char* name : {"kira", "mori"}) {
        fixture::WriteFighter(name, fixture::IDLE_TREE, {{"idle.kaf", sway}});
    }
    for (const int start : {4'000'000, 10'000'000}) {
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
                ASSERT_TRUE(std::fabs(fighter[i]->position.y) < 10 && std::fabs(std::fabs(fighter[i]->position.z) - 60) < 10 &&
                            seq[i]->boneSplines[0].EvalRot().Length() < 7) << "at " << t << " ms";
            }
        }
    }
}

TEST_F(GameSeqTest, ABlowFoundAsTheBoutEndsDoesNotReachTheNextOne) {
    fixture::WriteFighter("kira");
    fixture::WriteFighter("mori");
    Start();
    Run(0, 500);
    seq[1]->hitPending = true;
    seq[1]->hitObject = fighter[1]->bones[TORSO];
    seq[1]->Reset();
    Frame(510);
    EXPECT_FALSE(seq[1]->inReaction || seq[1]->sparkleOn);
}

// Cloth and hair entries follow the jointed parts (the first ncollide):
// whatever their keys say, they neither strike nor are struck.
TEST_F(GameSeqTest, OnlyTheJointedPartsStrikeAndAreStruck) {
    const std::string punch = Kaf({Key(0.2f).Pos(0, 0, 0).Bone(ARM, Vector3(), KeyFrame::STRIKES)}, 10);
    fixture::WriteFighter("kira", "stand punch.kaf - 1 ARB -\n  * punch.kaf - 1 ARB -\n    * @ 1\n",
                          {{"punch.kaf", punch}});
    fixture::WriteFighter("mori", fixture::IDLE_TREE,
                          {{"idle.kaf", fixture::StillKaf(1, KeyFrame::CAN_BE_HIT)}});
    // The arm (striker) or the torso (target) counted as cloth.
    const struct {
        int fighter, ncollide;
        bool lands;
    } cases[] = {{0, fixture::BONES, true}, {0, fixture::ARM, false}, {1, fixture::TORSO, false}};
    for (const auto& c : cases) {
        Start();
        for (int i = 0; i < 2; ++i) Teleport(i, Vector3(0, 0, i == 0 ? -45 : 45));  // within arm's reach
        fighter[c.fighter]->ncollide = c.ncollide;
        bool found = false;
        for (int t = 0; t < 1500; t += 10) found = Frame(t) || found;
        EXPECT_EQ(found, c.lands) << c.fighter << " " << c.ncollide;
    }
}

}  // namespace
