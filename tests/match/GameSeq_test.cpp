#include "match/GameSeq.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "anim/Anim.h"
#include "character/Head.h"
#include "match/LifeBar.h"
#include "match/MatchHarness.h"
#include "match/Particle.h"
#include "math/Camera.h"
#include "support/TraceCapture.h"
#include "support/WavFile.h"
#include "frontend/Sound.h"

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

// Thrown 200 back (away from the attacker) over half a second.
std::string Thrown() {
    return Kaf({Key(0.1f).Pos(0, 0, 0), Key(0.5f).Pos(0, 0, 200), Key(1).Pos(0, 0, 200)});
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

// Within arm's reach, standing there from the first frame on.
void StandClose(GameSeq& attacker, GameSeq& victim) {
    attacker.basePos = Vector3(0, 0, 15);
    victim.basePos = Vector3(0, 0, -15);
    for (int slot = 0; slot < 4; ++slot) {
        attacker.rootSpline.pos[slot] = attacker.basePos;
        victim.rootSpline.pos[slot] = victim.basePos;
    }
    attacker.person->SetPosition(attacker.basePos);
    victim.person->SetPosition(victim.basePos);
}

// Mori stands still; its torso carries `torsoFlags` in every key.
void WriteTarget(int torsoFlags) {
    fixture::WriteFighter("mori", fixture::IDLE_TREE,
                          {{"idle.kaf", fixture::StillKaf(1, torsoFlags)},
                           {"hit.kaf", fixture::StillKaf(0.5f, torsoFlags)},
                           {"thrown.kaf", Thrown()}});
}

// A hit the opponent found last frame, as its collision test leaves it.
void MarkHit(GameSeq& victim, Anim* reaction, const char* branch = "1") {
    victim.hitPending = true;
    victim.hitAnim = reaction;
    victim.hitObject = victim.person->bones[TORSO];
    victim.hitPoint = Vector3(0, 30, 0);
    victim.hitBranch = branch;
}

using GameSeqTest = MatchTest;
using GameSeqDeathTest = MatchTest;

// ------------------------------------------------------------ set-up

TEST_F(GameSeqTest, ConstructionLoadsTheTreeAndPlacesTheFightersFacingEachOther) {
    WriteDefaultFighters();
    TraceCapture trace;
    Start();
    for (int i = 0; i < 2; ++i) {
        const GameSeq& s = *seq[i];
        EXPECT_EQ(fighter[i]->sequencer, &s);
        EXPECT_EQ(s.curNode, s.moveTree->nodes[0]);
        EXPECT_EQ(s.anim, s.moveTree->nodes[0]->move);
        EXPECT_EQ(s.lifeBar->value, 100);
        EXPECT_EQ(s.lifeBar->player, i);
        EXPECT_EQ(s.particles.count, GameSeq::PARTICLES);
        EXPECT_FALSE(s.started);
        EXPECT_FALSE(s.lost || s.won || s.fallen || s.inReaction || s.hitDone);
        EXPECT_EQ(s.nodeWindow[2], nullptr);
        EXPECT_EQ(fighter[i]->head->targetObject, static_cast<Object*>(fighter[1 - i]));
    }
    EXPECT_EQ(seq[0]->basePos, Vector3(0, 0, 60));
    EXPECT_EQ(seq[0]->baseRot, Vector3(0, 0, 0));
    EXPECT_EQ(seq[1]->basePos, Vector3(0, 0, -60));
    EXPECT_EQ(seq[1]->baseRot, Vector3(0, 3.14159f, 0));
    EXPECT_TRUE(trace.Has("movetree loading:\n"));
    EXPECT_TRUE(trace.Has("movetree done loading\n"));
    EXPECT_TRUE(trace.Has("Creating particle 79\n"));

    Run(500, 1500, 50);
    ExpectVectorNear(fighter[0]->position, Vector3(0, 0, 60), 1e-3f);
    ExpectVectorNear(fighter[1]->position, Vector3(0, 0, -60), 1e-3f);
    EXPECT_TRUE(seq[0]->started);
}

TEST_F(GameSeqDeathTest, AFighterWithMoreBonesThanTheWindowsHoldIsRefused) {
    fixture::WriteFighter("kira", fixture::IDLE_TREE, {}, 198);  // 201 bones
    fixture::WriteFighter("mori");
    EXPECT_EXIT(Start(), ::testing::ExitedWithCode(1),
                "characters/kira/low.bdf: a fighter can have at most 200 bones, found 201");
}

TEST_F(GameSeqTest, TwoHundredBonesArePlayed) {
    fixture::WriteFighter("kira", fixture::IDLE_TREE, {}, 197);
    fixture::WriteFighter("mori");
    Start();
    Run(100, 300, 100);
    EXPECT_EQ(fighter[0]->nbones, 200);
    EXPECT_EQ(seq[0]->boneSplines[199].count, 4) << "the last bone is fed like the first";
}

// ------------------------------------------------------------ keeping apart

// Both stand still at their start places from 2 s on.
class SpacingTest : public GameSeqTest {
protected:
    void SetUp() override {
        GameSeqTest::SetUp();
        const Key still = Key(1).Pos(0, 0, 0);
        const std::string idle = Kaf({Key(0.05f).Pos(0, 0, 0), still, still, still, still});
        fixture::WriteFighter("kira", fixture::IDLE_TREE, {{"idle.kaf", idle}});
        fixture::WriteFighter("mori", fixture::IDLE_TREE, {{"idle.kaf", idle}});
    }
};

TEST_F(SpacingTest, TwoStillFightersOverlappingArePushedApartEquallyToExactly30) {
    Start();
    Run(1500, 2500);
    Teleport(0, Vector3(0, 0, -50));  // to z = 10
    Teleport(1, Vector3(0, 0, 50));   // to z = -10
    Frame(2510);
    Frame(2520);
    EXPECT_FLOAT_EQ(fighter[0]->position.z, 15);
    EXPECT_FLOAT_EQ(fighter[1]->position.z, -15);
    EXPECT_EQ(fighter[0]->position.x, 0);
    EXPECT_EQ(fighter[1]->position.x, 0);
    EXPECT_FLOAT_EQ(seq[0]->basePos.z, 15) << "the rest of the move is moved with them";
    EXPECT_FLOAT_EQ(seq[1]->basePos.z, -15);
    Run(2530, 4000);
    EXPECT_FLOAT_EQ(fighter[0]->position.z - fighter[1]->position.z, 30);
}

TEST_F(SpacingTest, TwoFightersOnTheVerySameSpotGoBackTowardsTheirStartPlaces) {
    Start();
    Run(1500, 2500);
    Teleport(0, Vector3(5, 0, -60));  // both to (5, 0, 0)
    Teleport(1, Vector3(5, 0, 60));
    Frame(2510);
    Frame(2520);
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(std::isnan(fighter[i]->position.x) || std::isnan(fighter[i]->position.z));
        EXPECT_FLOAT_EQ(fighter[i]->position.x, 5);
    }
    EXPECT_FLOAT_EQ(fighter[0]->position.z, 15);
    EXPECT_FLOAT_EQ(fighter[1]->position.z, -15);
}

TEST_F(SpacingTest, AWalkingFighterDisplacesAStandingOneFully) {
    std::vector<Key> walk = {Key(0.05f).Pos(0, 0, 0)};
    for (int k = 1; k <= 10; ++k) walk.push_back(Key(1).Pos(0, 0, -50.0f * k));
    fixture::WriteFighter("kira", fixture::IDLE_TREE, {{"idle.kaf", Kaf(walk)}});
    Start();
    Run(500, 1500);
    ASSERT_GT(fighter[0]->position.z - fighter[1]->position.z, 30) << "not met yet";
    const float walkerAlone = seq[0]->rootSpline.EvalPos().z;
    Run(1510, 4000);
    EXPECT_EQ(seq[0]->basePos, Vector3(0, 0, 60)) << "the walker is never held back";
    EXPECT_LT(fighter[0]->position.z, walkerAlone - 100);
    EXPECT_NEAR(fighter[0]->position.z - fighter[1]->position.z, 30, 1e-3f);
    EXPECT_LT(seq[1]->basePos.z, -60 - 100) << "the one standing is carried along";
}

// ------------------------------------------------------------ the arena

TEST_F(GameSeqTest, TheArenaEdgePutsAFighterBackDuringAMove) {
    std::vector<Key> walk = {Key(0.05f).Pos(0, 0, 0)};
    for (int k = 1; k <= 10; ++k) walk.push_back(Key(1).Pos(0, 0, -50.0f * k));
    fixture::WriteFighter("kira", fixture::IDLE_TREE, {{"idle.kaf", Kaf(walk)}});
    fixture::WriteFighter("mori");
    fixture::WriteScene("ring", 200, -150);
    Start("ring");
    seq[1]->basePos = Vector3(-60, 0, 0);  // out of the walker's way
    Run(100, 5000);
    EXPECT_FLOAT_EQ(fighter[0]->position.z, -100) << "walked 250 past the middle, kept on the edge";
    EXPECT_EQ(fighter[0]->position.y, 0);
    EXPECT_FALSE(seq[0]->fallen || seq[0]->lost);
    EXPECT_FLOAT_EQ(fighter[1]->position.x, -60);
}

