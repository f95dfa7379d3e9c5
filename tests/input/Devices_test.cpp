// The keyboard, joystick and mouse as the game polls them once a frame.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "input/Controller.h"
#include "input/JoyController.h"
#include "input/Joystick.h"
#include "input/KbdController.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "support/ClockGuard.h"
#include "support/GLContext.h"
#include "support/Keys.h"
#include "support/RenderFiles.h"
#include "support/Screenshot.h"

namespace {

TEST(Keyboard, AHeldKeyIsPressedOnlyInItsFirstFrameAndATapBetweenTwoFramesCountsOnce) {
    Keyboard keyboard;
    const struct {
        std::vector<int> down;
        bool pressed;
    } frames[] = {{{SDLK_F9}, true}, {{SDLK_F9}, false}, {{}, false}, {{SDLK_F9}, true}};
    for (const auto& f : frames) {
        KeysDown(f.down, keyboard);
        EXPECT_TRUE(keyboard.Pressed(SDLK_F9) == f.pressed && keyboard.Down(SDLK_F9) == !f.down.empty());
    }
    EXPECT_FALSE(keyboard.Down(-1) || keyboard.Down(Keyboard::KEY_COUNT)) << "no key out there";
    // A tap between two polls is seen by the latch alone; a press the poll
    // also sees is not counted twice.
    keyboard.Latch(SDLK_F3);
    KeysDown({}, keyboard);
    EXPECT_TRUE(keyboard.Pressed(SDLK_F3));
    KeysDown({}, keyboard);
    EXPECT_FALSE(keyboard.Down(SDLK_F3));
    keyboard.Latch(SDLK_g);
    KeysDown({SDLK_g}, keyboard);
    KeysDown({SDLK_g}, keyboard);
    EXPECT_FALSE(keyboard.Pressed(SDLK_g));
    keyboard.Latch(-1);
    keyboard.Latch(Keyboard::KEY_COUNT);
}

// No SDL joystick subsystem runs in the tests, so every joystick is absent
// and only what the test hands it through SetState moves it.
TEST(Joystick, AxesScaleToPlusMinusOneAndTenButtonsArePressedOncePerPush) {
    Joystick stick(0);
    stick.SetState(-32768, -16384, 0);
    EXPECT_TRUE(stick.x == -1.0f && stick.y == -0.5f);
    stick.SetState(0, 32767, 1 << 3);
    EXPECT_TRUE(stick.y == 32767.0f / 32768.0f && stick.ButtonPress(3));
    stick.SetState(0, 0, 1 << 3);
    EXPECT_TRUE(!stick.ButtonPress(3) && stick.ButtonDown(3)) << "still held: not pressed again";
    stick.SetState(0, 0, ~0);
    EXPECT_EQ(stick.buttons, 0x3FF);
    EXPECT_FALSE(stick.ButtonDown(10) || stick.ButtonPress(-1) || stick.ButtonDown(40));
    Joystick absent(1);
    absent.Update();
    EXPECT_TRUE(!absent.present && absent.buttons == 0);
    // A button tapped between two frames counts once.
    absent.Latch(9);
    absent.SetState(0, 0, 0);
    EXPECT_TRUE(absent.ButtonPress(9));
    absent.SetState(0, 0, 0);
    EXPECT_FALSE(absent.ButtonDown(9));
}

TEST(Mouse, ReportsItsMovesAndButtons) {
    Mouse mouse;
    mouse.SetLimits(0, 0, 100, 100);
    mouse.ModeAbs();
    mouse.SetPos(30, 40);
    mouse.SetPos(250, -10);
    EXPECT_TRUE(mouse.dx == 220 && mouse.dy == -50) << "positions are not bounded";
    mouse.Still();
    EXPECT_TRUE(mouse.dx == 0 && mouse.x == 250) << "Still keeps the position";
    for (const auto& [mask, left, right] :
         {std::tuple{1, true, false}, std::tuple{2, false, false}, std::tuple{4, false, true}}) {
        mouse.buttons = mask;
        EXPECT_TRUE(mouse.LButton() == left && mouse.RButton() == right) << mask;
    }
}

// Draws the cursor from a scratch folder holding the "materials/white.mat" it needs.
class MouseGL : public GLTest {
protected:
    MouseGL() { WriteFile("materials/white.mat", ColourMaterial({1, 1, 1}, {1, 1, 1})); }

