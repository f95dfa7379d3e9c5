#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include "core/Display.h"
#include "core/Clock.h"
#include "core/System.h"
#include "render/Material.h"
#include "render/Texture.h"
#include "support/GLContext.h"

namespace {

class DisplayContextTest : public GLTest {};

TEST_F(DisplayContextTest, TexturesAreMadeAgainInANewContextOnly) {
    Display display;
    Texture texture;
    texture.surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 8, 0, 0, 0, 0);
    display.textures.Add(&texture);
    display.CheckContext();
    texture.TexID();
    display.CheckContext();  // the same context: nothing to make again
    EXPECT_EQ(display.contextGeneration, 1);
    EXPECT_TRUE(texture.made);

    ASSERT_TRUE(Reopen()) << SDL_GetError();
    display.CheckContext();
    // The game's own display forgets the textures it lent the tests before.
    if (System::instance()->display != nullptr) System::instance()->display->CheckContext();
    EXPECT_EQ(display.contextGeneration, 2);
    EXPECT_FALSE(texture.made);
    EXPECT_TRUE(glIsTexture(texture.TexID()));

    display.textures.count = 0;
    SDL_FreeSurface(texture.surface);
}

// Listed frames that failed to load leave the list short: the frame counter
// may point past the ones loaded, and the first is shown then.
TEST_F(DisplayContextTest, AFrameThatDidNotLoadShowsTheFirst) {
    Texture frames[2];
    Material material;
    material.textured = true;
    material.frameCount = 3;
    for (Texture& t : frames) {
        t.surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 24, 0xFF, 0xFF00, 0xFF0000, 0);
        material.frames.Add(&t);
    }
    for (const int at : {1, 2, -1}) {
        material.currentFrame = at;
        material.lastFrameTime = System::instance()->clock->time;  // no step to the next frame
        material.current(true);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<unsigned>(bound), frames[at == 1 ? 1 : 0].TexID()) << at;
    }
    for (Texture& t : frames) SDL_FreeSurface(t.surface);
}

}  // namespace
