#include "render/Texture.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/RenderFiles.h"
#include "support/GLContext.h"

namespace {

class TextureTest : public ::testing::Test {
protected:
    RenderScratch scratch;
};

// Colour of pixel (x, y) of a loaded 24-bit surface as 0xRRGGBB.
std::uint32_t Pixel(const SDL_Surface* s, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + 3 * x;
    return p[2] << 16 | p[1] << 8 | p[0];
}

TEST_F(TextureTest, LoadTracesTheImageAndKeepsItsPath) {
    WriteBmp("images/c.bmp", 2, 1, 24, {1, 2, 3, 4, 5, 6});
    Texture texture;
    TraceCapture trace;
    ASSERT_TRUE(texture.Load("images/c.bmp"));
    EXPECT_STREQ(texture.name, "images/c.bmp");
    ASSERT_NE(texture.surface, nullptr);
    EXPECT_EQ(Pixel(texture.surface, 1, 0), 0x060504u);
    EXPECT_EQ(trace.str(),
              "Loaded texture images/c.bmp\nw=2\nh=1\nbitsperpixel=24\nbytesperpixel=3\npitch=8\n");
    EXPECT_FALSE(texture.made);
}

TEST_F(TextureTest, FailuresAndMipMapsTraceOneLine) {
    WriteText("images/text.bmp", "not a picture");
    WriteBmp("images/m.bmp", 4, 4, 8, std::vector<std::uint8_t>(16, 7));
    Texture missing, text, mip, missingMip;
    TraceCapture trace;
    EXPECT_FALSE(missing.Load("images/none.bmp"));
    EXPECT_FALSE(text.Load("images/text.bmp"));
    EXPECT_TRUE(mip.LoadMipMap("images/m.bmp", 3, 4));
    EXPECT_FALSE(missingMip.LoadMipMap("images/none.bmp", 3, 4));
    EXPECT_EQ(missing.surface, nullptr);
    EXPECT_EQ(trace.str(),
              "Failed to load texture images/none.bmp\n"
              "Failed to load texture images/text.bmp\n"
              "Loaded mipmap texture images/m.bmp\n"
              "Failed to load mipmap texture images/none.bmp\n");
}

TEST_F(TextureTest, PathLongerThanTheNameBufferIsRefused) {
    // The file exists and is a good image: only the length stops it.
    const std::string path = "images/" + std::string(200, 'p') + ".bmp";
    WriteBmp(path, 1, 1, 24, {0, 0, 0});
    Texture texture;
    TraceCapture trace;
    EXPECT_FALSE(texture.Load(path.c_str()));
    EXPECT_FALSE(texture.LoadMipMap(path.c_str(), 0, 0));
    EXPECT_EQ(texture.surface, nullptr);
    EXPECT_STREQ(texture.name, "");
    EXPECT_NE(trace.str().find("Failed to load texture " + path), std::string::npos);
    EXPECT_NE(trace.str().find("texture path of 211 characters refused"), std::string::npos);

    const std::string longest = "images/" + std::string(Texture::MAX_PATH - 11, 'q') + ".bmp";
    WriteBmp(longest, 1, 1, 24, {0, 0, 0});
    EXPECT_TRUE(texture.Load(longest.c_str()));
    EXPECT_EQ(texture.name, longest);
}

TEST_F(TextureTest, OtherDepthsBecomeBgr24) {
    // 32-bit: blue, green, red, alpha per pixel.
    WriteBmp("images/32.bmp", 2, 1, 32, {0x30, 0x20, 0x10, 0xFF, 0x60, 0x50, 0x40, 0xFF});
    // 4-bit: SDL widens it to 8 bits of palette indices, which are not grey levels.
    WriteBmp("images/4.bmp", 2, 1, 4, {0x10}, {0x112233, 0xAABBCC});
    Texture wide, narrow;
    ASSERT_TRUE(wide.Load("images/32.bmp"));
    ASSERT_TRUE(narrow.Load("images/4.bmp"));
    for (const Texture* t : {&wide, &narrow}) {
        EXPECT_EQ(t->surface->format->BitsPerPixel, 24) << t->name;
        EXPECT_EQ(t->surface->format->BytesPerPixel, 3) << t->name;
    }
    EXPECT_EQ(Pixel(wide.surface, 0, 0), 0x102030u);
    EXPECT_EQ(Pixel(wide.surface, 1, 0), 0x405060u);
    EXPECT_EQ(Pixel(narrow.surface, 0, 0), 0xAABBCCu);
    EXPECT_EQ(Pixel(narrow.surface, 1, 0), 0x112233u);
}

class TextureGLTest : public GLTest {
protected:
    RenderScratch scratch;

