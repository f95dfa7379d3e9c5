#include "anim/Sequencer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "anim/Anim.h"
#include "character/Person.h"
#include "core/Clock.h"
#include "core/Trace.h"
#include "frontend/Sound.h"
#include "match/ExplCyl.h"
#include "match/MatchHarness.h"
#include "match/Tracer.h"
#include "math/Camera.h"
#include "math/Matrix.h"
#include "render/Material.h"
#include "support/TraceCapture.h"
#include "support/WavFile.h"

namespace {

using fixture::ARM;
using fixture::HEAD;
using fixture::Key;
using fixture::Kaf;
using fixture::TORSO;

const float PI = 3.1415927f;
const float TWO_PI = 6.2831855f;

Matrix RotateXZY(const Vector3& r) {
    Matrix m;
    m.CreateRotateXZY(r);
    return m;
}

void ExpectMatrixNear(const Matrix& actual, const Matrix& expected) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], 1e-5f) << "element " << i;
}

Tracer* TracerOf(Person& fighter, int bone) {
    return static_cast<Tracer*>(static_cast<Object*>(fighter.tracers[bone]));
}

// Playing the fixture fighter "kira" (player 0) against a "mori" that stands
// still; only kira's sequencer is stepped unless a test says otherwise.
class PlaybackTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        EffectCamera();
        fixture::WriteFighter("mori");
    }
    void TearDown() override {
        System::instance()->display->camera = nullptr;
        MatchTest::TearDown();
    }
    void EffectCamera() { System::instance()->display->camera = &camera; }

    void Step(int ms) {
        At(ms);
        seq[0]->Update();
    }

    Camera camera;
};

// ------------------------------------------------------------ the base class

TEST_F(PlaybackTest, TheSequencerRegistersWithItsFighterAndStartsEmpty) {
    fixture::WriteFighter("kira");
    Ptr<Person> self = new Person("kira", 1);
    Ptr<Person> other = new Person("mori", 1);
    {
        Sequencer sequencer(self, other);
        EXPECT_EQ(self->sequencer, &sequencer);
        EXPECT_EQ(other->sequencer, nullptr);
        EXPECT_EQ(sequencer.anim, nullptr);
        EXPECT_FALSE(sequencer.hitPending);
        EXPECT_FALSE(sequencer.guardHitPending);
        EXPECT_EQ(sequencer.hitBranch, nullptr);
        EXPECT_EQ(sequencer.boneFlagsWindow[199][3], 0);
        sequencer.Update();  // does nothing

        Anim anim("characters/kira", "idle.kaf", fixture::BONES);
        anim.SetFrame(1);
        sequencer.nextFrame = 5;
        sequencer.SetAnim(&anim);
        EXPECT_EQ(sequencer.anim, &anim);
        EXPECT_EQ(anim.frame, 0) << "a new animation starts at its beginning";
        EXPECT_EQ(sequencer.nextFrame, 5) << "the caller decides where feeding resumes";
    }
    EXPECT_EQ(self->sequencer, nullptr) << "a fighter never points at a sequencer that is gone";
}

// ------------------------------------------------------------ feeding keys

