#include "scene/Scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "scene/Arena.h"
#include "scene/DirectionalLight.h"
#include "scene/Flat.h"
#include "scene/PointLight.h"
#include "scene/SpotLight.h"
#include "scene/Static.h"
#include "scene/Sun.h"
#include "scene/Water.h"
#include "support/GLContext.h"
#include "support/SceneryFiles.h"
#include "support/TraceCapture.h"

namespace {

const std::string ONE_LIGHT = "AMBIENT 0.1 0.2 0.3\n1\nDIRECTIONAL 1 0.9 0.8 0 -1 0\n";
const std::string ONE_STATIC = "sky.mat 100 0 1 STATIC N grid.asc 0 stone.mat 0 0 0";

DArray<Light*>& Lights() { return System::instance()->display->lights; }

// Unlists the lights a scene left registered; the scene frees them.
void ForgetLights() {
    Lights().count = 0;
    Lights().Head();  // new lights go in at the cursor
}

// The test scene's folder with a sky.
class SceneFiles {
public:
    SceneFiles() {
        SceneryScratch::Write("materials/sky.mat", ColourMaterial({0.2f, 0.4f, 0.6f}));
    }
    ~SceneFiles() { ForgetLights(); }

private:
    SceneryScratch scratch;
};

// Writes the two files (empty text: no file) and loads the scene.
Scene* Load(const std::string& lights, const std::string& sdf) {
    ForgetLights();
    for (const auto& [name, text] : {std::pair{"lights.txt", lights}, std::pair{"scene.sdf", sdf}}) {
        std::filesystem::remove(SCENE_DIR + name);
        if (!text.empty()) SceneryScratch::Write(name, text);
    }
    return new Scene("test");
}

class SceneTest : public ::testing::Test {
protected:
    SceneFiles files;
};

TEST_F(SceneTest, LightsAreRegisteredInFileOrderAndEveryObjectGoesToItsList) {
    TraceCapture trace;
    // An unknown light, whatever its words, is one of the four; the x of each
    // position numbers the scenery entries.
    const char* const kinds[] = {"STATIC N", "STATIC R", "WATER R", "FLAT N", "FLAT Reflected", "FIRE N", "FIRE R",
                                 "SUN N",    "SUN R",    "ARENA R", "STATIC r", "STATIC NR", "STATIC Rock"};
    std::string sdf = "sky.mat 600 -150 13\n";
    for (int i = 0; i < 13; ++i) sdf += std::string(kinds[i]) + " grid.asc 0 stone.mat " + std::to_string(i) + " 0 0\n";
    const std::unique_ptr<Scene> scene(Load("AMBIENT 0.1 0.2 0.3 4\nDIRECTIONAL 1 0.9 0.8 0 -1 0\nAREA 1 1 1 2 2 2 4 4\n"
                                            "POINT 0.5 0.5 0.5 10 20 30\nSPOT 0.25 0.5 0.75 1 2 3 0 0 -1 15 30\n",
                                            sdf));
    EXPECT_EQ(scene->ambient, Vector3(0.1f, 0.2f, 0.3f));
    ASSERT_EQ(Lights().count, 3);
    EXPECT_TRUE(dynamic_cast<DirectionalLight&>(*Lights()[0]).direction == Vector3(0, -1, 0) &&
                dynamic_cast<PointLight&>(*Lights()[1]).position == Vector3(10, 20, 30));
    const auto& spot = dynamic_cast<SpotLight&>(*Lights()[2]);
    EXPECT_TRUE(spot.direction == Vector3(0, 0, -1) && spot.penumbra == 30);
    EXPECT_TRUE(trace.Has("lights.txt:3: expected DIRECTIONAL, POINT or SPOT, found 'AREA'"));
    auto xs = [](const DArray<Object*>& list) {
        std::vector<float> x;
        for (int i = 0; i < list.count; ++i) x.push_back(list[i]->position.x);
        return x;
    };
    EXPECT_EQ(xs(scene->solids), (std::vector<float>{0, 2, 9, 10, 11}));
    EXPECT_TRUE(xs(scene->reflectedSolids) == (std::vector<float>{1, 12}) &&
                xs(scene->transparents) == (std::vector<float>{3, 5, 7}) &&
                xs(scene->reflectedTransparents) == (std::vector<float>{4, 6, 8}));
    EXPECT_TRUE(dynamic_cast<Static*>(scene->solids[0]) && static_cast<Object*>(scene->water) == scene->solids[1] &&
                static_cast<Object*>(scene->arena) == scene->solids[2]);
    EXPECT_NE(dynamic_cast<Flat*>(scene->transparents[1]), nullptr) << "a fire is a flat";
    EXPECT_NE(dynamic_cast<Sun*>(scene->reflectedTransparents[2]), nullptr);
    EXPECT_TRUE(scene->arenaSize == 600 && scene->arenaParam == -150 &&
                scene->background->diffuse == Vector3(0.2f, 0.4f, 0.6f));
}

// Broken files, the lights and scenery they still yield, and what the trace says.
TEST_F(SceneTest, BrokenFilesYieldWhatCanBeRead) {
    const struct {
        std::string lights, sdf;
        int count, solids;
        const char* trace;
    } cases[] = {
        {"AMBIENT 0 0 0 -5 " + ONE_LIGHT, ONE_STATIC, 0, 1, "expected a number of lights, found -5"},
        {"AMBIENT 0 0 0 two", ONE_STATIC, 0, 1, "lights.txt:1: expected a whole number, found 'two'"},
        {"AMBIENT 0 0 0 2 DIRECTIONAL 1 1 1 0 -1 0 POINT 1 1", ONE_STATIC, 1, 1,
         "expected a number, found the end of the file; the light is not built"},
        {"LIGHTS 0 0 0 1", ONE_STATIC, 0, 0, "expected 'AMBIENT', found 'LIGHTS'"},
        {"", ONE_STATIC, 0, 0, "scenes/test/lights.txt: cannot be opened"},
        // TREE N | grid.asc 0 | stone.mat 1 | 2 3 are four unknown objects; the static is the fifth.
        {ONE_LIGHT, "sky.mat 100 0 5 TREE N grid.asc 0 stone.mat 1 2 3 STATIC N grid.asc 0 stone.mat 5 0 0",
         1, 1, "scene.sdf:1: expected STATIC, WATER, FLAT, FIRE, SUN or ARENA, found 'TREE'"},
        {ONE_LIGHT, "sky.mat 100 0 -3 " + ONE_STATIC.substr(16), 1, 0, "expected a number of objects, found -3"},
        {ONE_LIGHT, "sky.mat 100 0 2 STATIC N grid.asc 0 stone.mat 1 x 3 " + ONE_STATIC.substr(16), 1, 1,
         "read no further after object #0"},
        {ONE_LIGHT, "FOG 10 sky.mat 100 0 0", 1, 0, "the fog is left off"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lights + " / " + c.sdf);
        TraceCapture trace;
        const std::unique_ptr<Scene> scene(Load(c.lights, c.sdf));
        EXPECT_TRUE(Lights().count == c.count && scene->solids.count == c.solids);
        EXPECT_TRUE(trace.Has(c.trace)) << trace.str();
    }
}

TEST_F(SceneTest, UpdateLowersTheArenaForPlanarShadows) {
    const std::unique_ptr<Scene> scene(Load(ONE_LIGHT, "sky.mat 100 0 1 ARENA N grid.asc 0 stone.mat 0 10 0"));
    for (bool stencil : {false, true}) {
        scene->stencilShadows = stencil;
        scene->Update();
        EXPECT_EQ(scene->arena->world * Vector3(), Vector3(0, stencil ? 10 : 8.5f, 0));
    }
    System::instance()->display->camera = nullptr;
}

// Writes the name of every pass it is given into a shared log.
class PassLog : public Object {
public:
    PassLog(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}
    using Object::Update;
    void Update() override { log.push_back(name + " Update"); }
    void Draw() override { log.push_back(name + " Draw"); }
    void DrawAmbient() override { log.push_back(name + " Ambient"); }
    void DrawNonAmbient() override { log.push_back(name + " NonAmbient"); }
    void DrawShadowVolume() override { log.push_back(name + " Volume"); }
    void DrawShadow() override { log.push_back(name + " Shadow"); }
    std::vector<std::string>& log;
    const std::string name;
};

TEST_F(SceneTest, EveryPassReachesItsListInOrder) {
    using Log = std::vector<std::string>;
    Scene scene("none");
    Log log;
    for (const char* name : {"S1", "S2"}) scene.solids.Add(new PassLog(log, name));
    scene.transparents.Add(new PassLog(log, "T"));
    scene.reflectedSolids.Add(new PassLog(log, "RS"));
    scene.reflectedTransparents.Add(new PassLog(log, "RT"));
    const struct {
        void (Scene::*pass)();
        Log expected;
    } passes[] = {
        {&Scene::Update, {"S1 Update", "S2 Update", "T Update", "RS Update", "RT Update"}},
        {&Scene::Draw, {"S1 Draw", "S2 Draw"}},           {&Scene::DrawAmbient, {"S1 Ambient", "S2 Ambient"}},
        {&Scene::DrawNonAmbient, {"S1 NonAmbient", "S2 NonAmbient"}},
        {&Scene::DrawShadowVolume, {"S1 Volume", "S2 Volume"}}, {&Scene::DrawShadow, {"S1 Shadow", "S2 Shadow"}},
        {&Scene::DrawReflection, {"RS Draw"}},            {&Scene::DrawReflectionAlpha, {"RT Draw"}},
        {&Scene::DrawAlpha, {"T Draw"}}};
    for (const auto& p : passes) {
        log.clear();
        (scene.*p.pass)();
        EXPECT_EQ(log, p.expected);
    }
}

class SceneGL : public GLTest {
protected:
    SceneFiles files;
};

TEST_F(SceneGL, TheFogClauseTurnsOnLinearFogAndTheFrameBindsTheLightsToTheirSlots) {
    const std::unique_ptr<Scene> scene(Load("AMBIENT 0.1 0.2 0.3 3 DIRECTIONAL 1 0.9 0.8 0 -1 0 "
                                            "POINT 1 1 1 10 20 30 SPOT 1 0 0 1 2 3 0 0 -1 15 30",
                                            "FOG 100 900 0.5 0.25 1 sky.mat 100 0 0"));
    System::instance()->display->StartScene();
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    // Fog start, end and colour; the clear colour, the ambient and light 0's diffuse colour.
    GLfloat got[17] = {};
    glGetFloatv(GL_FOG_START, &got[0]), glGetFloatv(GL_FOG_END, &got[1]), glGetFloatv(GL_FOG_COLOR, &got[2]);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, &got[5]), glGetFloatv(GL_LIGHT_MODEL_AMBIENT, &got[9]);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, &got[13]);
    const float expected[17] = {100, 900, 0.5f, 0.25f, 1, 0.2f, 0.4f, 0.6f, 0, 0.1f, 0.2f, 0.3f, 1, 1, 0.9f, 0.8f, 1};
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 13, 14, 15}) EXPECT_NEAR(got[i], expected[i], 1e-6f) << i;
    // A directional light, and a spot that lights like one, shine from
    // infinitely far; a point light from where it stands.
    for (const auto& [slot, w] : {std::pair{0, 0.0f}, std::pair{1, 1.0f}, std::pair{2, 0.0f}}) {
        GLfloat position[4] = {};
        glGetLightfv(GL_LIGHT0 + slot, GL_POSITION, position);
        EXPECT_TRUE(glIsEnabled(GL_LIGHT0 + slot) && position[3] == w) << slot;
    }
    Lights()[1]->enabled = false;
    System::instance()->display->StartScene();
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1)) << "a disabled light switches its slot off";
    const std::unique_ptr<Scene> plain(Load(ONE_LIGHT, "sky.mat 100 0 0"));
    EXPECT_FALSE(glIsEnabled(GL_FOG)) << "without the clause the first word names the background";
    EXPECT_EQ(plain->background->fileName, "scenes/test/materials/sky.mat");
}

