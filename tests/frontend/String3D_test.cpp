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
#include "render/Mesh3DS.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"
#include "support/Feedback.h"
#include "support/GLContext.h"
#include "support/MeshText.h"
#include "support/Near.h"
#include "support/ScratchDir.h"

namespace {

// Gives a shared letter mesh one triangle for the length of a test and puts
// back what it held: the letters are loaded once for the whole test run,
// from wherever the first word happened to be made.
class BorrowedLetter {
public:
    explicit BorrowedLetter(char c) : mesh(String3D::LetterMesh(c)), vertices(mesh->vertices), faces(mesh->faces) {
        const Vector3 front(0, 0, -1);  // towards the caption camera, which looks along +z
        mesh->Allocate(3, 1);
        mesh->vertices = {Vertex({0, 0, 0}, front, 0.5f, 0.5f), Vertex({0, 20, 0}, front, 0.5f, 0.5f),
                          Vertex({20, 0, 0}, front, 0.5f, 0.5f)};
        mesh->faces = {0, 1, 2};
    }
    ~BorrowedLetter() {
        mesh->Allocate(static_cast<int>(vertices.size()), static_cast<int>(faces.size() / 3));
        mesh->vertices = vertices;
        mesh->faces = faces;
    }
    BorrowedLetter(const BorrowedLetter&) = delete;
    BorrowedLetter& operator=(const BorrowedLetter&) = delete;
    Mesh* const mesh;

private:
    const std::vector<Vertex> vertices;
    const std::vector<int> faces;
};

Vector3 Origin(const Matrix& m) { return m * Vector3(0, 0, 0); }

// Where letter i stands when it is not displaced by the wave.
Vector3 Rest(const String3D& word, int i) {
    return word.position + Vector3(String3D::LETTER_WIDTH * i * word.scale(1, 1), 0, 0);
}

// Either case gives the letter; a space or a character without a letter
// leaves a gap of one letter.
TEST(String3D, EachCharacterTakesItsLetterInEitherCase) {
    const String3D word("Win a#Z 9!", 2);
    const Mesh* const expected[] = {LetterW, LetterI, LetterN, nullptr, LetterA,
                                    nullptr, LetterZ, nullptr, Digits[9], nullptr};
    ASSERT_EQ(word.length, 10);
    for (int i = 0; i < word.length; ++i) EXPECT_EQ(word.letters[i], expected[i]) << i;
    EXPECT_NE(String3D("a/b.c", 1).letters[3], nullptr) << "a path's marks have glyphs";
    const String3D longer((std::string(100, 'k') + std::string(60, 'j')).c_str(), 1);
    EXPECT_TRUE(longer.length == 100 && longer.letters[99] == LetterK && String3D("", 1).length == 0)
        << "cut to a hundred characters";
}

// Each letter bobs along the line from the eye, at most 10 units before
// scaling, once a second and a tenth of a second behind the one before.
TEST(String3D, TheWaveMovesEachLetterAlongTheCameraLineATenthOfASecondBehindTheOneBefore) {
    String3D word("abcd", 3);
    word.SetPosition(Vector3(200, 300, 0));
    word.Update();
    const Vector3 eye(320, 240, -820);
    auto line = [&](int i) { return (word.position + Vector3(30 * (3 * i + 0.5f), 0, 0) - eye).Normalized(); };
    auto offset = [&](int i, unsigned ms) { return Origin(word.LetterMatrix(i, ms, eye)) - Rest(word, i); };
    for (int i = 0; i < word.length; ++i) {
        float furthest = 0;
        for (unsigned ms = 0; ms < 1000; ms += 10) {
            const Vector3 d = offset(i, ms);
            const float along = d.Dot(line(i));
            EXPECT_TRUE(d.Length() <= 30.01f && d.Cross(line(i)).Length() < 1e-3f &&
                        std::fabs(offset(i, ms + 1000).Dot(line(i)) - along) < 1e-3f) << i << " at " << ms;
            if (i > 0) { EXPECT_NEAR(offset(i - 1, ms + 100).Dot(line(i - 1)), along, 0.05f) << i << " at " << ms; }
            furthest = std::fmax(furthest, d.Length());
        }
        EXPECT_GT(furthest, 29.9f);
    }
    EXPECT_TRUE(Near(Origin(word.LetterMatrix(0, 250, word.position + Vector3(15, 0, 0))), word.position, 1e-3f))
        << "an eye on the letter leaves it in place";
}

TEST(String3D, MapGivesEveryLetterTheMaterialsCoordinates) {
    BorrowedLetter a('a');
    BorrowedLetter z('Z');
    Material flat;
    flat.mapType = "PLANARZ";
    String3D::Map(&flat);
    for (Mesh* m : {a.mesh, z.mesh}) EXPECT_TRUE(m->vertices[0].u == -1 && m->vertices[0].v == 1 && m->vertices[2].u == 0);
    String3D::Map(nullptr);  // nothing to map from
    EXPECT_FLOAT_EQ(a.mesh->vertices[0].u, -1);
}

// Run in a fresh process: no letter may be loaded before the first word is
// made, and then each comes from "letters/x.asc" in the working folder, flipped.
bool LettersLoadOnFirstUse() {
    if (LetterA != nullptr || LetterQ != nullptr) {
        std::cerr << "letters loaded before the first word" << std::endl;
        return false;
    }
    ScratchDir dir;
    WriteFile("letters/a.asc", meshtext::OneTriangle({0, 0, 0}, {0, 2, 0}, {2, 0, 0}));
    WriteFile("letters/q.asc", meshtext::OneTriangle({0, 0, 0}, {0, 5, 0}, {5, 0, 0}));
    const String3D word("aQb", 1);
    const Mesh3DS flipped("letters/a.asc", true);
    const bool ok = LetterA != nullptr && LetterA->numFaces == 1 &&
                    LetterA->faces == flipped.faces && LetterA->faces != std::vector<int>{0, 1, 2} &&
                    LetterQ->numVertices == 3 && LetterQ->vertices[1].pos.y == 5 &&
                    LetterB != nullptr && LetterB->numFaces == 0 && word.letters[2] == LetterB;
    if (!ok) std::cerr << "letters not read from letters/x.asc, flipped" << std::endl;
    return ok;
}

TEST(String3DDeathTest, LettersLoadWhenTheFirstWordIsMade) {
    // The threadsafe style runs the test in a new process, whose letters are
    // untouched by the tests before it.
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(LettersLoadOnFirstUse() ? 0 : 1), ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}

class String3DDraw : public GLTest {
protected:
    String3DDraw() { display->camera = &camera; }

