#include "anim/Anim.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "support/ScratchDir.h"
#include "support/TraceCapture.h"
#include "support/WavFile.h"
#include "anim/KeyFrame.h"
#include "frontend/Sound.h"

namespace {

using AnimDeathTest = ScratchDirTest;

// With the sounds the animations below name.
class AnimTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        for (const std::string& name : {std::string("whoosh"), std::string("hit"), std::string(39, 's')}) {
            wav::Write("sounds/" + name);
        }
    }
};

const char* const DIR = "characters/kira";

testing::AssertionResult Same(const Vector3& v, float x, float y, float z) {
    const auto near = [](float a, float b) { return std::fabs(a - b) <= 1e-5f * (1 + std::fabs(b)); };
    if (near(v.x, x) && near(v.y, y) && near(v.z, z)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << v.x << ", " << v.y << ", " << v.z
                                       << ") is not (" << x << ", " << y << ", " << z << ")";
}

// Every optional clause of a version-2 file, for a skeleton of three bones.
const char* const FULL =
    "version 2\n"
    "damage 12\n"
    "tracerindex 3\n"
    "tracerlength 25.5\n"
    "hitcolor 1 0.5 0\n"
    "2\n"
    "soundname whoosh\n"
    "camerapos 1 2 3\n"
    "flags 513\n"
    "0.25\n"
    "pos 10.75 20.5 -30.875\n"
    "vel 1 2 3\n"
    "facing 0 1.5 0\n"
    "damage 7.5\n"
    "0 0.125 0.25 0.375 2 bpos 4 5 6\n"
    "1 1 1 1 9\n"
    "-1\n"
    "flags 0\n"
    "0.5\n"
    "2 0 0.5 0 4\n"
    "-1\n";

TEST_F(AnimTest, VersionOneFileStartsWithTheFrameCount) {
    Write("characters/kira/walk.kaf",
          "2\n"
          "0.25\n0 1 2 3 1\n1 4 5 6 2\n-1\n"
          "0.5\n1 7 8 9 8\n-1\n");
    Anim anim(DIR, "walk.kaf", 3);
    EXPECT_EQ(anim.name, "walk.kaf");
    EXPECT_EQ(anim.nbones, 3);
    ASSERT_EQ(anim.nframes, 2);
    EXPECT_EQ(anim.damage, 0);
    EXPECT_EQ(anim.tracerindex, 0);
    EXPECT_FLOAT_EQ(anim.tracerlength, 10.0f);
    EXPECT_FALSE(anim.hasHitColor);
    EXPECT_FALSE(anim.hasTracer);
    EXPECT_EQ(anim.flags[0], 0u);
    EXPECT_FALSE(anim.hasCameraPos[1]);

    const KeyFrame& first = *anim.frames[0];
    EXPECT_TRUE(Same(first.rot[0], 1, 2, 3));
    EXPECT_EQ(first.boneFlags[0], 1);
    EXPECT_TRUE(Same(first.rot[1], 4, 5, 6));
    EXPECT_TRUE(Same(first.rot[2], 0, 0, 0));

    const KeyFrame& second = *anim.frames[1];
    EXPECT_TRUE(Same(second.rot[0], 1, 2, 3)) << "a bone the frame does not list keeps its pose";
    EXPECT_EQ(second.boneFlags[0], 1);
    EXPECT_TRUE(Same(second.rot[1], 7, 8, 9));
    EXPECT_EQ(second.boneFlags[1], 8);

    EXPECT_FLOAT_EQ(first.absTime, 0.25f);
    EXPECT_FLOAT_EQ(second.absTime, 0.75f);
    EXPECT_FLOAT_EQ(anim.length, 0.75f);
}

TEST_F(AnimTest, AVersionLineGivingOneIsFollowedByTheFrameCount) {
    Write("characters/kira/walk.kaf", "version 1\n1\n0.25\n0 1 2 3 4\n-1\n");
    Anim anim(DIR, "walk.kaf", 1);
    ASSERT_EQ(anim.nframes, 1);
    EXPECT_TRUE(Same(anim.frames[0]->rot[0], 1, 2, 3));
    EXPECT_TRUE(anim.hasTracer) << "bone flag 4 trails a tracer";
    EXPECT_FLOAT_EQ(anim.tracerlength, 10.0f);
}

TEST_F(AnimTest, VersionTwoFileReadsEveryClause) {
    Write("characters/kira/punch.kaf", FULL);
    TraceCapture trace;
    Anim anim(DIR, "punch.kaf", 3);
    EXPECT_TRUE(trace.Has("Attempting to open punch.kaf"));
    EXPECT_TRUE(trace.Has("nframes = 2"));

    EXPECT_EQ(anim.damage, 12);
    EXPECT_EQ(anim.tracerindex, 3);
    EXPECT_FLOAT_EQ(anim.tracerlength, 25.5f);
    ASSERT_TRUE(anim.hasHitColor);
    EXPECT_TRUE(Same(anim.hitcolor, 1, 0.5f, 0));
    ASSERT_EQ(anim.nframes, 2);
    EXPECT_TRUE(anim.hasTracer);

    const KeyFrame& first = *anim.frames[0];
    EXPECT_TRUE(first.hasSound);
    EXPECT_EQ(first.soundName, "whoosh");
    ASSERT_NE(first.sound, nullptr);
    EXPECT_EQ(first.sound->length, 6u);
    ASSERT_TRUE(anim.hasCameraPos[0]);
    EXPECT_TRUE(Same(anim.cameraPos[0], 1, 2, 3));
    EXPECT_EQ(anim.flags[0], 513u);
    EXPECT_FLOAT_EQ(first.time, 0.25f);
    ASSERT_TRUE(first.hasPos);
    EXPECT_TRUE(Same(first.pos, 10.75f, 20.5f, -30.875f));
    ASSERT_TRUE(first.hasVel);
    EXPECT_TRUE(Same(first.vel, 1, 2, 3));
    ASSERT_TRUE(first.hasFacing);
    EXPECT_TRUE(Same(first.facing, 0, 1.5f, 0));
    ASSERT_TRUE(first.hasDamage);
    EXPECT_FLOAT_EQ(first.damage, 7.5f);
    EXPECT_TRUE(Same(first.rot[0], 0.125f, 0.25f, 0.375f));
    EXPECT_EQ(first.boneFlags[0], 2);
    ASSERT_TRUE(first.bposSet[0]);
    EXPECT_TRUE(Same(first.bpos[0], 4, 5, 6));
    EXPECT_FALSE(first.bposSet[1]);
    EXPECT_EQ(first.boneFlags[1], 9);

    const KeyFrame& second = *anim.frames[1];
    EXPECT_FALSE(second.hasSound) << "a sound belongs to its own frame";
    EXPECT_EQ(second.sound, nullptr);
    EXPECT_FALSE(anim.hasCameraPos[1]);
    EXPECT_EQ(anim.flags[1], 0u);
    EXPECT_FALSE(second.hasPos);
    EXPECT_FALSE(second.hasVel);
    EXPECT_FALSE(second.hasFacing);
    EXPECT_FALSE(second.hasDamage);
    EXPECT_TRUE(Same(second.pos, 10.75f, 20.5f, -30.875f)) << "values are inherited, flags are not";
    EXPECT_TRUE(Same(second.rot[0], 0.125f, 0.25f, 0.375f));
    EXPECT_TRUE(second.bposSet[0]);
    EXPECT_TRUE(Same(second.rot[2], 0, 0.5f, 0));
    EXPECT_EQ(second.boneFlags[2], 4);
    EXPECT_FLOAT_EQ(anim.length, 0.75f);
}

TEST_F(AnimTest, ASoundThatCannotBeLoadedLeavesTheFrameSilent) {
    Write("characters/kira/punch.kaf", "version 2 damage 1 tracerindex 0 tracerlength 1\n1\n"
                                       "soundname gone.wav flags 0 0.1 -1\n");
    TraceCapture trace;
    Anim anim(DIR, "punch.kaf", 1);
    EXPECT_FALSE(anim.frames[0]->hasSound);
    EXPECT_TRUE(trace.Has("ERROR: couldn't load sound sounds/gone.wav"));
}

TEST_F(AnimTest, LongSoundNamesAreCut) {
    const std::string name(50, 's');
    Write("characters/kira/punch.kaf", "version 2 damage 1 tracerindex 0 tracerlength 1\n1\n"
                                       "soundname " + name + " flags 0 0.1 -1\n");
    Anim anim(DIR, "punch.kaf", 1);
    EXPECT_EQ(anim.frames[0]->soundName, std::string(39, 's'));
    EXPECT_TRUE(anim.frames[0]->hasSound);
}

TEST_F(AnimTest, BadBoneLinesAreDroppedWithoutTouchingTheArrays) {
    Write("characters/kira/odd.kaf",
          "1\n0.25\n"
          "bpos 7 7 7\n"       // before any bone: logged, its numbers are not bone lines
          "1 1 2 3 4\n"
          "5 9 9 9 9 bpos 8 8 8\n"  // beyond the skeleton, and its bpos with it
          "-4 9 9 9 9\n"       // negative, but not the end marker
          "x 6 6 6 8\n"        // not a number: bone 0
          "-1\n");
    TraceCapture trace;
    Anim anim(DIR, "odd.kaf", 3);
    EXPECT_TRUE(trace.Has("KEYFRAME ERROR"));
    EXPECT_TRUE(trace.Has("characters/kira/odd.kaf:5: bone 5 is not in a skeleton of 3 bones"));
    EXPECT_TRUE(trace.Has("bone -4 is not in a skeleton"));
    const KeyFrame& key = *anim.frames[0];
    EXPECT_TRUE(Same(key.rot[1], 1, 2, 3));
    EXPECT_EQ(key.boneFlags[1], 4);
    EXPECT_TRUE(Same(key.rot[0], 6, 6, 6));
    EXPECT_EQ(key.boneFlags[0], 8);
    EXPECT_TRUE(Same(key.rot[2], 0, 0, 0));
    for (int b = 0; b < 3; ++b) EXPECT_FALSE(key.bposSet[b]) << b;
}

TEST_F(AnimTest, WrittenAnimationReadsBackWithPositionsTruncated) {
    Write("characters/kira/punch.kaf", FULL);
    Anim original(DIR, "punch.kaf", 3);
    ASSERT_TRUE(original.Save("characters/kira/copy.kaf"));
    Anim copy(DIR, "copy.kaf", 3);

    EXPECT_EQ(copy.damage, original.damage);
    EXPECT_EQ(copy.tracerindex, original.tracerindex);
    EXPECT_FLOAT_EQ(copy.tracerlength, original.tracerlength);
    EXPECT_TRUE(copy.hasHitColor);
    EXPECT_TRUE(Same(copy.hitcolor, 1, 0.5f, 0));
    ASSERT_EQ(copy.nframes, 2);
    EXPECT_TRUE(copy.hasTracer);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const KeyFrame& a = *original.frames[i];
        const KeyFrame& b = *copy.frames[i];
        EXPECT_EQ(copy.flags[i], original.flags[i]);
        EXPECT_EQ(copy.hasCameraPos[i], original.hasCameraPos[i]);
        EXPECT_EQ(b.hasSound, a.hasSound);
        EXPECT_EQ(b.soundName, a.soundName);
        EXPECT_FLOAT_EQ(b.time, a.time);
        EXPECT_FLOAT_EQ(b.absTime, a.absTime);
        EXPECT_EQ(b.hasPos, a.hasPos);
        EXPECT_EQ(b.hasVel, a.hasVel);
        EXPECT_EQ(b.hasFacing, a.hasFacing);
        EXPECT_EQ(b.hasDamage, a.hasDamage);
        EXPECT_TRUE(Same(b.vel, a.vel.x, a.vel.y, a.vel.z));
        EXPECT_TRUE(Same(b.facing, a.facing.x, a.facing.y, a.facing.z));
        EXPECT_FLOAT_EQ(b.damage, a.damage);
        for (int bone = 0; bone < 3; ++bone) {
            EXPECT_TRUE(Same(b.rot[bone], a.rot[bone].x, a.rot[bone].y, a.rot[bone].z));
            EXPECT_EQ(b.boneFlags[bone], a.boneFlags[bone]);
            EXPECT_EQ(b.bposSet[bone], a.bposSet[bone]);
            EXPECT_TRUE(Same(b.bpos[bone], a.bpos[bone].x, a.bpos[bone].y, a.bpos[bone].z));
        }
    }
    EXPECT_TRUE(Same(copy.cameraPos[0], 1, 2, 3));
    EXPECT_TRUE(Same(copy.frames[0]->pos, 10, 20.5f, -30)) << "x and z are written as whole numbers";
}

