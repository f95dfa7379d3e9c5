#include "input/Mouse.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/Display.h"
#include "core/System.h"
#include "support/GLContext.h"

namespace {

TEST(Mouse, StartsStillInRelativeMode) {
    const Mouse mouse;
    EXPECT_FALSE(mouse.absolute);
    EXPECT_EQ(mouse.x, 0);
    EXPECT_EQ(mouse.dy, 0);
    EXPECT_EQ(mat, nullptr);
}

TEST(Mouse, SetPosReportsTheMoveWithoutBounds) {
    Mouse mouse;
    mouse.SetLimits(0, 0, 100, 100);
    mouse.ModeAbs();
    mouse.SetPos(30, 40);
    mouse.SetPos(250, -10);
    EXPECT_EQ(mouse.x, 250);
    EXPECT_EQ(mouse.y, -10);
    EXPECT_EQ(mouse.dx, 220);
    EXPECT_EQ(mouse.dy, -50);
    mouse.Still();
    EXPECT_EQ(mouse.dx, 0);
    EXPECT_EQ(mouse.dy, 0);
    EXPECT_EQ(mouse.x, 250) << "Still keeps the position";
}

TEST(Mouse, SetOffClampsOnlyInAbsoluteMode) {
    Mouse mouse;
    mouse.SetLimits(10, 20, 100, 200);
    mouse.SetOff(-50, 500);
    EXPECT_EQ(mouse.x, -50);
    EXPECT_EQ(mouse.y, 500);

    mouse.ModeAbs();
    mouse.SetOff(-5, 0);
    EXPECT_EQ(mouse.x, 10);
    EXPECT_EQ(mouse.y, 200);
    EXPECT_EQ(mouse.dx, -5) << "the move asked for, not the move made";
    EXPECT_EQ(mouse.dy, 0);
    mouse.SetOff(1000, -1000);
    EXPECT_EQ(mouse.x, 100);
    EXPECT_EQ(mouse.y, 20);

    mouse.ModeRel();
    mouse.SetOff(1000, 0);
    EXPECT_EQ(mouse.x, 1100);
}

TEST(Mouse, ButtonsFollowSdlMasks) {
    Mouse mouse;
    mouse.buttons = 1;
    EXPECT_TRUE(mouse.LButton());
    EXPECT_FALSE(mouse.RButton());
    mouse.buttons = 2;  // the middle button
    EXPECT_FALSE(mouse.LButton());
    EXPECT_FALSE(mouse.RButton());
    mouse.buttons = 4;
    EXPECT_TRUE(mouse.RButton());
}

void ExpectColour(const Vector3& c, float r, float g, float b) {
    EXPECT_NEAR(c.x, r, 1e-5f);
    EXPECT_NEAR(c.y, g, 1e-5f);
    EXPECT_NEAR(c.z, b, 1e-5f);
}

TEST(Mouse, CursorColourGoesRoundTheHueCircleIn120Frames) {
    Mouse mouse;
    ExpectColour(mouse.NextColour(), 1, 0.95f, 0);
    Vector3 previous(1, 0.95f, 0);
    // Each sixth starts where the last ended: yellow, red, magenta, blue,
    // cyan, green and yellow again.
    const Vector3 corners[] = {{1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 1}, {0, 1, 0}, {1, 1, 0}};
    for (int frame = 2; frame <= 120; ++frame) {
        const Vector3 colour = mouse.NextColour();
        EXPECT_LE((colour - previous).Length(), 0.0501f) << "a jump at frame " << frame;
        previous = colour;
        if (frame % 20 == 0) {
            SCOPED_TRACE(frame);
            const Vector3& corner = corners[frame / 20 - 1];
            ExpectColour(colour, corner.x, corner.y, corner.z);
        }
    }
    EXPECT_EQ(mouse.huemode, 0);
    EXPECT_EQ(mouse.val, 0.0f);
}

TEST(Mouse, NoCursorInRelativeMode) {
    Mouse mouse;
    mouse.Draw();  // would need a window and the cursor material
    EXPECT_EQ(mat, nullptr);
    EXPECT_EQ(mouse.val, 0.0f) << "the colour does not move while hidden";
}

// Draws the cursor into the test window from a scratch folder holding the
// plain untextured "materials/white.mat" it needs.
class MouseGLTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        system = System::instance();
        savedDisplay = system->display;
        system->display = new Display();
        system->display->width = WIDTH;
        system->display->height = HEIGHT;
        previous = std::filesystem::current_path();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvanthe-mouse-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        std::filesystem::current_path(dir);
        std::filesystem::create_directory("materials");
        std::ofstream("materials/white.mat")
            << "-\n1 1\nambi 1 1 1\ndiff 1 1 1\nemis 0 0 0\nspec 0 0 0\nshine 0\n";
    }
    void TearDown() override {
        if (system == nullptr) return;
        delete system->display;
        system->display = savedDisplay;
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(dir);
    }

    // The brightest pixel of a window row, counted from the top like the mouse.
    static int LitInRow(int row, int fromX, int toX) {
        unsigned char rgb[WIDTH * 3];
        glReadPixels(0, HEIGHT - 1 - row, WIDTH, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        int lit = 0;
        for (int x = fromX; x <= toX; ++x) lit += rgb[x * 3] > 128 || rgb[x * 3 + 1] > 128;
        return lit;
    }

    System* system = nullptr;
    Display* savedDisplay = nullptr;
    std::filesystem::path previous;
    std::filesystem::path dir;
};

TEST_F(MouseGLTest, CrossAtTheMouseInPixelsAndStateRestored) {
    Mouse mouse;
    mouse.ModeAbs();
    mouse.SetPos(20, 12);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glTranslatef(0.5f, 0, 0);
    glMatrixMode(GL_MODELVIEW);
    GLfloat before[16];
    glGetFloatv(GL_PROJECTION_MATRIX, before);

    mouse.Draw();
    ASSERT_NE(mat, nullptr);
    const Material* first = mat;
    glFinish();

    // The arms: 20 pixels across around x = 20 near row 12 (y down), and
    // none of it at the far side of the window.
    int across = 0;
    for (int row = 10; row <= 14; ++row) across += LitInRow(row, 12, 28);
    EXPECT_GE(across, 15);
    for (int row = 0; row < HEIGHT; ++row) {
        EXPECT_EQ(LitInRow(row, 40, WIDTH - 1), 0) << "row " << row;
    }
    EXPECT_GE(LitInRow(4, 18, 22) + LitInRow(20, 18, 22), 2) << "the vertical arm";

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(after[i], before[i]);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    mouse.Draw();
    EXPECT_EQ(mat, first) << "the material is made once";
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace
