#include "core/Display.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include "core/System.h"
#include "math/Camera.h"
#include "render/Texture.h"
#include "scene/DirectionalLight.h"
#include "support/DisplayGuard.h"
#include "support/GLContext.h"
#include "support/Near.h"

namespace {

class DisplayTest : public ::testing::Test {
protected:
    void SetUp() override { display->camera = &camera; }  // conversions need only the camera

    DisplayGuard display{800, 600};
    Camera camera{Vector3(30, 80, -300), Vector3(10, 40, 0), Vector3(0, 1, 0), 0};
};

TEST_F(DisplayTest, AWorldPointLandsOnThePixelGLDrawsItAt) {
    EXPECT_TRUE(Near(display->WorldToScreen(camera.target), Vector3(400, 300, 1), 1e-3f));
    const Vector3 p(60, 90, 40);
    const Vector3 screen = display->WorldToScreen(p);
    EXPECT_GT(screen.x, 400) << "+x is to the right for this camera";
    EXPECT_LT(screen.y, 300) << "higher is further up the screen";
}

TEST_F(DisplayTest, ShadowMatricesFlattenAlongLightZeroEachALittleLower) {
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

}  // namespace
