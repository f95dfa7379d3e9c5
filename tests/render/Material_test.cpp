#include "render/Material.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "render/Texture.h"
#include "support/ClockGuard.h"
#include "support/GLContext.h"
#include "support/RenderFiles.h"
#include "support/Screenshot.h"
#include "support/TraceCapture.h"

namespace {

const char* const COLOURS = " 0.1 0.2 0.3\ndiff 0.4 0.5 0.6\nemis 0.7 0.8 0.9\nspec 1 0.5 0.25\nshine 12\n";

// A long-form file: image word, scale, offsets, mapping, wrap flags, colours, tail.
std::string LongForm(const std::string& image, const std::string& flags = "true false",
                     const std::string& tail = "", const std::string& ambi = "ambi") {
    return image + "\n2 3\n0.25 0.5 PLANARY " + flags + "\n" + ambi + COLOURS + tail;
}
std::string ShortForm(const std::string& image, const std::string& tail = "") {
    return image + "\n2 3\nambi" + COLOURS + tail;
}

void WriteImage(const std::string& name) {
    WriteBmp("images/" + name, 2, 2, 24, std::vector<std::uint8_t>(12, 200));
}

Material Read(const std::string& text) {
    WriteFile("materials/m.mat", text);
    return Material("materials/m.mat");
}

class MaterialTest : public ::testing::Test {
protected:
    RenderScratch scratch;
};

TEST_F(MaterialTest, TheShortFormMapsAroundACylinderAndTheLongFormSaysHow) {
    WriteImage("a.bmp");
    const Material s = Read(ShortForm("a.bmp"));
    EXPECT_TRUE(s.mapType == "CYL" && s.clampR && s.seamSplit && !s.clampS && s.emission == Vector3(0.7f, 0.8f, 0.9f));
    const Material l = Read(LongForm("-"));
    EXPECT_TRUE(l.offsetV == 0.5f && l.mapType == "PLANARY" && !l.textured);
    EXPECT_TRUE(Read("- 4 5 0.5").clampR) << "a file cut short keeps the defaults after it";
}

TEST_F(MaterialTest, EachClauseIsReadAsTheWordsBeforeItAllow) {
    const struct {
        std::string text;
        bool clampS;
        float alpha;
        int blendType;
        bool keyed;
    } cases[] = {
        {LongForm("-", "1 true"), true, 1, 0, false},
        {LongForm("-", "TRUE yes"), false, 1, 0, false},  // only "true" or 1 sets a flag
        {LongForm("-", "0 0", "alpha 0.5 type SRCALPHA colorkey 0"), false, 0.5f, 2, true},
        {LongForm("-", "0 0", "alpha 0.75 type SRCCOLOR colorkey -1"), false, 0.75f, 3, false},
        {LongForm("-", "0 0", "alpha 0.75 type ADD"), false, 0.75f, 0, false},
        // Short form: no blend word, so the colour key follows the value at once.
        {ShortForm("-", "alpha 0.25 colorkey 3"), false, 0.25f, 0, true},
        // The word after the shininess is taken as the alpha clause's place.
        {ShortForm("-", "colorkey 3"), false, 1, 0, false},
        {ShortForm("-", "beta colorkey 3"), false, 1, 0, true},
        // A wrong word before the colours is said and read on.
        {LongForm("-", "0 0", "alpha 0.5 type ONE", "amb"), false, 0.5f, 1, false},
    };
    for (const auto& c : cases) {
        TraceCapture trace;
        const Material m = Read(c.text);
        EXPECT_TRUE(m.clampS == c.clampS && m.alpha == c.alpha && m.blendType == c.blendType &&
                    m.colorKeyed == c.keyed && m.specular == Vector3(1, 0.5f, 0.25f)) << c.text;
        EXPECT_EQ(trace.Has("materials/m.mat:4: expected 'ambi'"), c.text.find("amb ") != std::string::npos);
    }
    EXPECT_EXIT(Material("materials/none.mat"), ::testing::ExitedWithCode(255),
                "materials/none.mat: cannot be opened\n");
    EXPECT_EXIT(Read(LongForm("-", "0 0", "alpha 0.5\nSRCALPHA")), ::testing::ExitedWithCode(255),
                "materials/m.mat:10: expected 'type' after the alpha value, found 'SRCALPHA'\n");
}

TEST_F(MaterialTest, ImagesAreSharedByPathPrefixedAndListedAndWhatIsNoPictureIsNotKept) {
    WriteImage("a.bmp");
    WriteImage("sky.bmp");
    const struct {
        std::string image;
        bool mipmap, bump, water;
        int frames;
    } cases[] = {
        {"a.bmp", false, false, false, 1},
        {"MIPMAP 64 64 a.bmp", true, false, false, 1},
        {"BUMP a.bmp", false, true, false, 1},
        {"WATER a.bmp sky.bmp", false, false, true, 1},
        {"WATER a.bmp nosky.bmp", false, false, false, 1},  // without its reflection: plain
        {"junk.bmp", false, false, false, 0},
        {"missing.bmp", false, false, false, 0},
    };
    WriteFile("images/junk.bmp", "junk");
    for (const auto& c : cases) {
        const Material m = Read(LongForm(c.image));
        EXPECT_TRUE(m.mipmap == c.mipmap && m.bump == c.bump && (m.water && m.reflectionTexture) == c.water) << c.image;
        ASSERT_EQ(m.frames.count, c.frames) << c.image;
        if (c.frames > 0) { EXPECT_STREQ(m.frames[0]->name, "images/a.bmp") << c.image; }
    }
    EXPECT_EQ(scratch.display->textures.count, 2) << "a.bmp and sky.bmp, each once";
    WriteFile("images/list.bml", "3\nf0.bmp a.bmp\nsky.bmp");
    EXPECT_EQ(Read(ShortForm("list.bml")).frames.count, 2) << "the frames that load";
    std::string twenty = "20";
    for (int i = 0; i < 20; ++i) twenty += " a.bmp";
    WriteFile("images/list.bml", twenty);
    EXPECT_EQ(Read(ShortForm("list.bml")).frames.count, 15);
    const std::string kept(Texture::MAX_PATH - 7, 'i');
    WriteImage(kept);
    const Material cut = Read(ShortForm(kept + std::string(300, 'x')));
    EXPECT_TRUE(cut.frames[0]->name == "images/" + kept && cut.scaleU == 2)
        << "an overlong word is cut to the path, and the rest skipped, not read as numbers";
}

class MaterialGLTest : public GLTest {
protected:
    static GLuint Bound() {
        GLint id = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
        return static_cast<GLuint>(id);
    }
    static GLint Level(GLenum what) {
        GLint value = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
        return value;
    }
    RenderScratch scratch;
    ClockGuard clock;
};

TEST_F(MaterialGLTest, AnimatedFramesFollowTheGameClock) {
    for (int i = 0; i < 3; ++i) WriteImage("f" + std::to_string(i) + ".bmp");
    WriteFile("images/junk.bmp", "no picture");
    WriteFile("images/four.bml", "4 f0.bmp f1.bmp f2.bmp junk.bmp");  // the last leaves a gap
    clock.At(1000);
    Material m = Read(ShortForm("four.bml"));
    const GLuint ids[3] = {m.frames[0]->TexID(), m.frames[1]->TexID(), m.frames[2]->TexID()};
    // The frame in use is bound; the change shows at the next use. The
    // fourth frame did not load: the first stands in for it.
    const struct {
        int time, bound;
    } uses[] = {{1000, 0}, {1061, 0}, {1061, 1}, {1122, 1}, {1122, 2}, {1183, 2}, {1183, 0}, {1500, 0}, {1500, 0}};
    for (const auto& use : uses) {
        clock.At(use.time);
        m.current(true);
        EXPECT_EQ(Bound(), ids[use.bound]) << "at " << use.time;
    }
}

TEST_F(MaterialGLTest, EachPassBindsItsTextureAndBlending) {
    WriteBmp("images/h.bmp", 2, 2, 8, {0, 64, 128, 255});
    WriteImage("sky.bmp");
    Material m = Read(LongForm("WATER h.bmp sky.bmp", "false true", "alpha 0.5 type SRCALPHA"));
    GLint value = 0;
    m.current(true);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && glIsEnabled(GL_BLEND) && value == GL_CLAMP);
    const struct {
        std::function<void()> pass;
        GLuint bound;
    } passes[] = {{[&] { m.currentBumpMode(1); }, m.frames[0]->TexIDPositive()},
                  {[&] { m.currentBumpMode(2); }, m.frames[0]->TexIDNegative()},
                  {[&] { m.currentWaterMode(1); }, m.reflectionTexture->TexID()},
                  {[&] { m.currentShadowMode(2); }, m.frames[0]->TexID()}};
    for (const auto& p : passes) EXPECT_EQ((p.pass(), Bound()), p.bound);
    m.currentWaterMode(3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "the dark overlay is untextured";
    scratch.display->currentMaterial = nullptr;
    m.current(false);
    m.currentShadowMode(3);
    EXPECT_EQ(scratch.display->currentMaterial, nullptr) << "off, or an unknown pass, does nothing";
}

TEST_F(MaterialGLTest, ATexturedQuadShowsTheImageTheRightWayUp) {
    // 8x8 in four 4x4 quadrants, the picture's top row first: blue, green / red, white.
    const std::uint8_t quadrant[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) pixels.insert(pixels.end(), quadrant[(y / 4) * 2 + x / 4], quadrant[(y / 4) * 2 + x / 4] + 3);
    }
    WriteBmp("images/q.bmp", 8, 8, 24, pixels);
    // Only the emission lights it, so the texture comes through unchanged.
    Material m = Read("q.bmp 1 1 ambi 0 0 0 diff 0 0 0 emis 1 1 1 spec 0 0 0 shine 0");
    glEnable(GL_LIGHTING);
    m.current(true);
    glBegin(GL_QUADS);  // v = 0 is the top of the picture
    const float corners[4][4] = {{0, 1, -1, -1}, {1, 1, 1, -1}, {1, 0, 1, 1}, {0, 0, -1, 1}};
    for (const auto& c : corners) glTexCoord2f(c[0], c[1]), glVertex2f(c[2], c[3]);
    glEnd();
    EXPECT_TRUE(ReadPixel(16, 48).r == 255 && ReadPixel(48, 48).g == 255 && ReadPixel(16, 16).b == 255 &&
                ReadPixel(48, 16).Sum() == 3 * 255);
}

