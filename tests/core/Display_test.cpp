#include "core/Display.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/DisplayOpts.h"
#include "core/System.h"
#include "core/WordReader.h"
#include "render/Texture.h"
#include "scene/DirectionalLight.h"
#include "support/DisplayGuard.h"
#include "support/GLContext.h"
#include "support/Near.h"

namespace {

TEST(Display, ShadowMatricesFlattenAlongLightZeroEachALittleLower) {
    DisplayGuard display;
    DirectionalLight sun(Vector3(1, 1, 1), Vector3(1, -2, 0.5f));
    display->lights.Add(&sun);
    display->CreateShadowMatrix();
    for (int i : {0, 1, 39}) EXPECT_TRUE(Near(ShadMtx[i] * Vector3(10, 20, 30), Vector3(20, -i / 40.0f, 35))) << i;
    // A light that never reaches the floor flattens nothing.
    sun.direction = Vector3(1, 0, 0);
    display->CreateShadowMatrix();
    Matrix identity;
    identity.CreateIdentity();
    for (const Matrix& m : ShadMtx) EXPECT_TRUE(Near(m, identity, 0));
}

using DisplayContextTest = GLTest;

TEST_F(DisplayContextTest, TexturesAreMadeAgainInANewContextOnly) {
    Display display;
    Texture texture;
    texture.surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 8, 0, 0, 0, 0);
    display.textures.Add(&texture);
    display.CheckContext();
    texture.TexID();
    display.CheckContext();  // the same context: nothing to make again
    EXPECT_TRUE(display.contextGeneration == 1 && texture.made);
    ASSERT_TRUE(Reopen()) << SDL_GetError();
    display.CheckContext();
    // The game's own display forgets the textures it lent the tests before.
    if (System::instance()->display != nullptr) System::instance()->display->CheckContext();
    EXPECT_TRUE(display.contextGeneration == 2 && !texture.made && glIsTexture(texture.TexID()));
    display.textures.count = 0;
    SDL_FreeSurface(texture.surface);
}

const char* const VALID =
    "driver OpenGL by Mesa 3D\nacceleration 1\nsize 800 600 32\ndblbuff 1\nzbuff 24\ndither 0\nfilter 1\nwindowed 0\n";

// The valid file with the first `from` replaced, read into `opts`.
bool Load(DisplayOpts& opts, const std::string& from = "", const std::string& to = "") {
    std::string text = VALID;
    if (!from.empty()) text.replace(text.find(from), from.size(), to);
    std::istringstream in(text);
    WordReader reader(in, "device.cfg");
    return opts.Read(reader);
}

TEST(DisplayOpts, ReadsEveryLine) {
    DisplayOpts opts;
    ASSERT_TRUE(Load(opts)) << opts.problem;
    EXPECT_TRUE(opts.driver == "OpenGL by Mesa 3D" && opts.height == 600 && opts.fullscreen)
        << "the driver is the whole rest of the line, spaces included";
    EXPECT_TRUE(Load(opts, "size 800 600 32\n", "size 640\n480 16 ") && opts.height == 480) << opts.problem;
    EXPECT_TRUE(Load(opts, "800 600 32", "16384 16384 0")) << "the largest window is allowed";
    EXPECT_TRUE(Load(opts, "OpenGL by Mesa 3D", std::string(300, 'd')) && opts.driver == std::string(99, 'd'))
        << "a long driver line is cut, not overflowed";
}

// Each way the file can be wrong, with the line that says where.
const struct {
    const char* from;
    const char* to;
    const char* problem;
} BROKEN[] = {
    {"driver", "Driver", "device.cfg:1: expected 'driver', found 'Driver'"},
    {"size", "sise", "device.cfg:3: expected 'size', found 'sise'"},
    {"zbuff", "ZBUFF", "device.cfg:5: expected 'zbuff', found 'ZBUFF'"},
    {"windowed", "window", "device.cfg:8: expected 'windowed', found 'window'"},
    {"dblbuff 1\nzbuff 24\ndither 0\nfilter 1\nwindowed 0\n", "",
     "device.cfg:4: expected 'dblbuff', found the end of the file"},
    {"size 800", "size eight", "device.cfg:3: expected a whole number, found 'eight'"},
    {"windowed 0", "windowed yes", "device.cfg:8: expected a whole number, found 'yes'"},
    {"size 800", "size 0", "device.cfg:3: expected a window of 1 to"},
    {"size 800", "size 100000", "device.cfg:3: expected a window of 1 to"},
    {"600 32", "-5 32", "device.cfg:3: expected a window of 1 to"},
    {"600 32", "600 64", "device.cfg:3: expected a window of 1 to"},
};

TEST(DisplayOpts, EachFaultIsRefusedWithTheLineAndWordThatAreWrong) {
    for (const auto& c : BROKEN) {
        DisplayOpts opts;
        EXPECT_FALSE(Load(opts, c.from, c.to)) << c.to;
        EXPECT_EQ(opts.problem.rfind(c.problem, 0), 0u) << opts.problem;
    }
    DisplayOpts opts;
    EXPECT_FALSE(Load(opts, VALID, std::string("\x7f" "ELF\x01\x02\x00\xff\xfe junk", 14)));
}

}  // namespace
