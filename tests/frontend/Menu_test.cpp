#include "frontend/Menu.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
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
#include "support/GLContext.h"
#include "support/Keys.h"
#include "support/MeshText.h"
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
    Devices(const Devices&) = delete;
    Devices& operator=(const Devices&) = delete;

    void Keys(const std::vector<int>& down) { KeysDown(down); }
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
            Keys({});
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

    // A mouse that moved this frame to (x, y).
    void MouseTo(int x, int y) {
        devices.mouse().SetPos(x, y + 1);
        devices.mouse().SetPos(x, y);
    }
    int SelectionAt(int x, int y) {
        MouseTo(x, y);
        menu.Update();
        return menu.selection;
    }
    // Window pixel of the middle of entry i's letters.
    Vector3 Middle(int i) const {
        const Choice::Rect r = menu.choices[i]->Letters();
        return devices.display->WorldToScreen(camera, Vector3((r.left + r.right) / 2, (r.bottom + r.top) / 2, 0));
    }

    int SelectionOn(int i) {
        const Vector3 p = Middle(i);
        return SelectionAt(static_cast<int>(p.x), static_cast<int>(p.y));
    }
    int SelectionBetween() {
        const Vector3 p = (Middle(0) + Middle(1)) * 0.5f;
        return SelectionAt(static_cast<int>(p.x), static_cast<int>(p.y));
    }

    Devices devices;
    Camera camera;
    Menu menu;
};

TEST_F(MenuTest, OpeningSelectsTheFirstEntryWhereverThePointerRests) {
    menu.selection = 1;
    MouseTo(5, 5);
    menu.Open();
    menu.Update();
    EXPECT_TRUE(menu.selection == 0 && !devices.mouse().absolute) << "a pointer that has not moved since chooses nothing";
    EXPECT_TRUE(SelectionOn(1) == 1 && devices.mouse().absolute) << "once it moves it does";
    EXPECT_EQ(SelectionAt(5, 5), -1);
}

TEST_F(MenuTest, AClickOnAnEntryChoosesItAndAHeldButtonDoesNot) {
    const Vector3 quit = Middle(1);
    MouseTo(static_cast<int>(quit.x), static_cast<int>(quit.y));
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
        devices.Keys(f.keys);
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
        SelectionAt(5, 5);
        in.between ? SelectionBetween() : SelectionOn(1);
        devices.mouse().Still();
        devices.Keys(in.keys);
        devices.Stick(in.stick, in.y, in.buttons);
        menu.Update();
        EXPECT_TRUE(menu.activated == in.activated && menu.selection == in.selection &&
                    devices.mouse().absolute == (in.selection < 0)) << in.stick << " " << in.buttons << " " << in.y;
        devices.Keys({});
        devices.Stick(in.stick, 0, 0);
    }
}

class MenuScreenTest : public ::testing::Test {
protected:
    ScratchDir dir;
    Devices devices;
};

TEST_F(MenuScreenTest, EntriesAreCentredAndChoosingOneAsksForItsEvent) {
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
    devices.Keys({SDLK_DOWN});
    EXPECT_EQ(screen.Update(), Screen::NONE);
    devices.Keys({SDLK_RETURN});
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
            String3D& text = *menu.choices[i]->text;
            text.SetPosition(Vector3(static_cast<float>(menu.choices[i]->left), static_cast<float>(menu.choices[i]->top), 0));
            text.Update();
            text.Draw();
        }
        const std::vector<std::uint8_t> pixels = window.Rgb();
        // The entry drawn at window pixel (x, y), y down; -1 for none.
        auto drawn = [&](int x, int y) {
            if (x < 0 || y < 0 || x >= w || y >= h) return -1;
            const int red = pixels[(static_cast<size_t>(h - 1 - y) * w + x) * 3];
            return red == 0 ? -1 : red / 60 - 1;
        };
        int rows[3][2] = {{h, -1}, {h, -1}, {h, -1}};  // each entry's first and last row
        int tried = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int entry = drawn(x, y);
                if (entry < 0) continue;
                rows[entry][0] = std::min(rows[entry][0], y);
                rows[entry][1] = std::max(rows[entry][1], y);
                const bool inside = drawn(x - 3, y) == entry && drawn(x + 3, y) == entry &&
                                    drawn(x, y - 3) == entry && drawn(x, y + 3) == entry;
                if (!inside || (x + y) % 7 != 0) continue;
                ++tried;
                ASSERT_EQ(menu.Hit(x, y), entry) << w << "x" << h << " at " << x << "," << y;
            }
        }
        EXPECT_GT(tried, 100) << w << "x" << h;
        for (int i = 0; i + 1 < 3; ++i) {
            ASSERT_LT(rows[i][1], rows[i + 1][0]) << "entries " << i << " and " << i + 1 << " do not overlap";
            // A pixel of rasterising either way at the letters' edges.
            for (int y = rows[i][1] + 2; y < rows[i + 1][0] - 1; ++y) EXPECT_EQ(menu.Hit(w / 2, y), -1) << w << "x" << h << " row " << y;
        }
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

}  // namespace