TEST_F(AnimTest, SavedFileHasTheVersionTwoLayout) {
    Write("characters/kira/walk.kaf", "1\n0.5\n0 1 0 0 1\n-1\n");
    Anim anim(DIR, "walk.kaf", 2);
    anim.frames[0]->hasPos = true;
    anim.frames[0]->pos = Vector3(-2.75f, 1.5f, 3.9f);
    ASSERT_TRUE(anim.Save("out.kaf"));
    std::stringstream text;
    text << std::ifstream("out.kaf").rdbuf();
    EXPECT_EQ(text.str(),
              "version\t2\n"
              "damage\t0\n"
              "tracerindex\t0\n"
              "tracerlength\t10\n"
              "\n1\n\n"
              "flags\t0\n"
              "0.5\n"
              "pos\t-2\t1.5\t3\t\n"
              "0\t\t1\t0\t0\t\t1\t\n"
              "1\t\t0\t0\t0\t\t0\t\n"
              "-1\n"
              "\n");
    EXPECT_FALSE(anim.Save("no/such/folder/out.kaf"));
}

TEST(KeyFrame, StreamOperatorsReadAndWriteTheText) {
    KeyFrame key(2);
    std::istringstream in("0.5 facing 0 1 0 1 4 5 6 3 bpos 1 2 3 -1 next");
    in >> key;
    ASSERT_TRUE(in);
    EXPECT_FLOAT_EQ(key.time, 0.5f);
    EXPECT_TRUE(key.hasFacing);
    EXPECT_TRUE(Same(key.rot[1], 4, 5, 6));
    EXPECT_TRUE(key.bposSet[1]);
    std::string rest;
    in >> rest;
    EXPECT_EQ(rest, "next") << "reading stops at the end marker";

    std::ostringstream out;
    out << key;
    EXPECT_EQ(out.str(),
              "0.5\n"
              "facing\t\t0\t1\t0\t\n"
              "0\t\t0\t0\t0\t\t0\t\n"
              "1\t\t4\t5\t6\t\t3\tbpos\t\t1\t2\t3\t\n"
              "-1\n");

    std::istringstream unfinished("0.5 0 1 2");
    unfinished >> key;
    EXPECT_TRUE(unfinished.fail());
}

