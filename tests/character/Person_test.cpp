#include "character/Person.h"

#include <gtest/gtest.h>

#include <string>

#include "character/Cloth.h"
#include "character/Head.h"
#include "core/Display.h"
#include "core/System.h"
#include "render/Material.h"
#include "support/ScratchDir.h"
#include "support/TraceCapture.h"

namespace {

// A triangle is all a part needs to stand in for a limb.
const char* const TRIANGLE =
    "Tri-mesh, Vertices: 3 Faces: 1\n"
    "Vertex 0: X: 0 Y: 0 Z: 0\nVertex 1: X: 1 Y: 0 Z: 0\nVertex 2: X: 0 Y: 1 Z: 0\n"
    "Face 0: A:0 B:1 C:2\n";

// A cloth of one row of three points.
const char* const STRIP =
    "Tri-mesh, Vertices: 6 Faces: 4\n"
    "Vertex 0: X: 0 Y: 0 Z: 0\nVertex 1: X: 1 Y: 0 Z: 0\nVertex 2: X: 2 Y: 0 Z: 0\n"
    "Vertex 3: X: 0 Y: -1 Z: 0\nVertex 4: X: 1 Y: -1 Z: 0\nVertex 5: X: 2 Y: -1 Z: 0\n"
    "Face 0: A:0 B:3 C:1\nFace 1: A:1 B:3 C:4\nFace 2: A:1 B:4 C:2\nFace 3: A:2 B:4 C:5\n";

const char* const PLAIN_WEAPON_HEAD =
    "3 meshes\n"
    "0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n"
    "1 WEAPON body.asc skin.mat 0 0  0 40 0  30 40 0  0 0 1  3 30 3\n"
    "2 HEAD body.asc skin.mat 0 0  0 50 0  0 65 0  0 0 1  8 15 8\n";

class PersonTest : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        savedDisplay = System::instance()->display;
        System::instance()->display = new Display();
        Write("characters/kira/meshes/body.asc", TRIANGLE);
        Write("characters/kira/3/body.asc", TRIANGLE);
        Write("characters/kira/meshes/skirt.asc", STRIP);
        Write("characters/kira/materials/skin.mat",
              "- 1 1 ambi 0.2 0.2 0.2 diff 0.8 0.6 0.5 emis 0 0 0 specular 0 0 0 shine 0");
        Write("materials/trail.mat",
              "- 1 1 ambi 0 0 0 diff 1 1 1 emis 1 1 1 specular 0 0 0 shine 0");
    }
    void TearDown() override {
        delete System::instance()->display;
        System::instance()->display = savedDisplay;
        ScratchDirTest::TearDown();
    }
    static void Body(const std::string& text) { Write("characters/kira/low.bdf", text); }

    Display* savedDisplay = nullptr;
};

TEST_F(PersonTest, BuildsEveryJointedPartWithItsTrail) {
    Body(PLAIN_WEAPON_HEAD);
    Write("characters/kira/tracerlist.txt", "1 materials/trail.mat\n");
    TraceCapture trace;
    const Person kira("kira", 1);

    EXPECT_EQ(kira.bones.count, 3);
    EXPECT_EQ(kira.tracers.count, 3);
    EXPECT_EQ(kira.nbones, 3);
    EXPECT_EQ(kira.ncollide, 3);
    ASSERT_EQ(kira.weapons.count, 1);
    EXPECT_EQ(kira.weapons[0], 1);
    EXPECT_EQ(static_cast<Object*>(kira.head), static_cast<const Object*>(kira.bones[2]));
    EXPECT_EQ(kira.names[1], "WEAPON");
    ASSERT_EQ(kira.tracerMaterials.count, 1);
    EXPECT_EQ(kira.tracerMaterials[0]->fileName, "materials/trail.mat");

    EXPECT_TRUE(trace.Has("Bones: 3"));
    EXPECT_TRUE(trace.Has("meshname characters/kira/meshes/body.asc"));
    EXPECT_TRUE(trace.Has("shadname characters/kira/3/body.asc"));
    EXPECT_TRUE(trace.Has("Creating head\t 2\tpar:0"));
    EXPECT_TRUE(trace.Has("weapon added to list as index 1"));
    EXPECT_TRUE(trace.Has("done w/ def"));
}

