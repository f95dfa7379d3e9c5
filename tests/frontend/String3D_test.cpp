#include "frontend/String3D.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/Mesh3DS.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"
#include "support/GLContext.h"
#include "support/MeshText.h"
#include "support/Near.h"
#include "support/ScratchDir.h"

namespace {

Vector3 Origin(const Matrix& m) { return m * Vector3(0, 0, 0); }

// An eye so far away along -z that the wave only moves letters in z.
const Vector3 FAR_AWAY(0, 0, -1e7f);

TEST(String3D, EachCharacterTakesItsLetterInEitherCaseAndOthersLeaveAGap) {
    const String3D word("Win a-Z 9!", 2);
    EXPECT_EQ(word.length, 10);
    const Mesh* expected[] = {LetterW, LetterI, LetterN, nullptr, LetterA,
                              nullptr, LetterZ, nullptr, nullptr, nullptr};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(word.letters[i], expected[i]) << i;
    EXPECT_FLOAT_EQ(word.scale(1, 1), 2);
    EXPECT_EQ(String3D(std::string(160, 'k').c_str(), 1).length, 100) << "cut to a hundred";
}

TEST(String3D, LettersStandThirtyScaledUnitsApartAndRunATenthOfASecondApartInTheirWave) {
    String3D word("WINNER", 2);
    word.SetPosition(Vector3(170, 240, -300));
    word.Update();
    for (unsigned ms : {0u, 250u, 730u}) {
        for (int i = 0; i < word.length; ++i) {
            const Vector3 o = Origin(word.LetterMatrix(i, ms, word.position + FAR_AWAY));
            EXPECT_TRUE(Near(Vector3(o.x, o.y, 0), Vector3(170 + 60 * i, 240, 0), 1e-3f)) << i;
            EXPECT_LE(std::fabs(o.z + 300), 20.001f) << "at most ten units, scaled";
        }
        const float first = Origin(word.LetterMatrix(0, ms + 100, FAR_AWAY)).z;
        EXPECT_NEAR(Origin(word.LetterMatrix(1, ms, FAR_AWAY)).z, first, 1e-3) << ms;
        EXPECT_NEAR(Origin(word.LetterMatrix(1, ms + 1000, FAR_AWAY)).z,
                    Origin(word.LetterMatrix(1, ms, FAR_AWAY)).z, 1e-3)
            << "one wave a second";
    }
    // At a whole second the first letter is in the middle of its wave.
    EXPECT_TRUE(Near(Origin(word.LetterMatrix(0, 3000, FAR_AWAY)), word.position, 1e-3f));
    // The wave runs along the line from the eye: seen from above, up and down.
    const Vector3 above = Origin(word.LetterMatrix(0, 250, word.position + Vector3(30, 1e7f, 0)));
    EXPECT_TRUE(Near(Vector3(above.x, 0, above.z), Vector3(170, 0, -300), 1e-3f));
    EXPECT_NEAR(std::fabs(above.y - 240), 20, 1e-3) << "a quarter second: the wave at its height";
}

// Run in a fresh process: no letter may be loaded before the first word is
// made, and then each comes from "letters/x.asc" in the working folder,
// flipped, and takes a material's mapping.
bool LettersLoadOnFirstUse() {
    if (LetterA != nullptr) return false;
    ScratchDir dir;
    WriteFile("letters/a.asc", meshtext::OneTriangle({0, 0, 0}, {0, 2, 0}, {2, 0, 0}));
    WriteFile("letters/q.asc", meshtext::OneTriangle({0, 0, 0}, {0, 5, 0}, {5, 0, 0}));
    const String3D word("aQb", 1);
    Material flat;
    flat.mapType = "PLANARZ";
    String3D::Map(&flat);
    String3D::Map(nullptr);  // nothing to map from
    const Mesh3DS flipped("letters/a.asc", true);
    return LetterA->faces == flipped.faces && LetterQ->vertices[1].pos.y == 5 &&
           LetterB != nullptr && LetterB->numFaces == 0 && word.letters[2] == LetterB &&
           LetterQ->vertices[0].u == -1 && LetterQ->vertices[0].v == 1;
}

TEST(String3DDeathTest, LettersLoadWhenTheFirstWordIsMade) {
    // The threadsafe style runs the test in a new process, whose letters are
    // untouched by the tests before it.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(LettersLoadOnFirstUse() ? 0 : 1), ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}

using String3DDraw = GLTest;

TEST_F(String3DDraw, EachLetterIsDrawnFromTheDisplayCameraAtTheRealTime) {
    DisplayGuard display;
    FakeTicks ticks;
    Camera camera(Vector3(320, 240, -820), Vector3(320, 240, 0), Vector3(0, 1, 0), 0);
    display->camera = &camera;
    String3D word("q q?", 1.3f);
    word.SetPosition(Vector3(150, 160, 0));
    word.Update();
    // The letters are loaded once for the whole run, from wherever the first
    // word was made: 'q' borrows a triangle for this test.
    Mesh& q = *String3D::LetterMesh('q');
    const Mesh saved = q;
    q.Allocate(3, 1);
    q.vertices = {Vertex({0, 0, 0}, {0, 0, 1}, 0, 0), Vertex({0, 20, 0}, {0, 0, 1}, 0, 0),
                  Vertex({20, 0, 0}, {0, 0, 1}, 0, 0)};
    q.faces = {0, 1, 2};
    FakeTicks::now = 5432;
    word.Draw();
    q = saved;
    // The last letter drawn leaves its matrix behind; '?' has none.
    Matrix drawn;
    glGetFloatv(GL_MODELVIEW_MATRIX, drawn.m);
    EXPECT_TRUE(Near(drawn, word.LetterMatrix(2, 5432, camera.from), 1e-3f));
}

}  // namespace
