#include "frontend/Menu.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "core/System.h"
#include "frontend/Backdrop.h"
#include "frontend/CaptionView.h"
#include "frontend/Choice.h"
#include "frontend/Label.h"
#include "frontend/MenuScreen.h"
#include "frontend/ReplayList.h"
#include "frontend/String3D.h"
#include "input/Joystick.h"
#include "input/Mouse.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh3DS.h"
#include "support/ClockGuard.h"
#include "support/DisplayGuard.h"
#include "support/Feedback.h"
#include "support/GLContext.h"
#include "support/Keys.h"
#include "support/MeshText.h"
#include "support/Near.h"
#include "support/Offscreen.h"
#include "support/ScratchDir.h"

namespace {

const int UP = -32768;
const int DOWN = 32767;

// Puts the game's devices in a known state around each test, and offers one
// frame of input at a time, on a 640x480 display.
class Devices {
public:
    Devices() { Reset(); }
    ~Devices() { Reset(); }
    void Stick(int j, int y, int buttons = 0) { System::instance()->joystick[j]->SetState(0, y, buttons); }
    Mouse& mouse() { return *System::instance()->mouse; }

    DisplayGuard display{640, 480};

private:
    void Reset() {
        mouse().ModeRel();
        mouse().SetPos(320, 200);
        mouse().Still();
        mouse().buttons = 0;
        for (int frame = 0; frame < 2; ++frame) {
            KeysDown({});
            Stick(0, 0);
            Stick(1, 0);
        }
    }
};

// A menu of two entries laid out in the caption camera's space, as the
// game's menus are, on a 640x480 window.
class MenuTest : public ::testing::Test {
protected:
    MenuTest() : camera(CaptionView::MakeCamera()) {
        menu.choices.Add(new Choice("Start", 200, 300, nullptr, 2));
        menu.choices.Add(new Choice("Quit", 200, 200, nullptr, 2));
        menu.camera = &camera;
        menu.Open();
        menu.Update();  // the pointer at rest
    }

    // A mouse that moved this frame to window pixel p.
    void MouseTo(const Vector3& p) {
        const int x = static_cast<int>(p.x), y = static_cast<int>(p.y);
        devices.mouse().SetPos(x, y + 1);
        devices.mouse().SetPos(x, y);
    }
    int SelectionAt(const Vector3& p) {
        MouseTo(p);
        menu.Update();
        return menu.selection;
    }
    // Window pixel of the middle of entry i's letters.
    Vector3 Middle(int i) const {
        const Choice::Rect r = menu.choices[i]->Letters();
        return devices.display->WorldToScreen(camera, Vector3((r.left + r.right) / 2, (r.bottom + r.top) / 2, 0));
    }