    // Lit pixels of a rectangle, rows counted from the top like the mouse.
    static int Lit(int fromRow, int toRow, int fromX, int toX) {
        int lit = 0;
        for (int row = fromRow; row <= toRow; ++row)
            for (int x = fromX; x <= toX; ++x) lit += ReadPixel(x, HEIGHT - 1 - row).r > 128;
        return lit;
    }
    RenderScratch scratch;
};

TEST_F(MouseGL, TheCursorIsACrossAtTheMouseInAbsoluteModeOnly) {
    Mouse mouse;
    mouse.Draw();
    EXPECT_EQ(mouse.val, 0.0f) << "no cursor in relative mode: its colour stands still";
    mouse.ModeAbs();
    mouse.SetPos(20, 12);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    mouse.Draw();
    ASSERT_NE(mat, nullptr);
    // The arms: 20 pixels across around x = 20 near row 12, and nothing at
    // the far side of the window.
    EXPECT_GE(Lit(10, 14, 12, 28), 15);
    EXPECT_GE(Lit(4, 4, 18, 22) + Lit(20, 20, 18, 22), 2) << "the vertical arm";
    EXPECT_EQ(Lit(0, HEIGHT - 1, 40, WIDTH - 1), 0);
    const Material* first = mat;
    mouse.Draw();
    EXPECT_TRUE(scratch.display->currentMaterial == first && mat == first) << "drawn with its own material, made once";
}

// Drives the System's keyboard, joystick 0 and game clock by hand: each
// frame is one poll of the devices at game time t.
class ControllerTest : public ::testing::Test {
protected:
    ControllerTest() {
        for (int frame = 0; frame < 2; ++frame) {
            KeysDown({});
            Stick(0, 0, 0);
        }
    }
    void Keys(Controller& c, int t, const std::vector<int>& down) {
        KeysDown(down);
        clock.At(t);
        c.Update();
    }
    void Stick(int t, int axisX, int axisY, int buttons = 0) {
        System::instance()->joystick[0]->SetState(axisX, axisY, buttons);
        clock.At(t);
    }
    // Holds `key` for a whole window and returns the letters it gave.
    std::string Alone(Controller& c, int key) {
        Keys(c, 0, {key});
        Keys(c, Controller::WINDOW_MS, {key});
        const std::string letters = c.Commands();
        Keys(c, 1000, {});
        c.Command();
        return letters;
    }