    static GLint Level(GLenum what) {
        GLint value = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
        return value;
    }
};

TEST_F(TextureGLTest, TexIdMakesOneObject) {
    WriteBmp("images/a.bmp", 4, 4, 24, std::vector<std::uint8_t>(48, 9));
    Texture texture;
    ASSERT_TRUE(texture.Load("images/a.bmp"));
    const GLuint first = texture.TexID();
    const GLuint second = texture.TexID();
    EXPECT_NE(first, 0u);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(texture.made);
    EXPECT_TRUE(glIsTexture(first));
}

TEST_F(TextureGLTest, GreyImageIsOneComponentLuminanceAndColourIsBgr) {
    // Width 3: the loader pads every row to four bytes, which GL must not see.
    WriteBmp("images/grey.bmp", 3, 2, 8, {0, 100, 255, 10, 20, 30});
    WriteBmp("images/colour.bmp", 3, 2, 24,
             {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    Texture grey, colour;
    ASSERT_TRUE(grey.Load("images/grey.bmp"));
    ASSERT_TRUE(colour.Load("images/colour.bmp"));
    ASSERT_NE(grey.surface->pitch, 3);
    ASSERT_NE(colour.surface->pitch, 9);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);

    glBindTexture(GL_TEXTURE_2D, grey.TexID());
    EXPECT_TRUE(Level(GL_TEXTURE_INTERNAL_FORMAT) == 1 ||
                Level(GL_TEXTURE_INTERNAL_FORMAT) == GL_LUMINANCE);
    EXPECT_GT(Level(GL_TEXTURE_LUMINANCE_SIZE), 0);
    EXPECT_EQ(Level(GL_TEXTURE_RED_SIZE), 0);
    std::vector<std::uint8_t> levels(6);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, levels.data());
    EXPECT_EQ(levels, (std::vector<std::uint8_t>{0, 100, 255, 10, 20, 30}));

    glBindTexture(GL_TEXTURE_2D, colour.TexID());
    EXPECT_TRUE(Level(GL_TEXTURE_INTERNAL_FORMAT) == 3 ||
                Level(GL_TEXTURE_INTERNAL_FORMAT) == GL_RGB);
    EXPECT_GT(Level(GL_TEXTURE_BLUE_SIZE), 0);
    EXPECT_EQ(Level(GL_TEXTURE_LUMINANCE_SIZE), 0);
    EXPECT_EQ(Level(GL_TEXTURE_ALPHA_SIZE), 0);
    std::vector<std::uint8_t> bgr(18);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, bgr.data());
    EXPECT_EQ(bgr, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16,
                                              17, 18, 19}));
    std::vector<std::uint8_t> rgb(3);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    EXPECT_EQ(rgb, (std::vector<std::uint8_t>{3, 2, 1})) << "the file's bytes are blue first";
}

TEST_F(TextureGLTest, HeightTexturesAddUpToThreeQuarters) {
    // Two rows of three: the second starts at the loader's padded pitch.
    WriteBmp("images/h.bmp", 3, 2, 8, {0, 255, 128, 64, 255, 0});
    Texture texture;
    ASSERT_TRUE(texture.Load("images/h.bmp"));
    const GLuint positive = texture.TexIDPositive();
    const GLuint negative = texture.TexIDNegative();
    EXPECT_EQ(texture.TexIDPositive(), positive);
    EXPECT_EQ(texture.TexIDNegative(), negative);
    EXPECT_NE(positive, negative);
    EXPECT_FALSE(texture.made) << "the ordinary image is a separate object";

    // One component of probably 8 bits: within a step of the stored value.
    const float step = 1.0f / 255;
    const float positiveHeights[6] = {0, 0.74707031f, 0.375f, 0.1875f, 0.74707031f, 0};
    float heights[6];
    glBindTexture(GL_TEXTURE_2D, positive);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 3);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_FLOAT, heights);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(heights[i], positiveHeights[i], step) << i;
    glBindTexture(GL_TEXTURE_2D, negative);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_FLOAT, heights);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(heights[i], 0.75f - positiveHeights[i], step) << i;
    EXPECT_NEAR(heights[1], 0.00292969f, step);
}

TEST_F(TextureGLTest, ColourImageHasNoHeightVersions) {
    WriteBmp("images/c.bmp", 2, 2, 24, std::vector<std::uint8_t>(12, 50));
    Texture texture;
    ASSERT_TRUE(texture.Load("images/c.bmp"));
    testing::internal::CaptureStderr();
    const GLuint positive = texture.TexIDPositive();
    const GLuint negative = texture.TexIDNegative();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Can't make positive of multi-component texture\n"
              "Can't make negative of multi-component texture\n");
    EXPECT_TRUE(texture.positiveMade);
    EXPECT_TRUE(texture.negativeMade);
    glBindTexture(GL_TEXTURE_2D, positive);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0) << "the object is left without an image";
    testing::internal::CaptureStderr();
    EXPECT_EQ(texture.TexIDNegative(), negative);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "said once";
}

}  // namespace