    const Vector3 corner{5, 5, 0};  // far from both entries
    Devices devices;
    Camera camera;
    Menu menu;
};

TEST_F(MenuTest, OpeningSelectsTheFirstEntryWhereverThePointerRests) {
    menu.selection = 1;
    MouseTo(corner);
    menu.Open();
    menu.Update();
    EXPECT_TRUE(menu.selection == 0 && !devices.mouse().absolute) << "a pointer that has not moved since chooses nothing";
    EXPECT_TRUE(SelectionAt(Middle(1)) == 1 && devices.mouse().absolute) << "once it moves it does";
    EXPECT_EQ(SelectionAt(corner), -1);
}

TEST_F(MenuTest, AClickOnAnEntryChoosesItAndAHeldButtonDoesNot) {
    MouseTo(Middle(1));
    devices.mouse().SetButtons(SDL_BUTTON(SDL_BUTTON_RIGHT));
    menu.Update();
    EXPECT_TRUE(menu.activated && menu.selection == 1);
    menu.Open();
    devices.mouse().SetButtons(SDL_BUTTON(SDL_BUTTON_RIGHT));
    menu.Update();
    EXPECT_FALSE(menu.activated) << "held on from the last menu";
}

// Frames of arrow keys and the two sticks over a list of four: one entry per
// press of a key, one per frame of a stick pushed past half way.
TEST_F(MenuTest, ArrowsMoveOnePerPressAndAHeldStickOnePerFrameWithinTheList) {
    const struct {
        std::vector<int> keys;
        int stick0, stick1, selection;
    } frames[] = {{{SDLK_DOWN}, 0, 0, 1}, {{SDLK_DOWN}, 0, 0, 1}, {{}, 0, 0, 1},    {{SDLK_DOWN}, 0, 0, 2},
                  {{}, 0, 0, 2},          {{}, 0, DOWN, 3},       {{}, 0, DOWN, 3}, {{}, UP, 0, 2},
                  {{}, UP, 0, 1},         {{}, UP, 0, 0},         {{}, UP, 0, 0},   {{SDLK_UP}, 0, 0, 0},
                  {{}, 0, DOWN, 1},       {{}, 0, DOWN, 2},       {{}, -16384, 16384, 2}};
    menu.choices.Add(new Choice("x", 0, 100, nullptr));
    menu.choices.Add(new Choice("y", 0, 0, nullptr));
    for (const auto& f : frames) {
        KeysDown(f.keys);
        devices.Stick(0, f.stick0);
        devices.Stick(1, f.stick1);
        menu.Update();
        EXPECT_EQ(menu.selection, f.selection);
    }
    EXPECT_FALSE(menu.activated);
}

// With the pointer on the second entry or between the two: Return, keypad
// Enter or a button of either joystick choose what it selected, and an arrow
// or a stick moves from there; either gives the keyboard back. Between the
// entries nothing is chosen, rather than leaving the owner an entry of -1.
TEST_F(MenuTest, KeysAndButtonsActOnWhatThePointerSelected) {
    const struct {
        bool between;
        std::vector<int> keys;
        int stick, buttons, y;
        bool activated;
        int selection;
    } inputs[] = {{false, {SDLK_RETURN}, 0, 0, 0, true, 1},  {false, {SDLK_KP_ENTER}, 0, 0, 0, true, 1},
                  {false, {}, 1, 1 << 7, 0, true, 1},        {false, {}, 0, 1, 0, true, 1},
                  {true, {SDLK_DOWN}, 0, 0, 0, false, 0},    {false, {}, 0, 0, UP, false, 0},
                  {true, {SDLK_RETURN, SDLK_KP_ENTER}, 0, 1, 0, false, -1}};
    for (const auto& in : inputs) {
        menu.activated = false;
        SelectionAt(corner);
        SelectionAt(in.between ? (Middle(0) + Middle(1)) * 0.5f : Middle(1));
        devices.mouse().Still();
        KeysDown(in.keys);
        devices.Stick(in.stick, in.y, in.buttons);
        menu.Update();
        EXPECT_TRUE(menu.activated == in.activated && menu.selection == in.selection &&
                    devices.mouse().absolute == (in.selection < 0)) << in.stick << " " << in.buttons << " " << in.y;
        KeysDown({});
        devices.Stick(in.stick, 0, 0);
    }
}

TEST(MenuScreenTest, EntriesAreCentredAndChoosingOneAsksForItsEvent) {
    const ScratchDir dir;
    const Devices devices;
    const std::string material = "- 1 1 ambi 0.2 0.2 0.2 diff 1 1 1 emis 0 0 0 spec 0 0 0 shine 0\n";
    for (const char* name : {"strmat", "menutext1", "menutext2"}) WriteFile(std::string("materials/") + name + ".mat", material);
    CaptionView view;
    const Backdrop backdrop;
    MenuScreen screen(view, backdrop, "TITLE", {{"LONG ENTRY", Screen::OPTIONS}, {"QUIT", Screen::QUIT}});
    for (int i = 0; i < 2; ++i) {
        const Choice::Rect r = screen.menu.choices[i]->Letters();
        EXPECT_FLOAT_EQ((r.left + r.right) / 2, CaptionView::CENTRE_X) << i;
    }
    screen.Open();
    EXPECT_EQ(screen.Update(), Screen::NONE);
    KeysDown({SDLK_DOWN});
    EXPECT_EQ(screen.Update(), Screen::NONE);
    KeysDown({SDLK_RETURN});
    EXPECT_EQ(screen.Update(), Screen::QUIT);
}

class MenuDraw : public GLTest {
protected:
    Devices devices;
};

TEST_F(MenuDraw, EndsOnTheNormalMaterial) {
    Material normal, highlight;
    Menu menu;
    menu.normalMaterial = &normal;
    menu.highlightMaterial = &highlight;
    menu.choices.Add(new Choice("Start", 200, 300, nullptr));
    menu.choices.Add(new Choice("Quit", 200, 200, nullptr));
    menu.selection = 1;  // the last entry drawn is the highlighted one
    menu.Draw();
    EXPECT_EQ(devices.display->currentMaterial, &normal);
}

// The main menu's layout drawn at each window size, each entry in a shade
// of red of its own: a pointer on any pixel well inside an entry's letters
// chooses that entry, and one on the rows between two entries none.
TEST_F(MenuDraw, APointerOnAnEntrysLettersChoosesItAtAnyWindowSize) {
    const FakeTicks ticks;  // the letters' wave stands still
    const ScratchDir dir;
    WriteFile("letter.asc", meshtext::Box({0, 0, 0}, {25, 30, 8}));
    Mesh3DS letter("letter.asc", true);
    const Camera camera = CaptionView::MakeCamera();
    Menu menu;
    menu.camera = &camera;
    const char* const labels[] = {"TWO PLAYERS", "OPTIONS", "QUIT"};
    for (int i = 0; i < 3; ++i) {
        const int width = static_cast<int>(String3D(labels[i], 2).Width());
        menu.choices.Add(new Choice(labels[i], 320 - width / 2, 290 - 85 * i, nullptr, 2));
        String3D& text = *menu.choices[i]->text;
        for (int c = 0; c < text.length; ++c)
            if (text.letters[c] != nullptr) text.letters[c] = &letter;
        text.SetPosition(Vector3(static_cast<float>(menu.choices[i]->left), static_cast<float>(menu.choices[i]->top), 0));
        text.Update();
    }
    const int sizes[][2] = {{640, 480}, {800, 600}, {1280, 720}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        const Offscreen window(w, h);
        ASSERT_TRUE(window.complete());
        devices.display->width = w, devices.display->height = h;
        glViewport(0, 0, w, h);
        glClear(GL_COLOR_BUFFER_BIT);
        for (const GLenum off : {GL_LIGHTING, GL_CULL_FACE, GL_DEPTH_TEST}) glDisable(off);
        devices.display->SetCamera(const_cast<Camera*>(&camera));
        for (int i = 0; i < 3; ++i) {
            glColor3ub(static_cast<GLubyte>(60 * (i + 1)), 0, 0);
            menu.choices[i]->text->Draw();
        }
        const std::vector<std::uint8_t> pixels = window.Rgb();
        // The entry drawn at window pixel (x, y), y down; -1 for none.
        auto drawn = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= w || y >= h) return -1;
            const int red = pixels[(static_cast<size_t>(h - 1 - y) * w + x) * 3];
            return red == 0 ? -1 : red / 60 - 1;
        };
        std::vector<bool> lettered(h + 2);  // whether row y - 1 shows any letter
        int tried = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int entry = drawn(x, y);
                if (entry < 0) continue;
                lettered[y + 1] = true;
                const bool inside = drawn(x - 3, y) == entry && drawn(x + 3, y) == entry &&
                                    drawn(x, y - 3) == entry && drawn(x, y + 3) == entry;
                if (!inside || (x + y) % 7 != 0) continue;
                ++tried;
                ASSERT_EQ(menu.Hit(x, y), entry) << w << "x" << h << " at " << x << "," << y;
            }
        }
        EXPECT_GT(tried, 100) << w << "x" << h;
        // Rows without letters choose nothing, a pixel of rasterising either way.
        for (int y = 0; y < h; ++y)
            if (!lettered[y] && !lettered[y + 1] && !lettered[y + 2]) { EXPECT_EQ(menu.Hit(w / 2, y), -1) << w << "x" << h << " row " << y; }
    }
}