// Four frames ending at 0.25, 0.5, 1.0 and 1.5 seconds.
const char* const FOUR =
    "4\n"
    "0.25 0 1 0 0 0 -1\n"
    "0.25 0 2 0 0 0 -1\n"
    "0.5 0 3 0 0 0 -1\n"
    "0.5 0 4 0 0 0 -1\n";

void ExpectWindow(const Anim& anim, int f0, int f1, int f2, int f3, int frame) {
    EXPECT_EQ(anim.frame0, f0);
    EXPECT_EQ(anim.frame1, f1);
    EXPECT_EQ(anim.frame2, f2);
    EXPECT_EQ(anim.frame3, f3);
    EXPECT_EQ(anim.frame, frame);
}

TEST_F(AnimTest, SetTimeAndSetFramePlaceTheWindow) {
    Write("characters/kira/four.kaf", FOUR);
    Anim anim(DIR, "four.kaf", 1);
    EXPECT_FLOAT_EQ(anim.length, 1.5f);
    {
        SCOPED_TRACE("SetTime");
        anim.SetTime(0);
        ExpectWindow(anim, 0, 0, 1, 2, 0);
        anim.SetTime(0.5f);
        ExpectWindow(anim, 0, 1, 2, 3, 1);
        anim.SetTime(1.2f);
        ExpectWindow(anim, 1, 2, 3, 3, 2);
        anim.SetTime(5);
        ExpectWindow(anim, 1, 2, 3, 3, 3);
    }
    {
        SCOPED_TRACE("SetFrame");
        anim.SetFrame(0);
        ExpectWindow(anim, 0, 0, 1, 2, 0);
        anim.SetFrame(2);
        ExpectWindow(anim, 1, 2, 3, 3, 2);
        anim.SetFrame(3);
        ExpectWindow(anim, 2, 3, 3, 3, 3);
    }

    Write("characters/kira/one.kaf", "1\n0.25 -1\n");
    Anim one(DIR, "one.kaf", 1);
    one.SetTime(0.1f);
    ExpectWindow(one, 0, 0, 0, 0, 0);
    Anim empty(0.0f, 0);
    empty.SetTime(1);
    ExpectWindow(empty, 0, 0, 0, 0, 0);

    anim.UpdateTimesBase0();
    EXPECT_FLOAT_EQ(anim.frames[0]->absTime, 0);
    EXPECT_FLOAT_EQ(anim.frames[3]->absTime, 1.25f);
    EXPECT_FLOAT_EQ(anim.length, 1.25f);
}