    Camera camera{Vector3(320, 240, -820), Vector3(320, 240, 0), Vector3(0, 1, 0), 0};
    DisplayGuard display;
    FakeTicks ticks;
};

TEST_F(String3DDraw, SendsEachLetterWhereItStandsAtTheRealTimeFacingTheEye) {
    BorrowedLetter q('q');
    String3D word("q q?", 1.3f);
    word.SetPosition(Vector3(150, 160, 0));
    word.Update();
    FakeTicks::now = 5432;
    // The caption space's x and y onto the window.
    const float toWindowX = static_cast<float>(WIDTH) / 640, toWindowY = static_cast<float>(HEIGHT) / 480;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1000, 1000);
    const std::vector<Polygon> sent = Feedback([&] { word.Draw(); });
    ASSERT_EQ(sent.size(), 2u);  // both q's; '?' has no letter
    for (int k = 0; k < 2; ++k) {
        const Matrix place = word.LetterMatrix(2 * k, 5432, camera.from);
        for (int c = 0; c < 3; ++c) {
            const Vector3 expected = place * q.mesh->vertices[q.mesh->faces[c]].pos;
            EXPECT_TRUE(Near(Vector3(sent[k][c].x / toWindowX, sent[k][c].y / toWindowY, 0),
                             Vector3(expected.x, expected.y, 0), 1e-3f)) << k << c;
        }
    }
    camera.from = Vector3(320, 240, 820);  // behind the letters
    EXPECT_TRUE(Feedback([&] { word.Draw(); }).empty());
}

}  // namespace
