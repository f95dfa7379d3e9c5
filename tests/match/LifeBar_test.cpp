#include "match/LifeBar.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "core/Display.h"
#include "core/System.h"
#include "render/Material.h"
#include "support/GLContext.h"

namespace {

TEST(LifeBar, LifeStaysBetweenZeroAndAHundred) {
    LifeBar bar(0);
    EXPECT_EQ(bar.value, 100);
    EXPECT_FALSE(bar.Dead());
    bar -= 150;
    EXPECT_EQ(bar.value, 0);
    EXPECT_TRUE(bar.Dead());

    bar += 30;
    EXPECT_EQ(bar.value, 30);
    bar += 90;
    EXPECT_EQ(bar.value, 100);
    bar -= 99;
    EXPECT_FALSE(bar.Dead()) << "one point of life is still alive";
    bar -= 1;
    EXPECT_TRUE(bar.Dead());
    bar.Reset();
    EXPECT_EQ(bar.value, 100);
}

TEST(LifeBar, APlayersBarHasItsOwnTranslucentWhiteMaterial) {
    const LifeBar bar(1);
    EXPECT_EQ(bar.player, 1);
    ASSERT_NE(bar.material, nullptr);
    EXPECT_EQ(bar.material->emission, Vector3(1, 1, 1));
    EXPECT_FLOAT_EQ(bar.material->alpha, 0.6f);
    EXPECT_EQ(bar.material->blendType, 2);
    EXPECT_EQ(bar.material->diffuse, Material().diffuse);

    const LifeBar nobodys;
    EXPECT_EQ(nobodys.player, -1);
    EXPECT_EQ(nobodys.material, nullptr);
    EXPECT_EQ(nobodys.value, 100);
}

TEST(LifeBar, EdgesAtEightHundredPixels) {
    LifeBar left(0);
    LifeBar right(1);
    LifeBar::Span s = left.Edges(800);
    EXPECT_EQ(s.left, 40);
    EXPECT_EQ(s.fill, 240);
    EXPECT_EQ(s.right, 240);
    s = right.Edges(800);
    EXPECT_EQ(s.left, 560);
    EXPECT_EQ(s.fill, 760);
    EXPECT_EQ(s.right, 760);

    left -= 50;
    right -= 50;
    EXPECT_EQ(left.Edges(800).fill, 140);
    EXPECT_EQ(right.Edges(800).fill, 660);
    EXPECT_EQ(right.Edges(800).right, 760) << "the frame keeps the full length";

    left -= 100;
    s = left.Edges(800);
    EXPECT_EQ(s.fill, s.left) << "no life, no filled part";
    EXPECT_EQ(s.right, 240);
}

TEST(LifeBar, EdgesAreTruncatedToWholePixels) {
    LifeBar left(0);
    LifeBar right(1);
    // A quarter of 1023 is 255.75, a twentieth 51.15.
    EXPECT_EQ(left.Edges(1023).left, 51);
    EXPECT_EQ(left.Edges(1023).right, 306);
    EXPECT_EQ(right.Edges(1023).left, 1023 - 255 - 51);
    right -= 67;  // 255 × 33 / 100 = 84.15
    EXPECT_EQ(right.Edges(1023).fill, 717 + 84);
}

// Draws into the 64x64 test window with the display set to its size: the bar
// is 16 pixels long and 3 in from the side, between rows 20 and 40 from the top.
class LifeBarDraw : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        saved = System::instance()->display;
        System::instance()->display = &display;
        display.width = WIDTH;
        display.height = HEIGHT;
        glViewport(0, 0, WIDTH, HEIGHT);
        glDisable(GL_TEXTURE_2D);
        glClearColor(0.5f, 0.5f, 0.5f, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void TearDown() override {
        if (saved != nullptr) System::instance()->display = saved;
    }

    // The colour at column x and row y counted from the top, 0 to 255 each.
    static void Pixel(int x, int y, unsigned char rgb[3]) {
        unsigned char rgba[4];
        glReadPixels(x, HEIGHT - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        std::memcpy(rgb, rgba, 3);
    }
    static bool IsBackground(int x, int y) {
        unsigned char c[3];
        Pixel(x, y, c);
        return c[0] > 120 && c[0] < 136 && c[1] > 120 && c[1] < 136;
    }
    static bool IsBlack(int x, int y) {
        unsigned char c[3];
        Pixel(x, y, c);
        return c[0] < 10 && c[1] < 10 && c[2] < 10;
    }

    Display display;
    Display* saved = nullptr;
};

TEST_F(LifeBarDraw, FadesFromWhiteToTheLifeColourInsideABlackFrame) {
    LifeBar bar(0);
    bar.Draw();
    unsigned char c[3];
    Pixel(4, 30, c);
    EXPECT_GT(c[0], 200);
    EXPECT_GT(c[1], 200);
    EXPECT_GT(c[2], 200);
    Pixel(17, 30, c);
    EXPECT_GT(c[2], 200) << "full life ends in blue";
    EXPECT_LT(c[0], 80);
    EXPECT_LT(c[1], 80);

    EXPECT_TRUE(IsBlack(10, 20) || IsBlack(10, 19)) << "top of the frame";
    EXPECT_TRUE(IsBlack(10, 40) || IsBlack(10, 39)) << "bottom of the frame";
    EXPECT_TRUE(IsBackground(10, 45)) << "nothing drawn below the bar";
}

TEST_F(LifeBarDraw, LowLifeTurnsRedAndEmptyLifeShowsOnlyTheFrame) {
    LifeBar bar(1);  // from 45 to 61
    bar -= 75;       // filled to 49
    bar.Draw();
    unsigned char c[3];
    Pixel(48, 30, c);
    EXPECT_GT(c[0], c[2] + 60) << "a quarter of life leans to red";
    EXPECT_LT(c[1], 100);
    EXPECT_TRUE(IsBackground(55, 30)) << "no fill beyond the life left";

    glClear(GL_COLOR_BUFFER_BIT);
    bar -= 25;
    bar.Draw();
    int black = 0;
    for (int x = 0; x < WIDTH; ++x) black += IsBlack(x, 30) ? 1 : 0;
    EXPECT_EQ(black, 2) << "only the frame's two sides cross the middle row";
    EXPECT_TRUE(IsBlack(44, 30) || IsBlack(45, 30));
    EXPECT_TRUE(IsBlack(60, 30) || IsBlack(61, 30));
}

TEST_F(LifeBarDraw, LeavesTheMatricesAndDepthTestAsTheyWere) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2, 3, 4);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5, 6, 7);
    glEnable(GL_DEPTH_TEST);

    LifeBar(0).Draw();

    GLfloat projection[16];
    GLfloat modelView[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    EXPECT_FLOAT_EQ(projection[5], 3);
    EXPECT_FLOAT_EQ(modelView[14], 7);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

TEST_F(LifeBarDraw, ABarWithoutAPlayerIsNotDrawn) {
    LifeBar().Draw();
    int background = 0;
    for (int x = 0; x < WIDTH; ++x) background += IsBackground(x, 30) ? 1 : 0;
    EXPECT_EQ(background, +WIDTH);
}

}  // namespace