TEST_F(GameSeqTest, AFighterThrownOutDuringAReactionFallsToTheArenaDepthAndLoses) {
    fixture::WriteFighter("kira",
                          "stand idle.kaf thrown.kaf 1 ARB -\n"
                          "  * idle.kaf - 1 ARB -\n"
                          "    * @ 1\n");
    WriteTarget(0);
    fixture::WriteScene("ring", 200, -150);
    Start("ring");
    Run(100, 1000);
    MarkHit(*seq[1], seq[0]->moveTree->nodes[0]->oppmove);
    Run(1010, 1300);
    EXPECT_TRUE(seq[1]->inReaction);
    EXPECT_TRUE(seq[1]->fallen) << "thrown beyond z = -100";
    EXPECT_TRUE(seq[1]->lost);
    EXPECT_FALSE(seq[1]->landed);
    EXPECT_LT(fighter[1]->position.y, 0);
    EXPECT_LT(fighter[1]->position.z, -100) << "no edge holds a fighter thrown out";

    Run(1310, 3000);
    EXPECT_TRUE(seq[1]->landed);
    EXPECT_FLOAT_EQ(seq[1]->fallDepth, -150);
    EXPECT_FLOAT_EQ(fighter[1]->position.y, -150);
    EXPECT_FALSE(seq[1]->inReaction) << "the reaction ended; the fighter stays down";
    EXPECT_FALSE(seq[0]->lost);
}

// ------------------------------------------------------------ blows

struct BlowCase {
    const char* name;
    int torsoFlags;
    bool hit;
    bool guarded;
};

class BlowTest : public GameSeqTest, public ::testing::WithParamInterface<BlowCase> {};

TEST_P(BlowTest, TheTouchedPartsFlagsDecideBetweenHitAndBlock) {
    const BlowCase& c = GetParam();
    WritePuncher();
    WriteTarget(c.torsoFlags);
    Start();
    StandClose(*seq[0], *seq[1]);
    bool found = false;
    for (int t = 500; t <= 1700 && !found; t += 10) {
        At(t);
        seq[0]->Update();
        seq[1]->Update();
        found = seq[0]->CheckCollision();
    }
    EXPECT_EQ(found, c.hit || c.guarded);
    EXPECT_EQ(seq[1]->hitPending, c.hit);
    EXPECT_EQ(seq[1]->guardHitPending, c.guarded);
    EXPECT_EQ(seq[0]->hitDone, found);
    if (!found) return;
    const MTNode* blow = seq[0]->nodeWindow[2];
    ASSERT_NE(blow, nullptr);
    EXPECT_EQ(seq[1]->hitObject, static_cast<Object*>(fighter[1]->bones[TORSO]));
    EXPECT_EQ(seq[1]->hitBranch, blow->branch);
    EXPECT_EQ(seq[1]->hitPoint, fighter[0]->bones[ARM]->contact);
    EXPECT_EQ(seq[1]->hitAnim, c.hit ? blow->oppmove : nullptr) << "a block names no reaction";
}

INSTANTIATE_TEST_SUITE_P(Blows, BlowTest,
                         ::testing::Values(BlowCase{"vulnerable", 2, true, false},
                                           BlowCase{"vulnerableAndGuarding", 2 | 8, true, false},
                                           BlowCase{"guarding", 8, false, true},
                                           BlowCase{"neither", 0, false, false},
                                           BlowCase{"onlyTrailing", 4, false, false}),
                         [](const ::testing::TestParamInfo<BlowCase>& info) {
                             return info.param.name;
                         });

TEST_F(GameSeqTest, AMoveLandsOnceHoweverLongItOverlaps) {
    WritePuncher();
    WriteTarget(2);
    Start();
    StandClose(*seq[0], *seq[1]);
    int landed = 0;
    for (int t = 500; t < 1650; t += 10) landed += Frame(t);
    EXPECT_EQ(landed, 1) << "the punch strikes in three keys, touching all the while";
    EXPECT_TRUE(seq[0]->hitDone);
    Frame(1660);  // the next move, getting ready, has fed its frame 1
    EXPECT_FALSE(seq[0]->hitDone);
    landed = 0;
    for (int t = 1670; t < 3500; t += 10) landed += Frame(t);
    EXPECT_EQ(landed, 1) << "the next punch lands again";
}

TEST_F(GameSeqTest, WhenBothStrikeAtOnceBothBlowsLand) {
    const Key strike = Key(0.2f).Pos(0, 0, 0).Bone(TORSO, Vector3(), 2).Bone(ARM, Vector3(), 1);
    const std::string trade = Kaf({strike, strike, strike}, 10);
    for (const char* name : {"kira", "mori"}) {
        fixture::WriteFighter(name, PUNCHING_TREE,
                              {{"ready.kaf", fixture::StillKaf(1, 2)}, {"punch.kaf", trade},
                               {"hit.kaf", fixture::StillKaf(0.5f, 2)}});
    }
    Start();
    StandClose(*seq[0], *seq[1]);
    int t = 500;
    for (; !seq[0]->hitDone && t < 1700; t += 10) Frame(t);
    EXPECT_TRUE(seq[0]->hitDone);
    EXPECT_TRUE(seq[1]->hitDone) << "the second fighter's test in the same frame";
    EXPECT_TRUE(seq[0]->hitPending);
    EXPECT_TRUE(seq[1]->hitPending);
    Frame(t);
    EXPECT_EQ(seq[0]->lifeBar->value, 90);
    EXPECT_EQ(seq[1]->lifeBar->value, 90);
}

TEST_F(GameSeqTest, BonesBeyondTheFightersCountAreNeverTested) {
    WritePuncher();
    WriteTarget(2);
    Start();
    StandClose(*seq[0], *seq[1]);
    fighter[1]->nbones = TORSO;  // the torso is no longer counted
    Run(500, 1700);
    EXPECT_FALSE(seq[1]->hitPending);
    EXPECT_FALSE(seq[0]->hitDone);
}

TEST_F(GameSeqTest, AHitRestartsTheVictimOnItsReactionWithSparkleAndParticles) {
    WritePuncher(25);
    WriteTarget(0);
    Start();
    Run(500, 1100);  // the punch is under way
    Anim* reaction = seq[0]->nodeWindow[2]->oppmove;
    ASSERT_NE(reaction, nullptr);
    MarkHit(*seq[1], reaction);
    At(1110);
    seq[1]->Update();
    EXPECT_FALSE(seq[1]->hitPending);
    EXPECT_TRUE(seq[1]->inReaction);
    EXPECT_EQ(seq[1]->anim, reaction);
    EXPECT_EQ(seq[1]->lifeBar->value, 75) << "the attacker's move is worth 25";
    EXPECT_EQ(seq[1]->animStart, 1110) << "the reaction starts from the present pose";
    EXPECT_TRUE(seq[1]->sparkleOn);
    EXPECT_TRUE(seq[1]->particlesOn);
    int flying = 0;
    for (int i = 0; i < seq[1]->particles.count; ++i) flying += seq[1]->particles[i]->HasTimeLeft();
    EXPECT_EQ(flying, 30);

    Frame(1400);
    EXPECT_TRUE(seq[1]->sparkleOn);
    Frame(1420);
    EXPECT_FALSE(seq[1]->sparkleOn) << "the sparkle lasts 300 ms";

    // The reaction ends and the victim goes on at the branch the blow named.
    int t = 1430;
    for (; seq[1]->inReaction && t < 3000; t += 10) Frame(t);
    EXPECT_FALSE(seq[1]->inReaction);
    EXPECT_EQ(seq[1]->curNode, seq[1]->moveTree->nodes[0]);
}

TEST_F(GameSeqTest, AHitAndAGuardHitPendingTogetherTakeTwoFrames) {
    WritePuncher();
    WriteTarget(0);
    Start();
    Run(500, 1100);
    Anim* reaction = seq[0]->nodeWindow[2]->oppmove;
    MarkHit(*seq[1], reaction);
    seq[1]->guardHitPending = true;
    At(1110);
    seq[1]->Update();
    EXPECT_EQ(seq[1]->anim, reaction);
    EXPECT_FALSE(seq[1]->hitPending);
    EXPECT_TRUE(seq[1]->guardHitPending);

    TraceCapture trace;
    At(1120);
    seq[1]->Update();
    EXPECT_FALSE(seq[1]->guardHitPending);
    EXPECT_EQ(seq[1]->anim, seq[1]->moveTree->guardHit);
    EXPECT_TRUE(trace.Has("GUARD HIT\n"));
    EXPECT_EQ(seq[1]->lifeBar->value, 90) << "only the hit costs life";
}

TEST_F(GameSeqTest, ACrouchingFighterBlocksWithTheLowGuard) {
    fixture::WriteFighter("kira");
    fixture::WriteFighter("mori",
                          "crouch idle.kaf - 1 ARB D\n"
                          "  * idle.kaf - 1 ARB D\n"
                          "    * @ 1\n");
    Start();
    Run(10, 300);
    seq[1]->guardHitPending = true;
    seq[1]->hitBranch = "1";
    const float before = seq[1]->rootSpline.times[2];
    Frame(310);
    EXPECT_EQ(seq[1]->anim, seq[1]->moveTree->guardHitLow);
    EXPECT_TRUE(seq[1]->inReaction);
    EXPECT_EQ(seq[1]->lifeBar->value, 100);
    EXPECT_EQ(seq[1]->rootSpline.times[2], before) << "a block follows the keys already queued";
}

TEST_F(GameSeqTest, DamageBeyondTheRemainingLifeLeavesNoneAndLoses) {
    WritePuncher(30);
    WriteTarget(2);
    Start();
    seq[1]->lifeBar->value = 40;
    StandClose(*seq[0], *seq[1]);
    ::testing::internal::CaptureStderr();
    Run(500, 1650);
    const std::string first = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(seq[1]->lifeBar->value, 10);
    EXPECT_FALSE(seq[1]->lost);
    EXPECT_EQ(first, "");

    ::testing::internal::CaptureStderr();
    Run(1660, 3500);
    const std::string second = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(seq[1]->lifeBar->value, 0);
    EXPECT_TRUE(seq[1]->lost);
    EXPECT_EQ(second, "Player 1 loses!\n");
    EXPECT_FALSE(seq[0]->lost);
}