// Colour of pixel (x, y) of a loaded 24-bit surface as 0xRRGGBB.
std::uint32_t Colour(const SDL_Surface* s, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + 3 * x;
    return p[2] << 16 | p[1] << 8 | p[0];
}

using TextureTest = MaterialTest;

TEST_F(TextureTest, LoadsBmpFilesOfEveryDepthAsGreyOrBgr24) {
    WriteBmp("images/24.bmp", 2, 1, 24, {1, 2, 3, 4, 5, 6});
    WriteBmp("images/32.bmp", 2, 1, 32, {0x30, 0x20, 0x10, 0xFF, 0x60, 0x50, 0x40, 0xFF});  // BGRA
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

using TextureGLTest = MaterialGLTest;

TEST_F(TextureGLTest, GreyImagesBecomeLuminanceAndColourOnesBgrOnceEachWhateverTheCallersPixelStore) {
    // Width 3: the loader pads every row to four bytes, which GL must not see.
    WriteBmp("images/grey.bmp", 3, 2, 8, {0, 100, 255, 10, 20, 30});
    WriteBmp("images/colour.bmp", 3, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19});
    Texture grey, colour;
    ASSERT_TRUE(grey.Load("images/grey.bmp") && colour.Load("images/colour.bmp"));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    const GLuint id = grey.TexID();
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_TRUE(grey.TexID() == id && alignment == 8) << "one GL object, made once; the caller's pixel store given back";
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
