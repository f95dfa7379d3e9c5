#include "render/Material.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Clock.h"
#include "render/RenderFiles.h"
#include "support/GLContext.h"

namespace {

const char* const COLOURS =
    " 0.1 0.2 0.3\n"
    "diff 0.4 0.5 0.6\n"
    "emis 0.7 0.8 0.9\n"
    "spec 1 0.5 0.25\n"
    "shine 12\n";

// A long-form file with the given image word, wrap flags, word before the
// colours and ending.
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

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class MaterialTest : public ::testing::Test {
protected:
    RenderScratch scratch;
    DArray<Texture*>& textures() { return System::instance()->display->textures; }
};

TEST_F(MaterialTest, ShortFormReadsCylindricalMapping) {
    WriteImage("a.bmp");
    WriteText("materials/s.mat", ShortForm("a.bmp"));
    TraceCapture trace;
    Material m("materials/s.mat");
    EXPECT_EQ(m.mapType, "CYL");
    EXPECT_TRUE(m.clampR);
    EXPECT_TRUE(m.seamSplit);
    EXPECT_FALSE(m.clampS);
    EXPECT_EQ(m.offsetU, 0);
    EXPECT_EQ(m.offsetV, 0);
    EXPECT_EQ(m.scaleU, 2);
    EXPECT_EQ(m.scaleV, 3);
    EXPECT_EQ(m.ambient, Vector3(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(m.diffuse, Vector3(0.4f, 0.5f, 0.6f));
    EXPECT_EQ(m.emission, Vector3(0.7f, 0.8f, 0.9f));
    EXPECT_EQ(m.specular, Vector3(1, 0.5f, 0.25f));
    EXPECT_EQ(m.shininess, 12);
    EXPECT_EQ(m.alpha, 1);
    EXPECT_EQ(m.blendType, 0);
    EXPECT_FALSE(m.colorKeyed || m.mipmap || m.bump || m.water);
    EXPECT_EQ(m.fileName, "materials/s.mat");
    EXPECT_TRUE(m.textured);
    EXPECT_EQ(m.frameCount, 1);
    ASSERT_EQ(m.frames.count, 1);
    EXPECT_STREQ(m.frames[0]->name, "images/a.bmp");
    const std::string log = trace.str();
    EXPECT_EQ(log.find("material materials/s.mat FOUND\na.bmp\nambi : "), 0u) << log;
    for (const char* line : {"\ndiff : ", "\nemis : ", "\nspec : ", "\nloading texture\n",
                             "\nNew Texture images/a.bmp\n", "\nHas Image\n",
                             "\nloaded material materials/s.mat\n\ttexture images/a.bmp  "
                             "refltexture=-\n"}) {
        EXPECT_TRUE(Contains(log, line)) << line;
    }
}

TEST_F(MaterialTest, LongFormReadsOffsetsMappingFlagsAndAlpha) {
    WriteText("materials/l.mat", LongForm("-", "1 true", "alpha 0.5 type SRCALPHA colorkey 0"));
    Material m("materials/l.mat");
    EXPECT_EQ(m.offsetU, 0.25f);
    EXPECT_EQ(m.offsetV, 0.5f);
    EXPECT_EQ(m.mapType, "PLANARY");
    EXPECT_TRUE(m.clampR && m.seamSplit && m.clampS);
    EXPECT_EQ(m.diffuse, Vector3(0.4f, 0.5f, 0.6f));
    EXPECT_EQ(m.alpha, 0.5f);
    EXPECT_EQ(m.blendType, 2);
    EXPECT_TRUE(m.colorKeyed);
}

TEST_F(MaterialTest, OnlyTrueOrOneSetsAWrapFlag) {
    const struct {
        const char* word;
        bool set;
    } cases[] = {{"true", true}, {"1", true},   {"0", false},    {"false", false},
                 {"TRUE", false}, {"2", false}, {"yes", false}, {"-1", false}};
    for (const auto& c : cases) {
        WriteText("materials/w.mat", LongForm("-", std::string(c.word) + " " + c.word));
        Material m("materials/w.mat");
        EXPECT_EQ(m.clampR, c.set) << c.word;
        EXPECT_EQ(m.seamSplit, c.set) << c.word;
        EXPECT_EQ(m.clampS, c.set) << c.word;
    }
}

TEST_F(MaterialTest, WrongWordBeforeTheColoursIsLoggedAndReadOn) {
    WriteText("materials/e.mat", LongForm("-", "0 0", "alpha 0.5 type ONE", "amb"));
    TraceCapture trace;
    Material m("materials/e.mat");
    EXPECT_TRUE(Contains(trace.str(), "\nMATERIAL ERROR\n"));
    EXPECT_TRUE(Contains(trace.str(), "materials/e.mat:4: expected 'ambi'"));
    EXPECT_EQ(m.ambient, Vector3(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(m.specular, Vector3(1, 0.5f, 0.25f));
    EXPECT_EQ(m.blendType, 1);
}

TEST_F(MaterialTest, AlphaClauses) {
    // Short form: no blend word, so the colour key follows the value at once.
    WriteText("materials/a.mat", ShortForm("-", "alpha 0.25 colorkey 3"));
    Material shortForm("materials/a.mat");
    EXPECT_EQ(shortForm.alpha, 0.25f);
    EXPECT_EQ(shortForm.blendType, 0);
    EXPECT_TRUE(shortForm.colorKeyed);

    WriteText("materials/b.mat", LongForm("-", "0 0", "alpha 0.75 type SRCCOLOR colorkey -1"));
    Material noKey("materials/b.mat");
    EXPECT_EQ(noKey.blendType, 3);
    EXPECT_FALSE(noKey.colorKeyed);

    WriteText("materials/c.mat", LongForm("-", "0 0", "alpha 0.75 type ADD"));
    TraceCapture trace;
    Material unknown("materials/c.mat");
    EXPECT_TRUE(Contains(trace.str(), "\nUNKNOWN ALPHA TYPE\n"));
    EXPECT_EQ(unknown.blendType, 0);
    EXPECT_EQ(unknown.alpha, 0.75f);
}

TEST_F(MaterialTest, ColourKeyNeedsAnAlphaClauseBeforeIt) {
    // The word after the shininess is taken as the alpha clause's place.
    WriteText("materials/k.mat", ShortForm("-", "colorkey 3"));
    EXPECT_FALSE(Material("materials/k.mat").colorKeyed);
    WriteText("materials/k.mat", ShortForm("-", "beta colorkey 3"));
    EXPECT_TRUE(Material("materials/k.mat").colorKeyed);
    WriteText("materials/k.mat", ShortForm("-"));
    const Material bare("materials/k.mat");
    EXPECT_EQ(bare.alpha, 1);
    EXPECT_FALSE(bare.colorKeyed);
}

TEST_F(MaterialTest, AlphaWithoutTypeEndsTheProgram) {
    WriteText("materials/x.mat", LongForm("-", "0 0", "alpha 0.5\nSRCALPHA"));
    EXPECT_EXIT((debug.rdbuf(std::cerr.rdbuf()), Material("materials/x.mat")),
                ::testing::ExitedWithCode(255),
                "ALPHA ERROR\nmaterials/x.mat:10: expected 'type' after the alpha value, found "
                "'SRCALPHA'\n");
    WriteText("materials/y.mat", LongForm("-", "0 0", "alpha 0.5"));
    EXPECT_EXIT(Material("materials/y.mat"), ::testing::ExitedWithCode(255),
                "materials/y.mat:.*found the end of the file");
}

TEST_F(MaterialTest, MissingFileEndsTheProgram) {
    EXPECT_EXIT((debug.rdbuf(std::cerr.rdbuf()), Material("materials/none.mat")),
                ::testing::ExitedWithCode(255),
                "material materials/none.mat NOT FOUND\nmaterials/none.mat: cannot be opened\n");
}

TEST_F(MaterialTest, ImageWordsThatGiveNoTexture) {
    WriteText("materials/n.mat", ShortForm("-"));
    TraceCapture trace;
    const Material none("materials/n.mat");
    EXPECT_FALSE(none.textured);
    EXPECT_EQ(none.frameCount, 0);
    EXPECT_TRUE(Contains(trace.str(), "\ttexture NONE  refltexture=-\n"));

    WriteText("materials/m.mat", ShortForm("missing.bmp"));
    const Material missing("materials/m.mat");
    EXPECT_FALSE(missing.textured);
    EXPECT_EQ(missing.frameCount, 1);
    EXPECT_TRUE(Contains(trace.str(), "\nNo Image, Uwrapping (maybe)\n"));

    // A file that is not a picture is not kept for the next material to reuse.
    WriteText("images/junk.bmp", "junk");
    WriteText("materials/j.mat", ShortForm("junk.bmp"));
    const Material junk("materials/j.mat");
    const Material again("materials/j.mat");
    EXPECT_EQ(junk.frames.count, 0);
    EXPECT_EQ(textures().count, 0);
    EXPECT_TRUE(Contains(trace.str(), "\nError Loading Texture\n"));
    EXPECT_FALSE(Contains(trace.str(), "Reusing"));
}

TEST_F(MaterialTest, MaterialsShareATextureByPath) {
    WriteImage("shared.bmp");
    WriteText("materials/one.mat", ShortForm("shared.bmp"));
    WriteText("materials/two.mat", LongForm("shared.bmp"));
    const Material one("materials/one.mat");
    TraceCapture trace;
    const Material two("materials/two.mat");
    ASSERT_EQ(one.frames.count, 1);
    ASSERT_EQ(two.frames.count, 1);
    EXPECT_EQ(one.frames[0], two.frames[0]);
    EXPECT_EQ(textures().count, 1);
    EXPECT_TRUE(Contains(trace.str(), "\nReusing texture images/shared.bmp\n"));
    EXPECT_FALSE(Contains(trace.str(), "New Texture"));
}

TEST_F(MaterialTest, Prefixes) {
    WriteImage("a.bmp");
    WriteImage("sky.bmp");
    WriteText("materials/mip.mat", ShortForm("MIPMAP 64 64 a.bmp"));
    TraceCapture trace;
    const Material mip("materials/mip.mat");
    EXPECT_TRUE(mip.mipmap);
    EXPECT_EQ(mip.frames.count, 1);
    EXPECT_TRUE(Contains(trace.str(), "\nLoaded mipmap texture images/a.bmp\n"));

    WriteText("materials/bump.mat", ShortForm("BUMP a.bmp"));
    const Material bump("materials/bump.mat");
    EXPECT_TRUE(bump.bump);
    EXPECT_EQ(bump.frames[0], mip.frames[0]);

    WriteText("materials/water.mat", LongForm("WATER a.bmp sky.bmp"));
    const Material water("materials/water.mat");
    EXPECT_TRUE(water.water);
    ASSERT_NE(water.reflectionTexture, nullptr);
    EXPECT_STREQ(water.reflectionTexture->name, "images/sky.bmp");
    EXPECT_TRUE(Contains(trace.str(), "\ttexture images/a.bmp  refltexture=images/sky.bmp\n"));

    // Without its reflection image the water is plain.
    for (const char* reflection : {"nosky.bmp", "-"}) {
        WriteText("materials/dry.mat", LongForm(std::string("WATER a.bmp ") + reflection));
        const Material dry("materials/dry.mat");
        EXPECT_FALSE(dry.water) << reflection;
        EXPECT_EQ(dry.reflectionTexture, nullptr);
        EXPECT_TRUE(dry.textured);
    }
}

TEST_F(MaterialTest, BitmapListsAreBounded) {
    for (int i = 0; i < 3; ++i) WriteImage("f" + std::to_string(i) + ".bmp");
    WriteText("images/three.bml", "3\nf0.bmp f1.bmp\nf2.bmp");
    WriteText("materials/anim.mat", ShortForm("three.bml"));
    TraceCapture trace;
    const Material anim("materials/anim.mat");
    EXPECT_TRUE(Contains(trace.str(), "\nBitmap List (anim)\n"));
    EXPECT_EQ(anim.frameCount, 3);
    ASSERT_EQ(anim.frames.count, 3);
    EXPECT_STREQ(anim.frames[2]->name, "images/f2.bmp");

    std::string twenty = "20";
    for (int i = 0; i < 20; ++i) twenty += " f" + std::to_string(i % 3) + ".bmp";
    WriteText("images/twenty.bml", twenty);
    WriteText("materials/many.mat", ShortForm("twenty.bml"));
    const Material many("materials/many.mat");
    EXPECT_EQ(many.frameCount, 15);
    EXPECT_EQ(many.frames.count, 15);

    // Names are cut to 59 characters: the cut name is the file that loads.
    const std::string name59 = std::string(55, 'n') + ".bmp";
    WriteImage(name59);
    WriteText("images/long.bml", "1 " + name59 + "ignored");
    WriteText("materials/long.mat", ShortForm("long.bml"));
    const Material cut("materials/long.mat");
    ASSERT_EQ(cut.frames.count, 1);
    EXPECT_EQ(cut.frames[0]->name, "images/" + name59);

    WriteText("materials/nolist.mat", ShortForm("none.bml"));
    const Material nolist("materials/nolist.mat");
    EXPECT_EQ(nolist.frameCount, 0);
    EXPECT_EQ(nolist.frames.count, 0);
    EXPECT_TRUE(Contains(trace.str(), "\nbitmap list file images/none.bmldoesn't exist\n"));
}

TEST_F(MaterialTest, OverlongImageWordIsCutToFitThePathBuffer) {
    const std::string kept(Texture::MAX_PATH - 7, 'i');
    WriteImage(kept);
    WriteText("materials/w.mat", ShortForm(kept + std::string(300, 'x')));
    const Material m("materials/w.mat");
    ASSERT_EQ(m.frames.count, 1);
    EXPECT_EQ(m.frames[0]->name, "images/" + kept);
    EXPECT_EQ(m.scaleU, 2) << "the rest of the long word is skipped, not read as numbers";
}

TEST_F(MaterialTest, MissingTrailingWordsLeaveDefaults) {
    WriteText("materials/t.mat", "- 4 5 0.5");
    const Material m("materials/t.mat");
    EXPECT_EQ(m.scaleU, 4);
    EXPECT_EQ(m.offsetU, 0.5f);
    EXPECT_EQ(m.offsetV, 0);
    EXPECT_TRUE(m.clampR);
    EXPECT_EQ(m.alpha, 1);
    EXPECT_EQ(m.diffuse, Vector3());
}

class MaterialGLTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        clock = System::instance()->clock;
        savedTime = clock->time;
    }
    void TearDown() override { clock->time = savedTime; }

    static GLuint Bound() {
        GLint id = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
        return static_cast<GLuint>(id);
    }

    RenderScratch scratch;
    Clock* clock = nullptr;
    int savedTime = 0;
};

TEST_F(MaterialGLTest, AnimatedFramesFollowTheGameClock) {
    for (int i = 0; i < 3; ++i) WriteImage("f" + std::to_string(i) + ".bmp");
    WriteText("images/three.bml", "3 f0.bmp f1.bmp f2.bmp");
    WriteText("materials/anim.mat", ShortForm("three.bml"));
    clock->time = 1000;
    Material m("materials/anim.mat");
    ASSERT_EQ(m.frames.count, 3);
    const GLuint ids[3] = {m.frames[0]->TexID(), m.frames[1]->TexID(), m.frames[2]->TexID()};

    // The frame in use is bound; the change shows at the next use.
    const struct {
        int time;
        int bound;
    } uses[] = {{1000, 0}, {1060, 0}, {1061, 0}, {1061, 1}, {1100, 1}, {1122, 1},
                {1122, 2}, {1500, 2}, {1500, 0}, {1500, 0}, {1500, 0}};
    for (const auto& use : uses) {
        clock->time = use.time;
        m.current(true);
        EXPECT_EQ(Bound(), ids[use.bound]) << "at " << use.time;
    }
    EXPECT_EQ(m.currentFrame, 0) << "a paused clock stops the animation";
    EXPECT_EQ(System::instance()->display->currentMaterial, &m);
}

TEST_F(MaterialGLTest, ModesSetBlendingAndTheirTexture) {
    WriteBmp("images/h.bmp", 2, 2, 8, {0, 64, 128, 255});
    WriteImage("sky.bmp");
    WriteText("materials/m.mat",
              LongForm("WATER h.bmp sky.bmp", "false true", "alpha 0.5 type SRCALPHA"));
    Material m("materials/m.mat");
    Display* display = System::instance()->display;
    GLint value = 0;

    m.current(false);
    EXPECT_EQ(display->currentMaterial, nullptr) << "off does nothing";

    m.current(true);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    EXPECT_EQ(Bound(), m.frames[0]->TexID());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, &value);
    EXPECT_EQ(value, GL_REPEAT);
    float colour[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);

    m.currentBumpMode(1);
    EXPECT_EQ(Bound(), m.frames[0]->TexIDPositive());
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    m.currentBumpMode(2);
    EXPECT_EQ(Bound(), m.frames[0]->TexIDNegative());
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE);
    m.currentBumpMode(0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    m.currentWaterMode(1);
    EXPECT_EQ(Bound(), m.reflectionTexture->TexID());
    m.currentWaterMode(3);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.1f);

    m.currentShadowMode(2);
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, colour);
    EXPECT_FLOAT_EQ(colour[0], 0);
    EXPECT_EQ(Bound(), m.frames[0]->TexID());
    display->currentMaterial = nullptr;
    m.currentShadowMode(3);
    EXPECT_EQ(display->currentMaterial, nullptr) << "an unknown shadow pass is ignored";