TEST_F(GameSeqTest, AMissingReactionRestartsTheCurrentMoveAndANullBranchStays) {
    WriteDefaultFighters();
    Start();
    Run(10, 300);
    Anim* before = seq[1]->anim;
    MarkHit(*seq[1], nullptr, nullptr);
    TraceCapture trace;
    At(310);
    seq[1]->Update();
    EXPECT_TRUE(trace.Has("ERROR: NO HIT ANIM\n"));
    EXPECT_EQ(seq[1]->anim, before);
    EXPECT_TRUE(seq[1]->inReaction);
    MTNode* const current = seq[1]->moveTree->current;
    Run(320, 2500);
    EXPECT_TRUE(trace.Has("ERROR: branch was NULL in MoveTree::GoToBranch()\n"));
    EXPECT_FALSE(seq[1]->inReaction);
    EXPECT_NE(seq[1]->anim, nullptr);
    EXPECT_NE(current, nullptr);
}

TEST_F(GameSeqTest, ANodeWithoutAMoveIsPassedOver) {
    fixture::WriteFighter("kira",
                          "stand idle.kaf - 1 ARB -\n"
                          "  * gone.kaf - 1 ARB -\n"
                          "    * @ 1\n",
                          {{"gone.kaf", fixture::StillKaf()}});
    fixture::WriteFighter("mori");
    Start();
    MTNode* gone = seq[0]->moveTree->nodes[0]->children[0];
    delete gone->move;
    gone->move = nullptr;  // as if it had failed to load
    TraceCapture trace;
    Run(10, 3000);
    EXPECT_TRUE(trace.Has("no anim\n"));
    ASSERT_NE(seq[0]->anim, nullptr);
    EXPECT_EQ(seq[0]->anim->name, "idle.kaf");
}

TEST_F(GameSeqTest, MovesThatTakeNoTimeDoNotHoldUpTheGame) {
    fixture::WriteFighter("kira", fixture::IDLE_TREE,
                          {{"idle.kaf", Kaf({Key(0).Pos(0, 0, 0), Key(0).Pos(0, 0, 0)})}});
    fixture::WriteFighter("mori");
    Start();
    Frame(100);
    Frame(110);
    EXPECT_EQ(seq[0]->anim->name, "idle.kaf");
    ExpectVectorNear(fighter[0]->position, Vector3(0, 0, 60), 1e-3f);
}

// ------------------------------------------------------------ commands

TEST_F(GameSeqTest, ACommandGivenDuringAMoveWithoutIntOrCenDecidesTheNextMove) {
    fixture::WriteFighter("kira",
                          "stand idle.kaf - 1 ARB -\n"
                          "  p punch.kaf hit.kaf 1 INT -\n"
                          "    * @ 1/*\n"
                          "  * idle.kaf - 1 ARB -\n"
                          "    * @ 1/*\n",
                          {{"punch.kaf", Punch()}});
    WriteTarget(0);
    Start();
    Frame(300);  // the root's idle is already heading to its last key: the default follows
    const MTNode* idle = seq[0]->curNode;
    ASSERT_EQ(Label(idle), "*");
    controller[0].Latch(Controller::CMD_P);
    Run(400, 1000, 100);
    EXPECT_EQ(seq[0]->curNode, idle) << "the running move cannot be interrupted";
    EXPECT_EQ(controller[0].ready, Controller::CMD_P) << "the command waits in the controller";
    Frame(1150);  // the idle heads to its last key
    EXPECT_EQ(Label(seq[0]->curNode), "p");
    EXPECT_EQ(seq[0]->anim->name, "punch.kaf");
    EXPECT_EQ(controller[0].ready, 0);
}

