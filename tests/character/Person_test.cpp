#include "character/Person.h"

#include <gtest/gtest.h>

#include <string>

#include "character/Cloth.h"
#include "character/Head.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "support/MeshText.h"
#include "support/Near.h"
#include "support/RenderFiles.h"
#include "support/TraceCapture.h"

namespace {

const char* const TORSO = "0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n";
const char* const WEAPON = "1 WEAPON body.asc skin.mat 0 0  0 40 0  30 40 0  0 0 1  3 30 3\n";
const char* const HEAD = "2 HEAD body.asc skin.mat 0 0  0 50 0  0 65 0  0 0 1  8 15 8\n";

// A fighter "kira" whose every part is one triangle; the body is the test's.
class PersonTest : public ::testing::Test {
protected:
    PersonTest() {
        const std::string triangle = meshtext::OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
        WriteFile("characters/kira/meshes/body.asc", triangle);
        WriteFile("characters/kira/3/body.asc", triangle);
        WriteFile("characters/kira/meshes/skirt.asc", meshtext::Sheet(2, 3, 0, 2, 0, 0, 1, {0, 0, 1}));
        WriteFile("characters/kira/materials/skin.mat", ColourMaterial({0.8f, 0.6f, 0.5f}));
        WriteFile("materials/trail.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
    }
    static void Body(const std::string& text) { WriteFile("characters/kira/low.bdf", text); }
    RenderScratch scratch;
};

TEST_F(PersonTest, BuildsEveryJointedPartWithItsTrailAndMovesThemWithTheRoot) {
    Body(std::string("3 meshes\n") + TORSO + WEAPON + HEAD);
    WriteFile("characters/kira/tracerlist.txt", "1 materials/trail.mat\n");
    Person kira("kira", 1);
    EXPECT_TRUE(kira.nbones == 3 && kira.ncollide == 3 && kira.tracers.count == 3 && kira.tracerMaterials.count == 1);
    ASSERT_EQ(kira.weapons.count, 1);
    EXPECT_EQ(kira.weapons[0], 1);
    EXPECT_NE(dynamic_cast<Head*>(static_cast<Object*>(kira.head)), nullptr);
    kira.SetPosition(Vector3(100, 0, 0));
    kira.Update();
    EXPECT_TRUE(Near(kira.bones[1]->worldPos, Vector3(100, 40, 0), 1e-3f));
    kira.Reset();
    kira.Update();
    EXPECT_TRUE(Near(kira.bones[0]->worldPos, Vector3(), 1e-3f));
}

TEST_F(PersonTest, ClothRowsReadOneFlexibilityPerLinkAndAreNeverStruck) {
    // A folder that ends in a slash gets no second one; a row of one point
    // has no link and so no flexibility: the head after it is read whole.
    Body(std::string("3 meshes/\n") + TORSO + "1 CLOTH skirt.asc skin.mat 0 2  3 0.5 1.5  1\n" + HEAD);
    const Person kira("kira", 1);
    ASSERT_EQ(kira.bones.count, 3);
    EXPECT_TRUE(dynamic_cast<Cloth*>(static_cast<Object*>(kira.bones[1])) && kira.bones[1]->mesh->numVertices > 0);
    EXPECT_EQ(kira.ncollide, 2) << "cloth is never struck";
}

// A body definition that breaks off keeps the parts before the break and
// says on standard error where and why.
TEST_F(PersonTest, ABrokenBodyKeepsThePartsReadBeforeTheBreakAndSaysWhere) {
    const struct {
        std::string text;
        int parts;
        const char* problem;
    } bodies[] = {
        {"1001 meshes\n" + std::string(TORSO), 0,
         "low.bdf:1: expected an entry count from 0 to 1000, found 1001"},
        {std::string("2 meshes\n") + TORSO + "1 WEAPON body.asc skin.mat 0 0  0 50 0  0 fifty -30\n", 1,
         "low.bdf:3: expected a number, found 'fifty'"},
        {std::string("3 meshes\n") + TORSO, 1, "low.bdf:3: expected a whole number, found the end of the file"},
    };
    for (const auto& body : bodies) {
        Body(body.text);
        ::testing::internal::CaptureStderr();
        const Person kira("kira", 1);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(kira.bones.count, body.parts) << body.text;
        EXPECT_NE(said.find(std::string("characters/kira/") + body.problem), std::string::npos) << said;
    }
    EXPECT_EQ(Person("nobody", 1).nbones, 0);
}

using PersonDeathTest = PersonTest;

TEST_F(PersonDeathTest, EntriesOutOfOrderOrHangingFromLaterOnesEndTheProgram) {
    Body(std::string("2 meshes\n") + TORSO + "5 ARM body.asc skin.mat 0 0  0 40 0  30 40 0  0 0 1  3 30 3\n");
    EXPECT_EXIT(Person("kira", 1), ::testing::ExitedWithCode(255),
                "characters/kira/low.bdf:3: entry 1 is numbered 5");
    Body(std::string("3 meshes\n") + TORSO + "1 CLOTH skirt.asc skin.mat 7 1  3 0.5 0.5\n");
    EXPECT_EXIT(Person("kira", 1), ::testing::ExitedWithCode(255),
                "characters/kira/low.bdf:3: entry 1 hangs from entry 7");
}

}  // namespace
