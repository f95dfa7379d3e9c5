// A small fighter (bones, a head, a weapon, a ponytail, a cloth, a
// bump-mapped torso) standing in its rest pose on a floor, drawn in every
// pass the frame uses. The pixels read back must show the fighter where it
// stands and a darker shadow on the floor beside it.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "character/Person.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh3DS.h"
#include "scene/DirectionalLight.h"
#include "support/GLContext.h"
#include "support/MeshText.h"
#include "support/RenderFiles.h"
#include "support/Screenshot.h"

namespace {

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
        Mesh* floorMesh = new Mesh3DS("floor.asc", false);
        // As the arena does in the planar mode, the floor lies a little below
        // the ground the fighters stand on, where their flattened shadows fall.
        floor = new Object(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0),
                           Vector3(0, 0, 1), Vector3(1, 1, 1), floorMesh, floorMesh, nullptr,
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
    Ptr<Object> floor;
};

TEST_F(PersonRenderTest, APlanarShadowDarkensTheFloorBesideTheFighter) {
    floor->Draw();
    fighter->Draw();
    shadowctr = 0;
    fighter->DrawShadow();
    SaveShot("fighter_planar_shadow");
    EXPECT_LT(ShadowSide().Sum(), SunSide().Sum() - 30);
    EXPECT_GT(Fighter().r, 60) << "the shadow lies on the floor, not on the fighter";
}

TEST_F(PersonRenderTest, StencilShadowVolumesDarkenTheFloorBesideTheFighter) {
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