// An arena whose files do not give its size is fought on the default floor,
// never on one of no size, and the problem is on standard error.
TEST_F(SceneTest, WithoutItsSizeTheArenaTakesTheDefaultAndSaysWhy) {
    const struct {
        const char* lights;  // empty: no such file
        const char* sdf;
        const char* problem;  // empty: the arena is whole
    } arenas[] = {
        {"AMBIENT 0 0 0 0", "sky.mat 450 -250 0", ""},
        {"", "sky.mat 450 -250 0", "lights.txt: expected the arena's lights, found no such file"},
        {"AMBIENT 0 0 0 0", "", "scene.sdf: expected the arena's scenery and size"},
        {"AMBIENT 0 0 0 0", "sky.mat", "scene.sdf:1: expected a number, found the end of the file"},
        {"AMBIENT 0 0 0 0", "sky.mat 0 -250 0", "scene.sdf:1: expected an arena size above 0"},
        {"AMBIENT 0 0 0 0", "sky.mat -450 -250 0", "found -450 -250"},
    };
    for (const auto& arena : arenas) {
        ::testing::internal::CaptureStderr();
        const std::unique_ptr<Scene> scene(Load(arena.lights, arena.sdf));
        const std::string said = ::testing::internal::GetCapturedStderr();
        const bool whole = *arena.problem == '\0';
        EXPECT_TRUE(scene->playable == whole && scene->arenaSize == (whole ? 450 : Scene::DEFAULT_ARENA_SIZE) &&
                    scene->arenaParam == (whole ? -250 : Scene::DEFAULT_ARENA_REST)) << said;
        EXPECT_TRUE(said.find(arena.problem) != std::string::npos && said.empty() == whole) << said;
    }
}

}  // namespace