    // An untextured material turns texturing off whatever the pass.
    WriteText("materials/plain.mat", ShortForm("-"));
    Material plain("materials/plain.mat");
    m.current(true);
    plain.currentWaterMode(2);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(display->currentMaterial, &plain);
}

TEST_F(MaterialGLTest, TexturedQuadShowsTheImage) {
    // 8x8 in four 4x4 quadrants; the picture's top row comes first.
    const std::uint8_t quadrant[4][3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const std::uint8_t* bgr = quadrant[(y / 4) * 2 + x / 4];
            pixels.insert(pixels.end(), bgr, bgr + 3);
        }
    }
    WriteBmp("images/q.bmp", 8, 8, 24, pixels);
    // Only the emission lights it, so the texture comes through unchanged.
    WriteText("materials/q.mat",
              "q.bmp 1 1 ambi 0 0 0 diff 0 0 0 emis 1 1 1 spec 0 0 0 shine 0");
    Material m("materials/q.mat");

    glViewport(0, 0, WIDTH, HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    m.current(true);
    // v = 0 is the top of the picture.
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(-1, -1);
    glTexCoord2f(1, 1);
    glVertex2f(1, -1);
    glTexCoord2f(1, 0);
    glVertex2f(1, 1);
    glTexCoord2f(0, 0);
    glVertex2f(-1, 1);
    glEnd();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);

    const struct {
        int x, y;  // window pixels, y up
        std::uint8_t r, g, b;
    } samples[] = {{16, 48, 255, 0, 0}, {48, 48, 0, 255, 0}, {16, 16, 0, 0, 255},
                   {48, 16, 255, 255, 255}};
    for (const auto& s : samples) {
        std::uint8_t rgba[4] = {};
        glReadPixels(s.x, s.y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        EXPECT_EQ(rgba[0], s.r) << s.x << "," << s.y;
        EXPECT_EQ(rgba[1], s.g) << s.x << "," << s.y;
        EXPECT_EQ(rgba[2], s.b) << s.x << "," << s.y;
    }
}

}  // namespace