TEST_F(AnimTest, FlagOneShakesAndEffectOneExplodes) {
    EXPECT_TRUE(Anim::isFlag(1UL, 1));
    EXPECT_FALSE(Anim::isEffect(1UL, 1));
    EXPECT_TRUE(Anim::isEffect(512UL, 1));
    EXPECT_FALSE(Anim::isFlag(512UL, 1));

    Write("characters/kira/four.kaf", FOUR);
    Anim anim(DIR, "four.kaf", 1);
    anim.setFlag(1, 1, true);
    anim.setEffect(1, 1, true);
    EXPECT_EQ(anim.flags[1], 513u);
    EXPECT_TRUE(anim.isFlag(1, 1));
    EXPECT_TRUE(anim.isEffect(1, 1));
    EXPECT_FALSE(anim.isFlag(0, 1));
    anim.setFlag(1, 1, false);
    EXPECT_EQ(anim.flags[1], 512u);
    anim.toggleEffect(1, 1);
    anim.toggleFlag(1, 3);
    EXPECT_EQ(anim.flags[1], 4u);
    anim.toggleFlag(1, 3);
    anim.setEffect(1, 2, true);
    anim.setEffect(1, 2, true);
    EXPECT_EQ(anim.flags[1], 1024u);
}

TEST_F(AnimTest, EditingMovesFramesWithTheirEvents) {
    Write("characters/kira/three.kaf",
          "version 2 damage 0 tracerindex 0 tracerlength 1\n3\n"
          "flags 1\n0.25 0 1 0 0 0 -1\n"
          "soundname hit flags 0\n0.25 0 2 0 0 0 -1\n"
          "camerapos 5 5 5 flags 512\n0.5 0 3 0 0 0 -1\n");
    Anim anim(DIR, "three.kaf", 1);
    auto bone = [&anim](int i) { return anim.frames[i]->rot[0].x; };

    anim.InsertFrame(1);
    ASSERT_EQ(anim.nframes, 4);
    EXPECT_FLOAT_EQ(bone(1), 2) << "the new frame copies the pose it was inserted before";
    EXPECT_FALSE(anim.frames[1]->hasSound);
    EXPECT_EQ(anim.flags[1], 0u);
    EXPECT_FLOAT_EQ(bone(2), 2);
    EXPECT_TRUE(anim.frames[2]->hasSound) << "the sound stays with its frame";
    EXPECT_EQ(anim.flags[3], 512u);
    EXPECT_TRUE(anim.hasCameraPos[3]);
    EXPECT_FALSE(anim.hasCameraPos[2]);
    EXPECT_FLOAT_EQ(anim.length, 1.25f);

    anim.AddFrame();
    ASSERT_EQ(anim.nframes, 5);
    EXPECT_FLOAT_EQ(bone(4), 3);
    EXPECT_EQ(anim.flags[4], 0u);
    EXPECT_FALSE(anim.hasCameraPos[4]);
    EXPECT_FLOAT_EQ(anim.length, 1.75f);

    anim.DeleteFrame(0);
    anim.DeleteFrame(1);
    ASSERT_EQ(anim.nframes, 3);
    EXPECT_FLOAT_EQ(bone(0), 2);
    EXPECT_FALSE(anim.frames[0]->hasSound);
    EXPECT_EQ(anim.flags[1], 512u);
    EXPECT_EQ(anim.flags[2], 0u);
    EXPECT_FLOAT_EQ(anim.frames[0]->absTime, 0.25f);
    EXPECT_FLOAT_EQ(anim.length, 1.25f);

    for (int i = 0; i < 20; ++i) anim.AddFrame();
    EXPECT_EQ(anim.nframes, 23);
    EXPECT_FLOAT_EQ(bone(22), 3);
}

