#include "core/Screenshot.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/GLContext.h"
#include "support/ScratchDir.h"

namespace {

TEST(Screenshot, NamedByDateAndTimeAndNeverOverwritten) {
    ScratchDir dir;
    std::tm when{};
    when.tm_year = 2024 - 1900, when.tm_mon = 4, when.tm_mday = 1;
    when.tm_hour = 21, when.tm_min = 30, when.tm_sec = 5;
    EXPECT_EQ(Screenshot::FileName(when), "korvanthe-2024-05-01_21-30-05.bmp");
    ScratchDir::Write("korvanthe-2024-05-01_21-30-05.bmp", "");
    ScratchDir::Write("korvanthe-2024-05-01_21-30-05-2.bmp", "");
    EXPECT_EQ(Screenshot::FreePath(".", when), "./korvanthe-2024-05-01_21-30-05-3.bmp");
}

class ScreenshotTest : public GLTest {};

// The colour of a pixel of a 24-bit image, y down.
SDL_Color At(const SDL_Surface* image, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(image->pixels) + y * image->pitch + x * 3;
    SDL_Color c{};
    SDL_GetRGB(p[0] | p[1] << 8 | p[2] << 16, image->format, &c.r, &c.g, &c.b);
    return c;
}

TEST_F(ScreenshotTest, SavesTheFrameTheRightWayUp) {
    ScratchDir dir;
    setenv("XDG_PICTURES_DIR", (std::filesystem::current_path() / "shots").c_str(), 1);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, HEIGHT / 2, WIDTH, HEIGHT / 2);  // GL counts rows from the bottom
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    const std::string path = Screenshot::Take(WIDTH, HEIGHT);
    unsetenv("XDG_PICTURES_DIR");
    ASSERT_NE(path.find("/shots/korvanthe-"), std::string::npos) << path;
    SDL_Surface* image = SDL_LoadBMP(path.c_str());
    ASSERT_NE(image, nullptr) << SDL_GetError();
    ASSERT_EQ(image->format->BytesPerPixel, 3);
    EXPECT_EQ(image->w, int{WIDTH});
    EXPECT_EQ(image->h, int{HEIGHT});
    const SDL_Color top = At(image, 1, 1), bottom = At(image, 1, HEIGHT - 2);
    EXPECT_EQ(top.g, 255);
    EXPECT_EQ(top.r, 0);
    EXPECT_EQ(bottom.r, 255);
    EXPECT_EQ(bottom.g, 0);
    SDL_FreeSurface(image);
}

}  // namespace
