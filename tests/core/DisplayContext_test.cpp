#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include "core/Display.h"
#include "core/System.h"
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

}  // namespace
