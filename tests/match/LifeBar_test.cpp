#include "match/LifeBar.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "render/Material.h"
#include "support/DisplayGuard.h"
#include "support/GLContext.h"
#include "support/Screenshot.h"

namespace {

TEST(LifeBar, LifeStaysBetweenZeroAndAHundredAndOnePointIsAlive) {
    LifeBar bar(0);
    bar -= 150;
    EXPECT_TRUE(bar.value == 0 && bar.Dead());
    bar += 130;
    EXPECT_EQ(bar.value, 100);
    bar -= 99;
    EXPECT_FALSE(bar.Dead());
}

TEST(LifeBar, AQuarterOfTheScreenATwentiethInFromItsSideInWholePixels) {
    const struct {
        int player, width, life;
        LifeBar::Span span;
    } cases[] = {
        {0, 800, 100, {40, 240, 240}},    {1, 800, 100, {560, 760, 760}},
        {0, 800, 50, {40, 140, 240}},     {1, 800, 50, {560, 660, 760}},
        {0, 800, 0, {40, 40, 240}},       // no life, no filled part
        {0, 1023, 100, {51, 306, 306}},   // a quarter of 1023 is 255.75, a twentieth 51.15
        {1, 1023, 33, {717, 801, 972}},   // 255 × 33 / 100 = 84.15
    };
    for (const auto& c : cases) {
        LifeBar bar(c.player);
        bar.value = c.life;
        const LifeBar::Span s = bar.Edges(c.width);
        EXPECT_TRUE(s.left == c.span.left && s.fill == c.span.fill && s.right == c.span.right)
            << c.player << " " << c.width << " " << c.life << ": " << s.left << " " << s.fill << " " << s.right;
    }
}

// In the 64-pixel window a bar is 16 pixels long and 3 in from its side,
// between rows 20 and 40 from the top.
class LifeBarDraw : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glClearColor(0.5f, 0.5f, 0.5f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The colour at column x of row 30 from the top.
    static Pixel At(int x) { return ReadPixel(x, HEIGHT - 1 - 30); }
    static bool IsBackground(int x) { return std::abs(At(x).r - 128) < 8 && std::abs(At(x).g - 128) < 8; }
    static bool IsBlack(int x) { return At(x).Sum() < 30; }
    DisplayGuard display;
};

TEST_F(LifeBarDraw, FadesFromWhiteToTheLifeColourInsideABlackFrame) {
    LifeBar full(0);
    full.Draw();
    SaveShot("lifebar");
    EXPECT_GT(std::min({At(4).r, At(4).g, At(4).b}), 200) << "white at the start";
    EXPECT_TRUE(At(17).b > 200 && At(17).r + At(17).g < 160) << "full life ends in blue";
    LifeBar low(1);  // from 45 to 61
    low -= 75;       // filled to 49
    low.Draw();
    EXPECT_GT(At(48).r, At(48).b + 60) << "a quarter of life leans to red";
    EXPECT_TRUE(IsBackground(55)) << "no fill beyond the life left";
    glClear(GL_COLOR_BUFFER_BIT);
    low -= 25;
    low.Draw();
    LifeBar().Draw();  // a bar without a player is not drawn
    int black = 0, background = 0;
    for (int x = 0; x < WIDTH; ++x) {
        black += IsBlack(x);
        background += IsBackground(x);
    }
    EXPECT_TRUE(black == 2 && background == WIDTH - 2) << "only the frame's two sides cross the middle row";
}

}  // namespace