// The root idle may be interrupted; it heads to its last key from 1.05 s.
class InterruptTest : public GameSeqTest {
protected:
    void SetUp() override {
        GameSeqTest::SetUp();
        const Key still = Key(1).Pos(0, 0, 0);
        fixture::WriteFighter("kira",
                              "stand idle.kaf - 1 INT -\n"
                              "  p punch.kaf hit.kaf 1 ARB -\n"
                              "    * @ 1/*\n"
                              "  * idle.kaf - 1 INT -\n"
                              "    * @ 1/*\n",
                              {{"idle.kaf", Kaf({Key(0.05f).Pos(0, 0, 0), still, still})},
                               {"punch.kaf", Punch()}});
        WriteTarget(0);
        Start();
        Frame(300);
        ASSERT_EQ(seq[0]->curNode, seq[0]->moveTree->nodes[0]);
    }
};

TEST_F(InterruptTest, AnInterruptibleMoveGivesWayToTheCommandAtOnce) {
    controller[0].Latch(Controller::CMD_P);
    TraceCapture trace;
    Frame(400);
    EXPECT_EQ(Label(seq[0]->curNode), "p");
    EXPECT_EQ(seq[0]->anim->name, "punch.kaf");
    EXPECT_EQ(seq[0]->animStart, 400) << "the punch starts now, from the present pose";
    EXPECT_EQ(controller[0].ready, 0);
    EXPECT_TRUE(trace.Has("commands intr: p\n"));
    EXPECT_TRUE(trace.Has("anim set interrupted to punch.kaf\n"));
}

TEST_F(InterruptTest, AfterLosingInterruptionsAreRefusedButMovesStillFollowTheTree) {
    seq[0]->lost = true;
    controller[0].Latch(Controller::CMD_P);
    Frame(400);
    EXPECT_EQ(seq[0]->curNode, seq[0]->moveTree->nodes[0]);
    EXPECT_EQ(seq[0]->anim->name, "idle.kaf");
    EXPECT_EQ(controller[0].ready, 0) << "the command is taken all the same";
    Frame(1100);
    EXPECT_EQ(Label(seq[0]->curNode), "*") << "the idle ended and the tree went on";
}

TEST_F(InterruptTest, TheWinnerIsNotInterruptedEither) {
    seq[0]->won = true;
    controller[0].Latch(Controller::CMD_P);
    Frame(400);
    EXPECT_EQ(seq[0]->curNode, seq[0]->moveTree->nodes[0]);
}

TEST_F(InterruptTest, AFighterReelingFromABlowIsNotInterrupted) {
    MarkHit(*seq[0], seq[1]->moveTree->nodes[0]->move);
    Frame(400);
    controller[0].Latch(Controller::CMD_P);
    Frame(410);
    EXPECT_TRUE(seq[0]->inReaction);
    EXPECT_EQ(controller[0].ready, Controller::CMD_P);
}

// ------------------------------------------------------------ a new bout