TEST_F(PlaybackTest, KeysAlreadyBehindTheClockPlayInOneStepAndTheirEventsFireOnce) {
    fixture::WriteFighter("kira",
                          "stand intro.kaf - 1 ARB -\n"
                          "  * wait.kaf - 1 ARB -\n"
                          "    * @ 1\n",
                          {{"intro.kaf", Kaf({Key(0.1f), Key(0.1f),
                                              Key(0.1f).Flags(1 | 512).Sound("boom.wav")})},
                           {"wait.kaf", Kaf({Key(10), Key(10)})}});
    wav::Write("sounds/boom.wav");
    Sound::Manager* sounds = Sound::Manager::instance();
    sounds->playing.clear();
    sounds->positions.clear();
    sounds->deviceOpen = true;
    Start();
    TraceCapture trace;

    Step(350);  // all three keys of the intro lie in the past
    EXPECT_EQ(seq[0]->anim->name, "wait.kaf") << "the next move is chosen within the same step";
    EXPECT_EQ(Label(seq[0]->curNode), "*");
    EXPECT_EQ(seq[0]->nextFrame, 2);
    EXPECT_FLOAT_EQ(seq[0]->rootSpline.times[1], 0.3f);
    EXPECT_FLOAT_EQ(seq[0]->rootSpline.times[2], 10.3f) << "the wait is placed after the intro";
    EXPECT_EQ(seq[0]->animStart, 300);

    Step(360);
    Step(2000);
    EXPECT_EQ(sounds->playing.size(), 1u);
    EXPECT_EQ(seq[0]->explosions.count, 1);
    EXPECT_EQ(camera.shakeEnd, 350 + 600) << "shaken once, when the flagged key was reached";
    std::istringstream lines(trace.str());
    int shakes = 0;
    for (std::string line; std::getline(lines, line);) shakes += line == "Start SHAKE";
    EXPECT_EQ(shakes, 1);

    sounds->playing.clear();
    sounds->positions.clear();
    sounds->deviceOpen = false;
}

TEST_F(PlaybackTest, TheShakeFlagShakesTheCurrentCameraFor600Ms) {
    fixture::WriteFighter("kira", fixture::IDLE_TREE,
                          {{"idle.kaf", Kaf({Key(0.1f), Key(0.1f).Flags(1), Key(5)})}});
    Start();
    Camera other;
    Step(50);
    System::instance()->display->camera = &other;  // the camera of this frame
    Step(120);
    EXPECT_EQ(other.shakeLength, 600);
    EXPECT_EQ(other.shakeEnd, 120 + 600);
    EXPECT_EQ(camera.shakeEnd, 0) << "a camera no longer in use is left alone";
}

TEST_F(PlaybackTest, TheExplosionFlagStartsARingWhereTheFighterStands) {
    fixture::WriteFighter("kira", fixture::IDLE_TREE,
                          {{"idle.kaf", Kaf({Key(0.1f).Pos(0, 0, 0), Key(0.1f).Pos(0, 0, 0),
                                             Key(0.1f).Pos(0, 0, 0).Flags(512), Key(5)})}});
    Start();
    Step(150);
    const Vector3 standing = fighter[0]->position;
    Step(250);
    ASSERT_EQ(seq[0]->explosions.count, 1);
    const ExplCyl* ring = seq[0]->explosions[0];
    ExpectVectorNear(ring->position, standing, 1e-4f);
    EXPECT_EQ(ring->speed, 500);
    EXPECT_EQ(ring->maxRadius, 1000);
    ASSERT_NE(ring->material, nullptr);
    EXPECT_EQ(ring->material->fileName, "materials/explcyl.mat");

    // 500 units a second on the frame time: the ring is 1000 wide two
    // seconds later, and goes.
    Clock* clock = System::instance()->clock;
    clock->delta = 1250;
    Step(1500);
    EXPECT_EQ(seq[0]->explosions.count, 1) << "still growing";
    clock->delta = 800;
    Step(2300);
    EXPECT_EQ(seq[0]->explosions.count, 0) << "a ring at its full size is dropped";
}

TEST_F(PlaybackTest, AKeyWithoutPositionOrVelocityFliesOnBallistically) {
    fixture::WriteFighter("kira",
                          "stand jump.kaf - 1 ARB -\n"
                          "  * idle.kaf - 1 ARB -\n"
                          "    * @ 1\n",
                          {{"jump.kaf", Kaf({Key(0.5f).Pos(0, 0, 0).Vel(0, 0, 0), Key(0.5f)})}});
    Start();
    Step(750);  // a quarter of a second after the take-off
    const float fall = 0.5f * 578.7402f * 0.25f * 0.25f;
    ExpectVectorNear(fighter[0]->position, Vector3(0, -fall, 60), 1e-3f);
    EXPECT_NEAR(seq[0]->rootSpline.pos[2].y, -0.5f * 578.7402f * 0.25f, 1e-3f);
    EXPECT_NEAR(seq[0]->rootSpline.vel[2].y, -578.7402f * 0.5f, 1e-3f);
}

