#include "render/Texture.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/GLContext.h"
#include "support/RenderFiles.h"
#include "support/TraceCapture.h"

namespace {

// Colour of pixel (x, y) of a loaded 24-bit surface as 0xRRGGBB.
std::uint32_t Colour(const SDL_Surface* s, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + 3 * x;
    return p[2] << 16 | p[1] << 8 | p[0];
}

class TextureTest : public ::testing::Test {
protected:
    RenderScratch scratch;
};

TEST_F(TextureTest, LoadsBmpFilesOfEveryDepthAsGreyOrBgr24) {
    WriteBmp("images/24.bmp", 2, 1, 24, {1, 2, 3, 4, 5, 6});
    // 32-bit: blue, green, red, alpha per pixel.
    WriteBmp("images/32.bmp", 2, 1, 32, {0x30, 0x20, 0x10, 0xFF, 0x60, 0x50, 0x40, 0xFF});
    // 4-bit: SDL widens it to 8 bits of palette indices, which are not grey levels.
    WriteBmp("images/4.bmp", 2, 1, 4, {0x10}, {0x112233, 0xAABBCC});
    const struct {
        const char* path;
        std::uint32_t first, second;
    } images[] = {{"images/24.bmp", 0x030201, 0x060504},
                  {"images/32.bmp", 0x102030, 0x405060},
                  {"images/4.bmp", 0xAABBCC, 0x112233}};
    for (const auto& image : images) {
        Texture texture;
        ASSERT_TRUE(texture.Load(image.path) && texture.surface->format->BitsPerPixel == 24) << image.path;
        EXPECT_TRUE(Colour(texture.surface, 0, 0) == image.first && Colour(texture.surface, 1, 0) == image.second)
            << image.path;
    }
}

// A 54-byte header and no pixels: 800 x 9, a bit count of 38424 and
// bit-field compression. SDL's loader accepts it and hands back a surface
// whose format does not describe its (absent) pixels.
std::string CraftedHeader() {
    std::string bytes = "BM";
    auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
    };
    put(54, 4), put(0, 4), put(54, 4), put(40, 4), put(800, 4), put(9, 4), put(1, 2);
    put(38424, 2), put(3, 4);
    return bytes + std::string(20, '\0');
}

TEST_F(TextureTest, MissingFilesPicturesThatAreNotCraftedHeadersAndOverlongPathsAreRefused) {
    WriteFile("images/text.bmp", "not a picture");
    WriteFile("images/crafted.bmp", CraftedHeader());
    const std::string tooLong = "images/" + std::string(200, 'p') + ".bmp";
    WriteBmp(tooLong, 1, 1, 24, {0, 0, 0});
    TraceCapture trace;
    for (const std::string& path : {std::string("images/none.bmp"), std::string("images/text.bmp"),
                                    std::string("images/crafted.bmp"), tooLong}) {
        Texture texture;
        EXPECT_FALSE(texture.Load(path.c_str()) || texture.LoadMipMap(path.c_str(), 0, 0) || texture.surface) << path;
    }
    const std::string longest = "images/" + std::string(Texture::MAX_PATH - 11, 'q') + ".bmp";
    WriteBmp(longest, 1, 1, 24, {0, 0, 0});
    Texture texture;
    EXPECT_TRUE(texture.Load(longest.c_str()));
}

class TextureGLTest : public GLTest {
protected:
    static GLint Level(GLenum what) {
        GLint value = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
        return value;
    }
    RenderScratch scratch;
};

TEST_F(TextureGLTest, GreyImagesBecomeLuminanceAndColourOnesBgrOnceEachWhateverTheCallersPixelStore) {
    // Width 3: the loader pads every row to four bytes, which GL must not see.
    WriteBmp("images/grey.bmp", 3, 2, 8, {0, 100, 255, 10, 20, 30});
    WriteBmp("images/colour.bmp", 3, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    Texture grey, colour;
    ASSERT_TRUE(grey.Load("images/grey.bmp") && colour.Load("images/colour.bmp"));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const GLuint id = grey.TexID();
    EXPECT_EQ(grey.TexID(), id) << "one GL object, made once";
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8) << "the caller's pixel-store state is given back";
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const struct {
        GLuint id;
        GLenum format;
        bool luminance;
        std::vector<std::uint8_t> pixels;
    } textures[] = {{id, GL_LUMINANCE, true, {0, 100, 255, 10, 20, 30}},
                    {colour.TexID(), GL_BGR, false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19}}};
    for (const auto& t : textures) {
        glBindTexture(GL_TEXTURE_2D, t.id);
        std::vector<std::uint8_t> read(t.pixels.size());
        glGetTexImage(GL_TEXTURE_2D, 0, t.format, GL_UNSIGNED_BYTE, read.data());
        EXPECT_TRUE(read == t.pixels && (Level(GL_TEXTURE_LUMINANCE_SIZE) > 0) == t.luminance) << t.luminance;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

TEST_F(TextureGLTest, HeightTexturesAddUpToThreeQuarters) {
    // Two rows of three: the second starts at the loader's padded pitch.
    WriteBmp("images/h.bmp", 3, 2, 8, {0, 255, 128, 64, 255, 0});
    Texture texture;
    ASSERT_TRUE(texture.Load("images/h.bmp"));
    const GLuint positive = texture.TexIDPositive(), negative = texture.TexIDNegative();
    EXPECT_TRUE(texture.TexIDPositive() == positive && positive != negative);
    const float heights[6] = {0, 0.74707031f, 0.375f, 0.1875f, 0.74707031f, 0};
    for (const GLuint id : {positive, negative}) {
        float read[6];
        glBindTexture(GL_TEXTURE_2D, id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_FLOAT, read);
        for (int i = 0; i < 6; ++i) {  // within one step of an 8-bit component
            EXPECT_NEAR(read[i], id == positive ? heights[i] : 0.75f - heights[i], 1.0f / 255) << i;
        }
    }
}

}  // namespace