TEST_F(GameSeqTest, ResetStartsANewBoutAtTheStartPlaces) {
    fixture::WriteFighter("kira",
                          "stand idle.kaf thrown.kaf 1 ARB -\n"
                          "  * idle.kaf - 1 ARB -\n"
                          "    * @ 1\n");
    WriteTarget(0);
    fixture::WriteScene("ring", 200, -150);
    Start("ring");
    Run(100, 1000);
    MarkHit(*seq[1], seq[0]->moveTree->nodes[0]->oppmove);
    seq[1]->lifeBar->value = 5;
    Run(1010, 3000);
    ASSERT_TRUE(seq[1]->lost && seq[1]->landed);

    seq[1]->won = true;
    seq[1]->Reset();
    EXPECT_FALSE(seq[1]->lost || seq[1]->won || seq[1]->fallen || seq[1]->landed);
    EXPECT_EQ(seq[1]->fallDepth, 0);
    EXPECT_EQ(seq[1]->lifeBar->value, 100);
    EXPECT_EQ(seq[1]->anim, seq[1]->moveTree->nodes[0]->move);
    EXPECT_EQ(seq[1]->curNode, seq[1]->moveTree->current);
    EXPECT_EQ(seq[1]->nextFrame, 0);
    EXPECT_EQ(seq[1]->animStart, 3000) << "the bout starts at the present time";
    EXPECT_EQ(seq[1]->nodeWindow[2], nullptr);
    EXPECT_TRUE(seq[1]->started) << "the first move of a later bout is placed like any other";
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_EQ(seq[1]->rootSpline.pos[slot], Vector3(0, -6, -60));
        EXPECT_EQ(seq[1]->rootSpline.rot[slot], Vector3(0, 3.14159f, 0));
    }
    EXPECT_EQ(fighter[1]->position, Vector3(0, 0, 0));

    Run(3010, 4500);
    EXPECT_NEAR(fighter[1]->position.z, -60, 1e-3f) << "back at its start place";
    EXPECT_NEAR(fighter[1]->position.y, 0, 1e-3f);
}

}  // namespace

namespace {

// ------------------------------------------------------------ drawing

class GameSeqDrawTest : public MatchFixture<GLTest> {};

TEST_F(GameSeqDrawTest, EffectsAndTheLifeBarAreDrawnWithoutTouchingTheDepthBuffer) {
    WriteDefaultFighters();
    Start();
    Run(500, 1000);
    MarkHit(*seq[0], seq[0]->moveTree->guardHit);
    Frame(1010);
    ASSERT_TRUE(seq[0]->sparkleOn && seq[0]->particlesOn);

    Display& display = *System::instance()->display;
    display.width = GLTest::WIDTH;
    display.height = GLTest::HEIGHT;
    Camera camera(Vector3(0, 40, 200), Vector3(0, 40, 0), Vector3(0, 1, 0), 0);
    display.SetCamera(&camera);
    glViewport(0, 0, GLTest::WIDTH, GLTest::HEIGHT);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    seq[0]->Draw();

    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_EQ(depthWrites, GL_TRUE) << "depth writes are on again afterwards";
    float depth = 0;
    glReadPixels(GLTest::WIDTH / 2, GLTest::HEIGHT / 2, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f) << "the effects leave the depth buffer as it was";
    // Player 0's bar stands in the top left corner.
    unsigned char pixel[3] = {};
    glReadPixels(GLTest::WIDTH / 10, GLTest::HEIGHT - 30, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    EXPECT_GT(pixel[0] + pixel[1] + pixel[2], 0);
    display.camera = nullptr;
}

}  // namespace

namespace {

// A blow taken on the guard is heard as it lands, and only then: not again
// when the motion reaches the guard's first key, a segment or two later.
TEST_F(GameSeqTest, TheSoundOfABlowIsHeardOnceAsItLands) {
    wav::Write("sounds/clack.wav");
    fixture::WriteFighter("kira");
    fixture::WriteFighter("mori", fixture::IDLE_TREE,
                          {{"1_ghit.kaf", Kaf({Key(0.05f).Sound("clack.wav"), Key(0.2f)})}});
    Start();
    Sound::Manager* sounds = Sound::Manager::instance();
    sounds->deviceOpen = true;
    Run(10, 300);
    seq[1]->guardHitPending = true;
    Frame(310);
    const size_t atOnce = sounds->playing.size();
    Run(320, 2500);
    const size_t later = sounds->playing.size();
    sounds->deviceOpen = false;
    sounds->SetFormat(Sound::Manager::RATE, Sound::Manager::CHANNELS);
    EXPECT_EQ(atOnce, 1u);
    EXPECT_EQ(later, 1u);
}

}  // namespace