    ClockGuard clock;
};

// Timelines of one player's keys: after each poll, the letters ready, the
// commands taken in turn, and the letters ready after them.
TEST_F(ControllerTest, InputsWithin151MsFormOneCommandAndAHeldGuardRepeatsAtOnceButOnePressIsOne) {
    const int G = Controller::CMD_G, P = Controller::CMD_P, F = Controller::CMD_F;
    const struct Step {
        int t;
        std::vector<int> keys;
        const char* before;
        std::vector<int> taken;
        const char* after;
    } timelines[][6] = {
        {{1000, {SDLK_g}, "", {}, ""},
         {1100, {SDLK_g, SDLK_a}, "", {}, ""},
         {1150, {SDLK_a}, "", {0}, ""},          // 150 ms after the first press the window is open
         {1151, {SDLK_a}, "fp", {F | P}, ""},   // reading the letters takes nothing
         {1302, {SDLK_a}, "f", {}, "f"}},       // the held direction starts a new, different command
        {{0, {SDLK_t}, "", {}, ""},
         {151, {SDLK_t}, "g", {G, G}, "g"},  // published again within the same frame
         {160, {}, "g", {G, 0}, ""}},        // and once more before the release
        {{0, {SDLK_g}, "", {}, ""},
         {151, {SDLK_g}, "p", {P}, ""},
         {200, {}, "", {}, ""},
         {300, {SDLK_g}, "p", {P}, ""},      // a repeat acts in the frame it is pressed,
         {320, {SDLK_g}, "", {0}, ""}},      // and the press is not collected twice
        {{0, {SDLK_t}, "", {}, ""},
         {151, {SDLK_t}, "g", {G}, "g"},
         {170, {SDLK_t, SDLK_h}, "g", {G}, ""},  // the kick is still in its window
         {321, {SDLK_t, SDLK_h}, "kg", {}, "kg"}},  // a press that missed a command is kept
    };
    for (const auto& timeline : timelines) {
        KbdController c(0);
        for (const Step& step : timeline) {
            if (step.before == nullptr) break;
            Keys(c, step.t, step.keys);
            EXPECT_STREQ(c.Commands(), step.before) << "at " << step.t;
            for (int expected : step.taken) EXPECT_EQ(c.Command(), expected) << "at " << step.t;
            EXPECT_STREQ(c.Commands(), step.after) << "at " << step.t;
        }
    }
}

TEST_F(ControllerTest, EachPlayerHasItsOwnKeysAndTheFlipMirrorsTowardAndTheSideActions) {
    const struct {
        int player, key;
        const char* plain;
        const char* flipped;
    } keys[] = {
        {0, SDLK_d, "a", "f"},        {0, SDLK_a, "f", "a"},     {0, SDLK_w, "u", "u"},
        {0, SDLK_s, "d", "d"},        {0, SDLK_g, "p", "p"},     {0, SDLK_h, "k", "k"},
        {0, SDLK_t, "g", "g"},        {0, SDLK_y, "t", "t"},     {0, SDLK_j, "o", "i"},
        {0, SDLK_u, "i", "o"},        {0, SDLK_RIGHT, "", ""},   {0, SDLK_DELETE, "", ""},
        {1, SDLK_RIGHT, "f", "a"},    {1, SDLK_LEFT, "a", "f"},  {1, SDLK_UP, "u", "u"},
        {1, SDLK_DOWN, "d", "d"},     {1, SDLK_DELETE, "p", "p"}, {1, SDLK_END, "k", "k"},
        {1, SDLK_INSERT, "g", "g"},   {1, SDLK_HOME, "t", "t"},  {1, SDLK_PAGEDOWN, "i", "o"},
        {1, SDLK_PAGEUP, "o", "i"},   {1, SDLK_d, "", ""},       {1, SDLK_g, "", ""},
    };
    for (const auto& k : keys) {
        KbdController c(k.player);
        for (const bool flip : {false, true}) {
            c.SetFlip(flip);
            EXPECT_EQ(Alone(c, k.key), flip ? k.flipped : k.plain)
                << "player " << k.player << " key " << k.key << (flip ? " flipped" : "");
        }
    }
    KbdController c(0);
    const std::vector<int> all = {SDLK_u, SDLK_j, SDLK_y, SDLK_t, SDLK_h, SDLK_g, SDLK_s, SDLK_w, SDLK_d, SDLK_a};
    Keys(c, 0, all);
    Keys(c, 151, all);
    EXPECT_STREQ(c.Commands(), "faudpkgtio") << "the letters come in their fixed order";
}

TEST_F(ControllerTest, AJoystickNeedsTheStickPastHalfWayAndMapsItsButtons) {
    JoyController c(0);
    const int frames[][3] = {{0, -16384, 16384}, {151, -16384, 16384}, {200, -16385, 16385}, {351, 16385, -16385}};
    for (const auto& f : frames) {
        Stick(f[0], f[1], f[2]);
        c.Update();
        if (f[0] == 151) { EXPECT_STREQ(c.Commands(), "") << "exactly half way on both axes"; }
    }
    EXPECT_STREQ(c.Commands(), "faud");

    const struct {
        int number;
        bool flip;
        const char* letters;
    } buttons[] = {{0, false, "p"}, {1, false, "k"}, {3, false, "g"}, {4, false, "t"},
                   {2, false, "o"}, {5, false, "i"}, {6, false, ""},  {9, false, ""},
                   {2, true, "i"},  {5, true, "o"}};
    for (const auto& b : buttons) {
        c.SetFlip(b.flip);
        Stick(1000, 0, 0, 0), c.Update(), c.Command();
        Stick(2000, 0, 0, 1 << b.number), c.Update();
        Stick(2151, 0, 0, 1 << b.number), c.Update();
        EXPECT_EQ(std::string(c.Commands()), b.letters) << "button " << b.number << " " << b.flip;
    }
}

}  // namespace