TEST_F(PersonTest, PartsFollowTheFighterRoot) {
    Body(PLAIN_WEAPON_HEAD);
    Person kira("kira", 1);
    kira.SetPosition(Vector3(100, 0, 0));
    kira.Update();
    // The torso hangs from the root: its joint moves with the fighter.
    EXPECT_NEAR(kira.bones[0]->worldPos.x, 100, 1e-3);
    EXPECT_NEAR(kira.bones[1]->worldPos.y, 40, 1e-3);

    kira.Reset();
    kira.Update();
    EXPECT_NEAR(kira.bones[0]->worldPos.x, 0, 1e-3);
}

TEST_F(PersonTest, MissingFilesLeaveAnEmptyFighter) {
    TraceCapture trace;
    const Person nobody("nobody", 1);
    EXPECT_EQ(nobody.bones.count, 0);
    EXPECT_EQ(nobody.nbones, 0);
    EXPECT_EQ(nobody.tracerMaterials.count, 0);
    EXPECT_TRUE(trace.Has("no tracer file"));
}

TEST_F(PersonTest, ClothRowsReadOneFlexibilityPerLink) {
    Body("2 meshes/\n"
         "0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n"
         "1 CLOTH skirt.asc skin.mat 0 2  3 0.5 1.5  1\n");
    TraceCapture trace;
    const Person kira("kira", 1);
    ASSERT_EQ(kira.bones.count, 2);
    EXPECT_NE(dynamic_cast<Cloth*>(static_cast<Object*>(kira.bones[1])), nullptr);
    EXPECT_EQ(kira.ncollide, 1) << "cloth is never struck";
    EXPECT_EQ(kira.tracers.count, 1);
    EXPECT_TRUE(trace.Has("meshname characters/kira/meshes/skirt.asc"))
        << "a folder that ends in a slash gets no second one";
    EXPECT_TRUE(trace.Has("col 0 n 3"));
    EXPECT_TRUE(trace.Has("flexibility error in cloth row 0"));
    EXPECT_TRUE(trace.Has("col 1 n 1"));
    EXPECT_FALSE(trace.Has("col 2")) << "a row of one point has no link to read";
}

TEST_F(PersonTest, AbsurdCountsStopTheBodyThere) {
    Body("2 meshes\n"
         "0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n"
         "1 CLOTH skirt.asc skin.mat 0 1  2000000000\n");
    TraceCapture trace;
    const Person kira("kira", 1);
    EXPECT_EQ(kira.bones.count, 1);
    EXPECT_EQ(kira.nbones, 1);
    EXPECT_TRUE(trace.Has("expected a row of points from 0 to 10000, found 2000000000"));

    Body("-4 meshes\n");
    const Person negative("kira", 1);
    EXPECT_EQ(negative.bones.count, 0);
}

TEST_F(PersonTest, AShortFileKeepsThePartsReadBeforeItEnds) {
    Body("5 meshes\n"
         "0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n"
         "1 ARM body.asc skin.mat 0 0  0 40 0  30 40\n");
    const Person kira("kira", 1);
    EXPECT_EQ(kira.bones.count, 1);
    EXPECT_EQ(kira.nbones, 1);
}

using PersonDeathTest = PersonTest;

TEST_F(PersonDeathTest, AnEntryOutOfOrderEndsTheProgram) {
    Body("2 meshes\n"
         "0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n"
         "5 ARM body.asc skin.mat 0 0  0 40 0  30 40 0  0 0 1  3 30 3\n");
    EXPECT_EXIT(
        {
            TraceToStderr();
            Person kira("kira", 1);
        },
        ::testing::ExitedWithCode(255), "Assertion failed!");
}

TEST_F(PersonDeathTest, APartHangingFromALaterOneEndsTheProgram) {
    Body("3 meshes\n"
         "0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n"
         "1 CLOTH skirt.asc skin.mat 7 1  3 0.5 0.5\n");
    EXPECT_EXIT(Person("kira", 1), ::testing::ExitedWithCode(255),
                "characters/kira/low.bdf:3: entry 1 hangs from entry 7");
}

}  // namespace
