#include "anim/Sequencer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "anim/Anim.h"
#include "match/ExplCyl.h"
#include "match/Tracer.h"
#include "math/Camera.h"
#include "support/MatchHarness.h"
#include "support/SoundGuard.h"
#include "support/WavFile.h"

namespace {

using fixture::ARM;
using fixture::HEAD;
using fixture::Key;
using fixture::Kaf;
using fixture::TORSO;

const float PI = 3.1415927f;

// A tree that plays `first` once and then `then`, a move of this flag, over and over.
std::string OnceThen(const char* first, const char* then = "idle.kaf", const char* flag = "ARB") {
    return std::string("stand ") + first + " - 1 ARB -\n  * " + then + " - 1 " + flag + " -\n    * @ 1\n";
}

// Playing the fixture fighter "kira" (player 0) against a "mori" that stands
// still; only kira's sequencer is stepped.
class PlaybackTest : public MatchTest {
protected:
    PlaybackTest() {
        display->camera = &camera;
        fixture::WriteFighter("mori");
    }
    void Step(int ms) {
        At(ms);
        seq[0]->Update();
    }
    Display* display = System::instance()->display;
    Camera camera;
};

TEST_F(PlaybackTest, KeysAlreadyBehindTheClockPlayInOneStepAndTheirEventsFireOnce) {
    fixture::WriteFighter("kira", OnceThen("intro.kaf", "wait.kaf"),
                          {{"intro.kaf", Kaf({Key(0.1f), Key(0.1f), Key(0.1f).Flags(1 | 512).Sound("boom.wav")})},
                           {"wait.kaf", Kaf({Key(10), Key(10)})}});
    wav::Write("sounds/boom.wav");
    const SoundGuard sounds;
    Start();
    Step(350);  // all three keys of the intro lie in the past
    EXPECT_TRUE(seq[0]->anim->name == "wait.kaf" && seq[0]->rootSpline.times[2] == 10.3f && seq[0]->animStart == 300)
        << "the next move is chosen within the same step and placed after the intro";
    Step(360);
    Step(2000);
    EXPECT_TRUE(sounds.manager->playing.size() == 1u && seq[0]->explosions.count == 1 && camera.shakeEnd == 350 + 600)
        << "heard, exploded and shaken once, when the flagged key was reached";
}

TEST_F(PlaybackTest, FrameEventsShakeTheCameraInUseAndStartARingWhereTheFighterStands) {
    fixture::WriteFighter("kira", fixture::IDLE_TREE,
                          {{"idle.kaf", Kaf({Key(0.1f).Pos(0, 0, 0), Key(0.1f).Pos(0, 0, 0).Flags(1),
                                             Key(0.1f).Pos(0, 0, 0).Flags(512), Key(5)})}});
    Start();
    Camera other;
    Step(50);
    display->camera = &other;  // the camera of this frame
    Step(120);
    EXPECT_TRUE(other.shakeEnd == 120 + 600 && camera.shakeEnd == 0) << "a camera no longer in use is left alone";
    const Vector3 standing = fighter[0]->position;
    Step(250);
    ASSERT_EQ(seq[0]->explosions.count, 1);
    EXPECT_TRUE(Near(seq[0]->explosions[0]->position, standing));
    clock.clock.delta = 2050;  // 500 units a second: past its 1000 in one frame
    Step(2300);
    EXPECT_EQ(seq[0]->explosions.count, 0) << "a ring at its full size is dropped";
}

TEST_F(PlaybackTest, TheRootAndTheWeaponsAreBroughtBackToOneTurnWhenAMoveBegins) {
    const Vector3 wound(7, 0, -7);
    const auto key = [&](float s) { return Key(s).Bone(TORSO, wound, 0).Bone(ARM, wound, 0).Bone(HEAD, wound, 0); };
    fixture::WriteFighter("kira", OnceThen("wind.kaf"), {{"wind.kaf", Kaf({key(0.05f), key(0.5f)})}});
    Start();
    Step(300);  // the wind-up's last key is the target: idle has begun
    ASSERT_EQ(seq[0]->anim->name, "idle.kaf");
    for (int bone : {TORSO, ARM}) {
        const CSpline& spline = seq[0]->boneSplines[bone];
        EXPECT_TRUE(Near(spline.rot[2], Vector3(7 - 2 * PI, 0, 2 * PI - 7), 1e-5f)) << bone;
        for (int slot = 0; slot < 4; ++slot) EXPECT_LE(std::fabs(spline.rot[slot].x), PI) << bone;
    }
    EXPECT_FLOAT_EQ(seq[0]->boneSplines[HEAD].rot[2].x, 7) << "only the root and weapons wrap";
}

TEST_F(PlaybackTest, ATracerRunsWhileTheKeyAheadHasTheTracerBit) {
    fixture::WriteFighter(
        "kira", fixture::IDLE_TREE,
        {{"idle.kaf", Kaf({Key(0.1f), Key(0.1f).Bone(ARM, Vector3(), 4),
                           Key(0.1f).Bone(ARM, Vector3(), 4 | 1), Key(0.1f), Key(5)})}});
    Start();
    const auto* arm = static_cast<const Tracer*>(static_cast<Object*>(fighter[0]->tracers[ARM]));
    for (const int ms : {50, 150, 250, 350}) {
        Step(ms);
        EXPECT_EQ(arm->active, ms == 150 || ms == 250) << ms;
    }
}

// The idle ends once its last key is the target, at 1.05 s; by then the
// fighter has stood still at its start place (0, 0, 60) for half a second.
TEST_F(PlaybackTest, ACentringMoveFacesTheOpponentTurningAtMostHalfATurn) {
    const struct {
        float yaw;         // the fighter's facing before the move
        Vector3 opponent;  // where the opponent stands
        const char* flag;  // of the move that follows
        float expected;    // the facing the move starts with
    } cases[] = {
        {0, {0, 0, -60}, "CEN", 0},
        {6, {0, 0, -60}, "CEN", 2 * PI},
        {6, {60, 0, 60}, "CEN", PI / 2 + 2 * PI},
        {0, {-60, 0, 60}, "CEN", -PI / 2},
        {-3, {0, 0, 120}, "CEN", -PI},
        {2, {0, 0, -60}, "INT", 2},  // without centring the facing stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.yaw);
        const Key still = Key(0.5f).Pos(0, 0, 0).Facing(0, c.yaw, 0);
        fixture::WriteFighter("kira", OnceThen("idle.kaf", "turn.kaf", c.flag),
                              {{"idle.kaf", Kaf({Key(0.05f).Pos(0, 0, 0).Facing(0, c.yaw, 0),
                                                 still, still, still})},
                               {"turn.kaf", fixture::StillKaf(10)}});
        At(0);
        Start();
        fighter[1]->SetPosition(c.opponent);
        Step(1000);
        Step(1200);  // the idle's last key is the target: the turn begins
        ASSERT_EQ(seq[0]->anim->name, "turn.kaf");
        EXPECT_TRUE(std::fabs(seq[0]->baseRot.y - c.expected) < 1e-5f &&
                    std::fabs(seq[0]->rootSpline.rot[3].y - c.expected) < 1e-5f) << "the keys carry the turn";
    }
}

}  // namespace
