// The keyboard, joystick and mouse as the game polls them once a frame.
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "support/GLContext.h"
#include "support/Keys.h"
#include "support/Near.h"
#include "support/RenderFiles.h"
#include "support/Screenshot.h"

namespace {

TEST(Keyboard, AHeldKeyIsPressedOnlyInItsFirstFrame) {
    Keyboard keyboard;
    const struct {
        std::vector<int> down;
        bool pressed;
    } frames[] = {{{SDLK_F9}, true}, {{SDLK_F9}, false}, {{}, false}, {{SDLK_F9}, true}};
    for (const auto& f : frames) {
        KeysDown(f.down, keyboard);
        EXPECT_EQ(keyboard.Pressed(SDLK_F9), f.pressed);
        EXPECT_EQ(keyboard.Down(SDLK_F9), !f.down.empty());
    }
    EXPECT_FALSE(keyboard.Down(-1) || keyboard.Down(Keyboard::KEY_COUNT)) << "no key out there";
}

// A tap between two polls is seen by the latch alone; a press the poll also
// sees is not counted twice.
TEST(Keyboard, ATapBetweenTwoFramesCountsOnce) {
    Keyboard keyboard;
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
    absent.Latch(Joystick::BUTTON_COUNT);
    absent.SetState(0, 0, 0);
    EXPECT_EQ(absent.buttons, 0);
}

TEST(Mouse, ReportsItsMovesAndButtonsAndCyclesTheCursorsHueIn120Frames) {
    Mouse mouse;
    EXPECT_FALSE(mouse.absolute);
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
    // Each sixth of the circle starts where the last ended: from yellow to
    // red, magenta, blue, cyan, green and yellow again, in steps of at most 0.05.
    const Vector3 corners[] = {{1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}, {1, 1, 0}};
    Vector3 previous(1, 1, 0);
    for (int frame = 1; frame <= 120; ++frame) {
        const Vector3 colour = mouse.NextColour();
        EXPECT_LE((colour - previous).Length(), 0.0501f) << "a jump at frame " << frame;
        if (frame % 20 == 0) { EXPECT_TRUE(Near(colour, corners[frame / 20 - 1], 1e-5f)) << frame; }
        previous = colour;
    }
}

// Draws the cursor from a scratch folder holding the "materials/white.mat" it needs.
class MouseGL : public GLTest {
protected:
    MouseGL() { WriteFile("materials/white.mat", ColourMaterial({1, 1, 1}, {1, 1, 1})); }

    // Lit pixels of a row counted from the top, like the mouse.
    static int LitInRow(int row, int fromX, int toX) {
        int lit = 0;
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
    int across = 0;
    for (int row = 10; row <= 14; ++row) across += LitInRow(row, 12, 28);
    EXPECT_GE(across, 15);
    EXPECT_GE(LitInRow(4, 18, 22) + LitInRow(20, 18, 22), 2) << "the vertical arm";
    for (int row = 0; row < HEIGHT; ++row) EXPECT_EQ(LitInRow(row, 40, WIDTH - 1), 0) << row;
    const Material* first = mat;
    mouse.Draw();
    EXPECT_TRUE(scratch.display->currentMaterial == first && mat == first) << "drawn with its own material, made once";
}

}  // namespace