// A reason shown under an unavailable fighter: a path breaks after its
// slashes and nowhere shows a space it did not have.
TEST(Label, WrapBreaksAtSpacesAndAfterSlashes) {
    using Lines = std::vector<std::string>;
    const struct {
        const char* text;
        size_t width;
        Lines lines;
    } cases[] = {
        {"characters/kira/movetree.txt: file not found", 20, {"characters/kira/", "movetree.txt: file", "not found"}},
        {"a/b c", 20, {"a/b c"}},
        {"  ", 20, {}},
        {"averyveryverylongword x", 5, {"averyveryverylongword", "x"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Label::Wrap(c.text, c.width), c.lines) << c.text;
}

TEST(ReplayListTest, NamesAReplayByItsDate) {
    const struct {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/home/p/replays/replay-2026-12-06_21-05-09.txt", "2026-12-06 21:05:09"},
        {"replay-2026-12-06_21-05-09_003.txt", "2026-12-06 21:05:09 - 3"},
        {"/tmp/my_best_bout.txt", "my_best_bout.txt"},
        {"replay-short.txt", "replay-short.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReplayList::Title(c.path), c.shown) << c.path;
}

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

using String3DDraw = GLTest;

TEST_F(String3DDraw, SendsEachLetterWhereItStandsAtTheRealTimeFacingTheEye) {
    Camera camera(Vector3(320, 240, -820), Vector3(320, 240, 0), Vector3(0, 1, 0), 0);
    const DisplayGuard display;
    display->camera = &camera;
    const FakeTicks ticks;
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