TEST_F(PlaybackTest, EveryBoneGetsTheNegatedSplineRotationAndTheRootItsPose) {
    const Vector3 torso(0.1f, 0.2f, 0.3f), arm(0.5f, 0, -0.25f);
    fixture::WriteFighter(
        "kira", fixture::IDLE_TREE,
        {{"idle.kaf", Kaf({Key(0.5f).Pos(0, 0, 0).Facing(0, 0.5f, 0).Bone(TORSO, torso, 0)
                               .Bone(ARM, arm, 0),
                           Key(0.5f).Pos(0, 0, 0).Facing(0, 0.5f, 0).Bone(TORSO, torso, 0)
                               .Bone(ARM, arm, 0),
                           Key(5)})}});
    Start();
    std::ostringstream timed;
    std::streambuf* savedTimer = timerout.rdbuf(timed.rdbuf());
    Step(500);  // exactly at the first key
    timerout.rdbuf(savedTimer);

    ExpectVectorNear(seq[0]->boneSplines[ARM].curRot, arm, 1e-5f);
    ExpectMatrixNear(fighter[0]->bones[TORSO]->rotation, RotateXZY(-torso));
    ExpectMatrixNear(fighter[0]->bones[ARM]->rotation, RotateXZY(-arm));
    // The head turns itself towards the opponent whatever it is given.
    ExpectVectorNear(fighter[0]->position, Vector3(0, 0, 60), 1e-4f);
    ExpectMatrixNear(fighter[0]->rotation, RotateXZY(Vector3(0, 0.5f, 0)));
    EXPECT_NE(timed.str().find("person update:"), std::string::npos);
}

TEST_F(PlaybackTest, TheRootAndTheWeaponsAreBroughtBackToOneTurnWhenAMoveBegins) {
    const Vector3 wound(7, 0, -7);
    fixture::WriteFighter("kira",
                          "stand wind.kaf - 1 ARB -\n"
                          "  * idle.kaf - 1 ARB -\n"
                          "    * @ 1\n",
                          {{"wind.kaf", Kaf({Key(0.05f).Bone(TORSO, wound, 0).Bone(ARM, wound, 0)
                                                 .Bone(HEAD, wound, 0),
                                             Key(0.5f).Bone(TORSO, wound, 0).Bone(ARM, wound, 0)
                                                 .Bone(HEAD, wound, 0)})}});
    Start();
    Step(300);  // the wind-up's last key is the target: idle has begun
    ASSERT_EQ(seq[0]->anim->name, "idle.kaf");
    for (int bone : {TORSO, ARM}) {
        const CSpline& spline = seq[0]->boneSplines[bone];
        EXPECT_NEAR(spline.rot[1].x, 7 - TWO_PI, 1e-5f) << "bone " << bone;
        EXPECT_NEAR(spline.rot[2].x, 7 - TWO_PI, 1e-5f) << "bone " << bone;
        EXPECT_NEAR(spline.rot[2].z, TWO_PI - 7, 1e-5f) << "bone " << bone;
        for (int slot = 0; slot < 4; ++slot) {
            EXPECT_LE(std::fabs(spline.rot[slot].x), PI) << "bone " << bone << " slot " << slot;
        }
    }
    EXPECT_FLOAT_EQ(seq[0]->boneSplines[HEAD].rot[2].x, 7) << "only the root and weapons wrap";
}

