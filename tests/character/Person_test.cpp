#include "character/Person.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "character/Cloth.h"
#include "character/Head.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/Mesh3DS.h"
#include "scene/DirectionalLight.h"
#include "support/GLContext.h"
#include "support/MeshText.h"
#include "support/Near.h"
#include "support/RenderFiles.h"
#include "support/Screenshot.h"

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
    EXPECT_TRUE(kira.weapons[0] == 1 && dynamic_cast<Head*>(static_cast<Object*>(kira.head)) != nullptr);
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
        EXPECT_TRUE(kira.bones.count == body.parts && said.find(std::string("characters/kira/") + body.problem) != std::string::npos)
            << body.text << said;
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

// A small fighter (bones, a head, a weapon, a ponytail, a cloth, a
// bump-mapped torso) standing in its rest pose on a floor, drawn in every
// pass the frame uses. The pixels read back must show the fighter where it
// stands and a darker shadow on the floor beside it.
const char* const BODY =
    "7 meshes\n"
    "0 TORSO torso.asc bump.mat 0 -1  0 40 0  0 80 0  0 0 1  14 40 9\n"
    "1 WEAPON arm.asc red.mat 0 0  12 75 0  40 75 0  0 1 0  4 28 4\n"
    "2 HEAD head.asc red.mat 0 0  0 80 0  0 96 0  0 0 1  8 16 8\n"
    "3 LEG leg.asc red.mat 0 -1  -6 40 0  -6 0 0  0 0 1  5 40 5\n"
    "4 LEG leg2.asc red.mat 0 -1  6 40 0  6 0 0  0 0 1  5 40 5\n"
    "5 PONYTAIL hair.asc hair.mat 0 2 1  8 0.5  0 92 6  0 70 14  0 0 1\n"
    "6 CLOTH skirt.asc cloth.mat 0 4  3 0.5 0.5  3 0.5 0.5  3 0.5 0.5  3 0.5 0.5\n";

void WriteRig() {
    const std::string rig = "characters/rig/";
    using meshtext::Box;
    const struct {
        const char* file;
        std::string text;
    } meshes[] = {{"torso.asc", Box({-14, 40, -9}, {14, 80, 9})},  {"arm.asc", Box({12, 71, -4}, {40, 79, 4})},
                  {"head.asc", Box({-8, 80, -8}, {8, 96, 8})},     {"leg.asc", Box({-11, 0, -5}, {-1, 40, 5})},
                  {"leg2.asc", Box({1, 0, -5}, {11, 40, 5})},      {"hair.asc", Box({-3, 70, 6}, {3, 92, 14})},
                  {"skirt.asc", meshtext::Sheet(4, 3, -16, 16, -10, 44, 10, {0, 0, -1})}};
    for (const auto& mesh : meshes) {
        WriteFile(rig + "meshes/" + mesh.file, mesh.text);
        WriteFile(rig + "3/" + mesh.file, mesh.text);
    }
    WriteFile(rig + "materials/red.mat", ColourMaterial({0.9f, 0.1f, 0.1f}, {0.2f, 0, 0}));
    WriteFile(rig + "materials/hair.mat", ColourMaterial({0.1f, 0.1f, 0.9f}, {0, 0, 0.2f}));
    WriteFile(rig + "materials/cloth.mat",
              "- 1 1 0 0 CLOTH false false ambi 0 0.3 0 diff 0.1 0.9 0.1 emis 0 0.2 0 "
              "specular 0 0 0 shine 0");
    // An 8-bit height image: stripes of relief for the emboss passes.
    std::vector<std::uint8_t> height(16 * 16);
    for (int i = 0; i < 16 * 16; ++i) height[i] = (i / 16) % 4 < 2 ? 230 : 20;
    WriteBmp("images/relief.bmp", 16, 16, 8, height);
    WriteFile(rig + "materials/bump.mat",
              "BUMP relief.bmp 1 1 ambi 0.4 0.3 0.2 diff 0.8 0.6 0.4 emis 0.2 0.15 0.1 "
              "specular 0 0 0 shine 0");
    WriteFile(rig + "low.bdf", BODY);
    WriteFile("floor.asc", meshtext::Grid(4, 120));
    WriteFile("floor.mat", ColourMaterial({0.7f, 0.7f, 0.7f}));
}

class PersonRenderTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        WriteRig();
        // Entry 0 of the registry is what planar shadows are drawn with.
        shadowMaterial.alpha = 0.5f;
        shadowMaterial.blendType = 2;
        scratch.display->materials.Add(&shadowMaterial);
        scratch.display->lights.Add(&sun);
        scratch.display->CreateShadowMatrix();
        fighter = new Person("rig", 1);
        floorMesh = std::make_unique<Mesh3DS>("floor.asc", false);
        // As the arena does in the planar mode, the floor lies a little below
        // the ground the fighters stand on, where their flattened shadows fall.
        floor = new Object(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0),
                           Vector3(0, 0, 1), Vector3(1, 1, 1), floorMesh.get(), floorMesh.get(), nullptr,
                           new Material("floor.mat"));
        floor->SetPosition(Vector3(0, -1.5f, 0));
        floor->Update();
        fighter->Update();
        scratch.display->StartScene();
        scratch.display->SetCamera(&camera);
        glDisable(GL_STENCIL_TEST);
    }
    Pixel Fighter() const { return ReadPixel(WIDTH / 2, HEIGHT / 2); }
    // Floor to the screen's left of the fighter's feet, where the sun, low
    // from the right, throws the shadow; and the same distance to the right.
    Pixel ShadowSide() const { return ReadPixel(WIDTH / 2 - 14, 16); }
    Pixel SunSide() const { return ReadPixel(WIDTH / 2 + 14, 16); }
    RenderScratch scratch;
    Material shadowMaterial;
    DirectionalLight sun{Vector3(1, 1, 1), Vector3(-1, -1.2f, 0.2f)};
    Camera camera{Vector3(0, 70, -200), Vector3(0, 45, 0), Vector3(0, 1, 0), 0};
    Ptr<Person> fighter;
    std::unique_ptr<Mesh> floorMesh;  // an object does not own its meshes
    Ptr<Object> floor;
};

TEST_F(PersonRenderTest, PlanarShadowsAndStencilShadowVolumesDarkenTheFloorBesideTheFighter) {
    floor->Draw();
    fighter->Draw();
    shadowctr = 0;
    fighter->DrawShadow();
    SaveShot("fighter_planar_shadow");
    EXPECT_TRUE(ShadowSide().Sum() < SunSide().Sum() - 30 && Fighter().r > 60) << "on the floor, not on the fighter";
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glDepthFunc(GL_LEQUAL);
    floor->DrawAmbient();
    fighter->DrawAmbient();
    glEnable(GL_STENCIL_TEST);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    glClear(GL_STENCIL_BUFFER_BIT);
    fighter->DrawShadowVolume();
    glDepthFunc(GL_EQUAL);
    floor->DrawNonAmbient();
    fighter->DrawNonAmbient();
    SaveShot("fighter_stencil_shadow");
    EXPECT_TRUE(ShadowSide().Sum() < SunSide().Sum() - 30 && Fighter().r > 60);
}

}  // namespace