TEST_F(AnimDeathTest, MissingFileEndsWith255) {
    EXPECT_EXIT((TraceToStderr(), Anim(DIR, "nothing.kaf", 3)), testing::ExitedWithCode(255),
                "FILE NOT FOUND\ncharacters/kira/nothing.kaf: file not found");
}

TEST_F(AnimDeathTest, MalformedFilesEndWithStatus1) {
    const std::string header = "version 2\ndamage 5\ntracerindex 3\ntracerlength 2\n";
    const struct {
        std::string text;
        const char* expected;  // the trace message, then the line for standard error
    } cases[] = {
        {"version 2\ndmg 5\n",
         "Expected 'damage' in animfile\\.\n.*punch.kaf:2: expected 'damage', found 'dmg'"},
        {"version 2\ndamage 5\ntracer 3\n",
         "Expected 'tracerindex' in animfile\\.\n"
         "characters/kira/punch.kaf:3: expected 'tracerindex', found 'tracer'"},
        {"version 2\ndamage 5\ntracerindex 3\n",
         "Expected 'tracerlength' in animfile\\.\n"
         ".*punch.kaf:4: expected 'tracerlength', found the end of the file"},
        {"version 2\ndamage lots\n",
         "Expected 'damage' in animfile\\.\n.*:2: expected a whole number, found 'lots'"},
        {header + "1\n0.1 -1\n",
         "Expected 'flags' \\(or 'camerapos'\\) in animfile, frame 0\n"
         ".*punch.kaf:6: expected 'flags' \\(or 'camerapos'\\), found '0.1'"},
        {header + "1\nflags -1 0.1 -1\n", "Malformed flags in animfile, frame 0\n"},
        {"version 3\n2\n", "Unknown version in animfile\\.\n.*: expected version 1 or 2, found 3"},
        {"-3\n", "Bad frame count in animfile\\.\n.*:1: expected a frame count of 1 to 100000, "
                 "found '-3'"},
        {"100001\n", "found '100001'"},
        {"0\n", "found '0'"},
        {"", "found the end of the file"},
        {"1\n0.1 0 1 2 3 0\n",
         "Malformed keyframe in animfile, frame 0\n"
         ".*:3: expected a bone index or -1, found the end of the file"},
        {"2\n0.1 -1\n0.1 0 1 x 3 0 -1\n",
         "Malformed keyframe in animfile, frame 1\n.*:3: expected a number, found 'x'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Write("characters/kira/punch.kaf", c.text);
        EXPECT_EXIT((TraceToStderr(), Anim(DIR, "punch.kaf", 3)), testing::ExitedWithCode(1),
                    c.expected);
    }
}

TEST_F(AnimDeathTest, TooManyBonesEndWithStatus1) {
    Write("characters/kira/punch.kaf", "1\n0.1 -1\n");
    EXPECT_EXIT((TraceToStderr(), Anim(DIR, "punch.kaf", 201)), testing::ExitedWithCode(1),
                "Too many bones for animfile\\.\ncharacters/kira/punch.kaf: expected a fighter "
                "of at most 200 bones, found 201");
}

TEST_F(AnimDeathTest, DeletingTheLastFrameIsRefused) {
    Write("characters/kira/one.kaf", "1\n0.25 -1\n");
    Anim anim(DIR, "one.kaf", 1);
    EXPECT_EXIT((TraceToStderr(), anim.DeleteFrame(0)), testing::ExitedWithCode(255),
                "Assertion failed!");
}

}  // namespace