TEST_F(PlaybackTest, ATracerRunsWhileTheKeyAheadHasTheTracerBit) {
    fixture::WriteFighter(
        "kira", fixture::IDLE_TREE,
        {{"idle.kaf", Kaf({Key(0.1f), Key(0.1f).Bone(ARM, Vector3(), 4),
                           Key(0.1f).Bone(ARM, Vector3(), 4 | 1), Key(0.1f), Key(5)})}});
    Start();
    Tracer* arm = TracerOf(*fighter[0], ARM);
    Step(50);
    EXPECT_FALSE(arm->active);
    Step(150);  // heading to the key at 0.2
    EXPECT_TRUE(arm->active);
    Step(250);
    EXPECT_TRUE(arm->active);
    Step(350);  // heading to the key at 0.4, whose arm has no trail
    EXPECT_FALSE(arm->active);
    EXPECT_FALSE(TracerOf(*fighter[0], TORSO)->active);
}

// ------------------------------------------------------------ facing

struct FacingCase {
    const char* name;
    float yaw;          // the fighter's facing before the move
    Vector3 opponent;   // where the opponent stands; the fighter is at (0, 0, 60)
    float expected;     // the facing the move starts with
};

class CenteringTest : public PlaybackTest,
                      public ::testing::WithParamInterface<FacingCase> {};

TEST_P(CenteringTest, ACentringMoveFacesTheOpponentTurningAtMostHalfATurn) {
    const FacingCase& c = GetParam();
    // The idle ends once its last key is the target, at 1.05 s; by then the
    // fighter has stood still at its start place for half a second.
    const Key still = Key(0.5f).Pos(0, 0, 0).Facing(0, c.yaw, 0);
    fixture::WriteFighter("kira",
                          "stand idle.kaf - 1 ARB -\n"
                          "  * turn.kaf - 1 CEN -\n"
                          "    * @ 1\n",
                          {{"idle.kaf", Kaf({Key(0.05f).Pos(0, 0, 0).Facing(0, c.yaw, 0), still,
                                             still, still})},
                           {"turn.kaf", fixture::StillKaf(10)}});
    Start();
    fighter[1]->SetPosition(c.opponent);
    Step(1000);
    ExpectVectorNear(fighter[0]->position, Vector3(0, 0, 60), 1e-4f);
    Step(1200);  // the idle's last key is the target: the turn begins
    ASSERT_EQ(seq[0]->anim->name, "turn.kaf");
    EXPECT_NEAR(seq[0]->baseRot.y, c.expected, 1e-5f);
    EXPECT_LE(std::fabs(seq[0]->baseRot.y - c.yaw), PI + 1e-5f);
    EXPECT_NEAR(seq[0]->rootSpline.rot[3].y, c.expected, 1e-5f) << "the keys carry the turn";
}

INSTANTIATE_TEST_SUITE_P(
    Playback, CenteringTest,
    ::testing::Values(FacingCase{"ahead", 0, Vector3(0, 0, -60), 0},
                      FacingCase{"aheadAfterAFullTurn", 6, Vector3(0, 0, -60), TWO_PI},
                      FacingCase{"right", 6, Vector3(60, 0, 60), PI / 2 + TWO_PI},
                      FacingCase{"left", 0, Vector3(-60, 0, 60), -PI / 2},
                      FacingCase{"behindFromTheLeft", -3, Vector3(0, 0, 120), -PI}),
    [](const ::testing::TestParamInfo<FacingCase>& info) { return info.param.name; });

TEST_F(PlaybackTest, AMoveWithoutCentringKeepsTheFacingItEndedWith) {
    fixture::WriteFighter("kira",
                          "stand idle.kaf - 1 ARB -\n"
                          "  * turn.kaf - 1 INT -\n"
                          "    * @ 1\n",
                          {{"idle.kaf", Kaf({Key(0.05f).Facing(0, 2, 0), Key(0.5f).Facing(0, 2, 0)})},
                           {"turn.kaf", fixture::StillKaf(10)}});
    Start();
    fighter[1]->SetPosition(Vector3(0, 0, -60));
    Step(300);
    ASSERT_EQ(seq[0]->anim->name, "turn.kaf");
    EXPECT_FLOAT_EQ(seq[0]->baseRot.y, 2);
}

}  // namespace
