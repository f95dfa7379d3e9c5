#include "scene/Scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Display.h"
#include "core/System.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "scene/Arena.h"
#include "scene/DirectionalLight.h"
#include "scene/Flat.h"
#include "scene/PointLight.h"
#include "scene/SceneryFiles.h"
#include "scene/SpotLight.h"
#include "scene/Static.h"
#include "scene/Sun.h"
#include "scene/Water.h"
#include "support/GLContext.h"

namespace {

const std::string ONE_LIGHT = "AMBIENT 0.1 0.2 0.3\n1\nDIRECTIONAL 1 0.9 0.8 0 -1 0\n";
const std::string SKY = "- 1 1 ambi 0 0 0 diff 0.2 0.4 0.6 emis 0 0 0 spec 0 0 0 shine 0";

int Occurrences(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

DArray<Light*>& Lights() { return System::instance()->display->lights; }

// The test scene's folder in a scratch directory with a display of its own.
// The game never lets go of its lights; here they go with the display.
class SceneFiles {
public:
    SceneFiles() { SceneryScratch::Write("materials/sky.mat", SKY); }
    ~SceneFiles() {
        for (int i = 0; i < Lights().count; ++i) delete Lights()[i];
    }
    SceneFiles(const SceneFiles&) = delete;
    SceneFiles& operator=(const SceneFiles&) = delete;

    static void WriteLights(const std::string& text) { SceneryScratch::Write("lights.txt", text); }
    static void WriteSdf(const std::string& text) { SceneryScratch::Write("scene.sdf", text); }

private:
    SceneryScratch scratch;
};

class SceneTest : public ::testing::Test {
protected:
    SceneFiles files;
};

TEST_F(SceneTest, OneDirectionalLightBecomesLightZero) {
    SceneFiles::WriteLights(ONE_LIGHT);
    TraceCapture trace;
    const Scene scene("test");

    ASSERT_EQ(Lights().count, 1);
    const auto* sun = dynamic_cast<DirectionalLight*>(Lights()[0]);
    ASSERT_NE(sun, nullptr);
    EXPECT_EQ(sun->color, Vector3(1, 0.9f, 0.8f));
    EXPECT_EQ(sun->direction, Vector3(0, -1, 0));
    EXPECT_TRUE(sun->enabled);
    EXPECT_EQ(scene.ambient, Vector3(0.1f, 0.2f, 0.3f));
    EXPECT_TRUE(trace.Has("Creating new directional light, color=")) << trace.str();

    // No scene.sdf: the lights are all there is.
    EXPECT_TRUE(trace.Has("scenes/test/scene.sdf: cannot be opened")) << trace.str();
    EXPECT_EQ(scene.background, nullptr);
    EXPECT_EQ(scene.solids.count + scene.transparents.count + scene.reflectedSolids.count +
                  scene.reflectedTransparents.count,
              0);
    EXPECT_TRUE(scene.stencilShadows);
}

TEST_F(SceneTest, LightsAreRegisteredInFileOrderAndLogged) {
    SceneFiles::WriteLights(
        "AMBIENT 0 0 0 3\n"
        "DIRECTIONAL 1 1 1 0 -1 0\n"
        "POINT 0.5 0.5 0.5 10 20 30\n"
        "SPOT 0.25 0.5 0.75 1 2 3 0 0 -1 15 30\n");
    TraceCapture trace;
    const Scene scene("test");

    ASSERT_EQ(Lights().count, 3);
    EXPECT_NE(dynamic_cast<DirectionalLight*>(Lights()[0]), nullptr);
    const auto* point = dynamic_cast<PointLight*>(Lights()[1]);
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->position, Vector3(10, 20, 30));
    const auto* spot = dynamic_cast<SpotLight*>(Lights()[2]);
    ASSERT_NE(spot, nullptr);
    EXPECT_EQ(spot->color, Vector3(0.25f, 0.5f, 0.75f));
    EXPECT_EQ(spot->position, Vector3(1, 2, 3));
    EXPECT_EQ(spot->direction, Vector3(0, 0, -1));
    EXPECT_EQ(spot->umbra, 15);
    EXPECT_EQ(spot->penumbra, 30);
    for (const char* line : {"Creating new point light, color=", " position=",
                             "Creating new spot light, color=", " Umbra=", " Penumbra="}) {
        EXPECT_TRUE(trace.Has(line)) << line;
    }
}

TEST_F(SceneTest, UnknownLightTypesBuildNothingAndAreSkippedToTheNextType) {
    // Each unknown entry counts as one of the four, whatever the number of its words.
    SceneFiles::WriteLights(
        "AMBIENT 0 0 0 4\n"
        "AREA 1 1 1 2 2 2 4 4\n"
        "POINT 1 1 1 0 50 0\n"
        "LASER on\n"
        "DIRECTIONAL 1 1 1 0 -1 0\n");
    TraceCapture trace;
    const Scene scene("test");
    ASSERT_EQ(Lights().count, 2);
    EXPECT_EQ(Lights()[0]->position, Vector3(0, 50, 0));
    EXPECT_NE(dynamic_cast<DirectionalLight*>(Lights()[1]), nullptr);
    EXPECT_TRUE(trace.Has("lights.txt:2: expected DIRECTIONAL, POINT or SPOT, found 'AREA'")) << trace.str();
    EXPECT_TRUE(trace.Has("found 'LASER'")) << trace.str();
}

TEST_F(SceneTest, UnknownLightEntriesTakeTheirPlaceInTheCount) {
    SceneFiles::WriteLights("AMBIENT 0 0 0 2 AREA 1 1 1 POINT 1 1 1 0 0 0 POINT 1 1 1 5 5 5");
    const Scene scene("test");
    ASSERT_EQ(Lights().count, 1);
    EXPECT_EQ(Lights()[0]->position, Vector3(0, 0, 0));
}

// A broken lights.txt, the lights it still yields and what the trace says.
struct BadLights {
    const char* text;
    int lights;
    const char* trace;
};

class BadLightsTest : public ::testing::TestWithParam<BadLights> {
protected:
    SceneFiles files;
};

TEST_P(BadLightsTest, YieldsWhatCanBeReadAndStillLoadsTheScenery) {
    SceneFiles::WriteLights(GetParam().text);
    SceneFiles::WriteSdf("sky.mat 100 0 1 STATIC N grid.asc 0 stone.mat 0 0 0");
    TraceCapture trace;
    const Scene scene("test");
    EXPECT_EQ(Lights().count, GetParam().lights);
    EXPECT_TRUE(trace.Has(GetParam().trace)) << trace.str();
    EXPECT_EQ(scene.solids.count, 1) << "scene.sdf is read whatever lights.txt held";
}

INSTANTIATE_TEST_SUITE_P(
    Scene, BadLightsTest,
    ::testing::Values(
        BadLights{"AMBIENT 0 0 0 -5 DIRECTIONAL 1 1 1 0 -1 0", 0,
                  "expected a number of lights, found -5; no lights are read"},
        BadLights{"AMBIENT 0 0 0 2000000000 DIRECTIONAL 1 1 1 0 -1 0", 1,
                  "expected 2000000000 lights, found 1"},
        BadLights{"AMBIENT 0 0 0 99999999999 DIRECTIONAL 1 1 1 0 -1 0", 0,
                  "lights.txt:1: expected a whole number"},
        BadLights{"AMBIENT 0 0 0 two DIRECTIONAL 1 1 1 0 -1 0", 0,
                  "expected a whole number, found 'two'"},
        BadLights{"AMBIENT 0 0 0 3 DIRECTIONAL 1 1 1 0 -1 0 POINT 1 1", 1,
                  "expected a number, found the end of the file; the light is not built"},
        BadLights{"AMBIENT 0 0 0 3 SPOT 1 1 1 0 0 0 0 -1 0 wide 30 POINT 1 1 1 0 0 0", 0,
                  "expected a number, found 'wide'"},
        BadLights{"AMBIENT 0 0 0 3 AREA 1 2 3", 0, "expected DIRECTIONAL, POINT or SPOT, found 'AREA'"},
        BadLights{"AMBIENT 0 0", 0, "no lights are read"}));

TEST_F(SceneTest, WithoutLightsFileTheSceneStaysEmpty) {
    SceneFiles::WriteSdf("sky.mat 100 0 1 STATIC N grid.asc 0 stone.mat 0 0 0");
    TraceCapture trace;
    const Scene scene("test");
    EXPECT_EQ(Lights().count, 0);
    EXPECT_EQ(scene.solids.count, 0);
    EXPECT_EQ(scene.background, nullptr);
    EXPECT_TRUE(trace.Has("scenes/test/lights.txt: cannot be opened")) << trace.str();
}

TEST_F(SceneTest, LightsFileNotStartingWithAmbientLeavesTheSceneEmpty) {
    SceneFiles::WriteLights("LIGHTS 0 0 0 1 DIRECTIONAL 1 1 1 0 -1 0");
    SceneFiles::WriteSdf("sky.mat 100 0 1 STATIC N grid.asc 0 stone.mat 0 0 0");
    TraceCapture trace;
    const Scene scene("test");
    EXPECT_EQ(Lights().count, 0);
    EXPECT_EQ(scene.solids.count, 0);
    EXPECT_EQ(scene.background, nullptr);
    EXPECT_TRUE(trace.Has("expected AMBIENT at lights.txt line 1\n")) << trace.str();
    EXPECT_TRUE(trace.Has("expected 'AMBIENT', found 'LIGHTS'")) << trace.str();
}

TEST_F(SceneTest, EveryObjectTypeGoesToItsList) {
    SceneFiles::WriteLights(ONE_LIGHT);
    // The x of each position numbers the entries.
    SceneFiles::WriteSdf(
        "sky.mat 600 -150 13\n"
        "STATIC N grid.asc 0 stone.mat 0 0 0\n"
        "STATIC R grid.asc 0 stone.mat 1 0 0\n"
        "WATER R grid.asc 0 stone.mat 2 0 0\n"
        "FLAT N grid.asc 0 stone.mat 3 0 0\n"
        "FLAT Reflected grid.asc 0 stone.mat 4 0 0\n"
        "FIRE N grid.asc 0 stone.mat 5 0 0\n"
        "FIRE R grid.asc 0 stone.mat 6 0 0\n"
        "SUN N grid.asc 0 stone.mat 7 0 0\n"
        "SUN R grid.asc 0 stone.mat 8 0 0\n"
        "ARENA R grid.asc 0 stone.mat 9 0 0\n"
        "STATIC r grid.asc 0 stone.mat 10 0 0\n"
        "STATIC NR grid.asc 0 stone.mat 11 0 0\n"
        "STATIC Rock grid.asc 0 stone.mat 12 0 0\n");
    TraceCapture trace;
    const Scene scene("test");

    auto xs = [](const DArray<Object*>& list) {
        std::vector<float> x;
        for (int i = 0; i < list.count; ++i) x.push_back(list[i]->position.x);
        return x;
    };
    EXPECT_EQ(xs(scene.solids), (std::vector<float>{0, 2, 9, 10, 11}));
    EXPECT_EQ(xs(scene.reflectedSolids), (std::vector<float>{1, 12}));
    EXPECT_EQ(xs(scene.transparents), (std::vector<float>{3, 5, 7}));
    EXPECT_EQ(xs(scene.reflectedTransparents), (std::vector<float>{4, 6, 8}));

    EXPECT_NE(dynamic_cast<Static*>(scene.solids[0]), nullptr);
    EXPECT_NE(dynamic_cast<Static*>(scene.reflectedSolids[0]), nullptr);
    EXPECT_EQ(scene.water, scene.solids[1]);
    EXPECT_NE(dynamic_cast<Water*>(scene.solids[1]), nullptr);
    EXPECT_EQ(scene.arena, scene.solids[2]);
    EXPECT_NE(dynamic_cast<Arena*>(scene.solids[2]), nullptr);
    EXPECT_NE(dynamic_cast<Flat*>(scene.transparents[0]), nullptr);
    EXPECT_NE(dynamic_cast<Flat*>(scene.transparents[1]), nullptr) << "a fire is a flat";
    EXPECT_NE(dynamic_cast<Sun*>(scene.transparents[2]), nullptr);
    EXPECT_NE(dynamic_cast<Sun*>(scene.reflectedTransparents[2]), nullptr);

    EXPECT_EQ(scene.arenaSize, 600);
    EXPECT_EQ(scene.arenaParam, -150);
    ASSERT_NE(scene.background, nullptr);
    EXPECT_EQ(scene.background->diffuse, Vector3(0.2f, 0.4f, 0.6f));
    EXPECT_TRUE(trace.Has("background material: scenes/test/materials/sky.mat\n")) << trace.str();
    EXPECT_EQ(Occurrences(trace.str(), "adding flat\n"), 4);
    EXPECT_EQ(Occurrences(trace.str(), "adding sun\n"), 2);
    EXPECT_EQ(Occurrences(trace.str(), "ERROR: not expecting reflected fire!\n"), 1);
    EXPECT_EQ(Occurrences(trace.str(), "found unknown object type"), 0);
}

TEST_F(SceneTest, UnknownObjectTypeIsLoggedAndItsRecordReadAsTheNextObjects) {
    SceneFiles::WriteLights(ONE_LIGHT);
    // TREE N | grid.asc 0 | stone.mat 1 | 2 3 are four unknown objects; the
    // static after them is the fifth.
    SceneFiles::WriteSdf(
        "sky.mat 100 0 5\n"
        "TREE N grid.asc 0 stone.mat 1 2 3\n"
        "STATIC N grid.asc 0 stone.mat 5 0 0\n");
    TraceCapture trace;
    const Scene scene("test");
    ASSERT_EQ(scene.solids.count, 1);
    EXPECT_EQ(scene.solids[0]->position, Vector3(5, 0, 0));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(trace.Has("found unknown object type in scene.sdf, object #" +
                              std::to_string(i) + "\n"))
            << i;
    }
    EXPECT_FALSE(trace.Has("object #4")) << trace.str();
    EXPECT_TRUE(trace.Has("scene.sdf:2: expected STATIC, WATER, FLAT, FIRE, SUN or ARENA, found 'TREE'")) << trace.str();
}

// A broken scene.sdf, the objects it still yields and what the trace says.
struct BadScenery {
    const char* text;
    int solids;
    const char* trace;
};

class BadSceneryTest : public ::testing::TestWithParam<BadScenery> {
protected:
    SceneFiles files;
};

TEST_P(BadSceneryTest, YieldsWhatCanBeRead) {
    SceneFiles::WriteLights(ONE_LIGHT);
    SceneFiles::WriteSdf(GetParam().text);
    TraceCapture trace;
    const Scene scene("test");
    EXPECT_EQ(scene.solids.count, GetParam().solids);
    EXPECT_TRUE(trace.Has(GetParam().trace)) << trace.str();
    EXPECT_EQ(Lights().count, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Scene, BadSceneryTest,
    ::testing::Values(
        BadScenery{"sky.mat 100 0 -3 STATIC N grid.asc 0 stone.mat 0 0 0", 0,
                   "expected a number of objects, found -3; no objects are read"},
        BadScenery{"sky.mat 100 0 2000000000 STATIC N grid.asc 0 stone.mat 0 0 0", 1,
                   "expected 2000000000 objects, found 1"},
        BadScenery{"sky.mat 100 0 2 STATIC N grid.asc 0 stone.mat 0 0 0 STATIC", 1,
                   "expected 2 objects, found 1"},
        // A record cut short keeps what it read; the file ends after it.
        BadScenery{"sky.mat 100 0 3 STATIC N grid.asc 0 stone.mat 0 0 0 ARENA N grid.asc 0", 2,
                   "expected 3 objects, found 2"},
        BadScenery{"sky.mat 100 0 2 STATIC N grid.asc 0 stone.mat 1 x 3 "
                   "STATIC N grid.asc 0 stone.mat 0 0 0",
                   1, "read no further after object #0"},
        BadScenery{"sky.mat 100", 0, "expected a number, found the end of the file"},
        BadScenery{"sky.mat 100 0 many STATIC N grid.asc 0 stone.mat 0 0 0", 0,
                   "expected a whole number, found 'many'"},
        BadScenery{"", 0, "expected the background material, found the end of the file"},
        BadScenery{"FOG 10 sky.mat 100 0 0", 0, "the fog is left off"}));

class SceneWithCamera : public SceneTest {
protected:
    void SetUp() override { System::instance()->display->camera = &camera; }
    Camera camera{Vector3(100, 50, -80), Vector3(10, 0, 5), Vector3(0, 1, 0), 0};
};

TEST_F(SceneWithCamera, UpdateLowersTheArenaForPlanarShadowsAndUpdatesEveryList) {
    SceneFiles::WriteLights(ONE_LIGHT);
    SceneFiles::WriteSdf(
        "sky.mat 100 0 4\n"
        "ARENA N grid.asc 0 stone.mat 0 10 0\n"
        "FLAT N grid.asc 0 stone.mat 1 2 3\n"
        "STATIC R grid.asc 0 stone.mat 0 0 0\n"
        "SUN R grid.asc 0 stone.mat 4 5 6\n");
    Scene scene("test");
    const Vector3 origin;

    scene.stencilShadows = false;
    scene.Update();
    EXPECT_FALSE(scene.arena->raised);
    EXPECT_EQ(scene.arena->world * origin, Vector3(0, 8.5f, 0));
    scene.stencilShadows = true;
    scene.Update();
    EXPECT_TRUE(scene.arena->raised);
    EXPECT_EQ(scene.arena->world * origin, Vector3(0, 10, 0));

    // The billboards of both transparent lists now face the camera.
    const Vector3 forward = (camera.at - camera.from).Normalized();
    const Object* flat = scene.transparents[0];
    const Vector3 facing = (flat->world ^ Vector3(0, 0, 1)).Normalized();
    EXPECT_NEAR(std::abs(facing.Dot(forward)), 1, 1e-4f);
    const Object* sun = scene.reflectedTransparents[0];
    EXPECT_NEAR((sun->world ^ Vector3(0, 0, 1)).Dot(forward), 1, 1e-4f);
}

// Writes the name of every pass it is given into a shared log, with
// whether depth writes were on at the time.
class PassLog : public Object {
public:
    PassLog(std::vector<std::string>& log, std::string name) : log(log), name(std::move(name)) {}

    using Object::Update;
    void Update() override { Note("Update"); }
    void Draw() override { Note("Draw"); }
    void DrawAmbient() override { Note("DrawAmbient"); }
    void DrawNonAmbient() override { Note("DrawNonAmbient"); }
    void DrawShadowVolume() override { Note("DrawShadowVolume"); }
    void DrawShadow() override { Note("DrawShadow"); }
    void DrawAlpha() override { Note("DrawAlpha"); }

    bool depthWrites = true;  // at the last pass

private:
    void Note(const char* pass) {
        GLboolean mask = GL_TRUE;
        glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
        depthWrites = mask == GL_TRUE;
        log.push_back(name + " " + pass);
    }
    std::vector<std::string>& log;
    std::string name;
};

// An empty scene whose lists hold pass logs: solids S1 and S2, transparent T,
// reflected solid RS, reflected transparent RT.
struct LoggedScene {
    LoggedScene() : scene("none") {
        scene.solids.Add(new PassLog(log, "S1"));
        scene.solids.Add(new PassLog(log, "S2"));
        scene.transparents.Add(transparent = new PassLog(log, "T"));
        scene.reflectedSolids.Add(new PassLog(log, "RS"));
        scene.reflectedTransparents.Add(reflectedTransparent = new PassLog(log, "RT"));
    }
    std::vector<std::string> Run(void (Scene::*pass)()) {
        log.clear();
        (scene.*pass)();
        return log;
    }

    std::vector<std::string> log;
    Scene scene;
    PassLog* transparent = nullptr;
    PassLog* reflectedTransparent = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(SceneTest, EveryPassReachesItsListInOrder) {
    LoggedScene s;
    EXPECT_EQ(s.Run(&Scene::Update), (Log{"S1 Update", "S2 Update", "T Update", "RS Update",
                                          "RT Update"}));
    EXPECT_EQ(s.Run(&Scene::Draw), (Log{"S1 Draw", "S2 Draw"}));
    EXPECT_EQ(s.Run(&Scene::DrawAmbient), (Log{"S1 DrawAmbient", "S2 DrawAmbient"}));
    EXPECT_EQ(s.Run(&Scene::DrawNonAmbient), (Log{"S1 DrawNonAmbient", "S2 DrawNonAmbient"}));
    EXPECT_EQ(s.Run(&Scene::DrawShadowVolume),
              (Log{"S1 DrawShadowVolume", "S2 DrawShadowVolume"}));
    EXPECT_EQ(s.Run(&Scene::DrawShadow), (Log{"S1 DrawShadow", "S2 DrawShadow"}));
    EXPECT_EQ(s.Run(&Scene::DrawReflection), (Log{"RS Draw"}));
    EXPECT_EQ(s.Run(&Scene::DrawReflectionAlpha), (Log{"RT Draw"}));
    EXPECT_EQ(s.Run(&Scene::DrawAlpha), (Log{"T Draw"}));
}

class SceneGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        if (IsSkipped()) return;
        files.emplace();
    }
    void TearDown() override {
        glDisable(GL_FOG);
        glDepthMask(GL_TRUE);
        files.reset();
    }
    std::optional<SceneFiles> files;
};

TEST_F(SceneGL, FogClauseTurnsOnLinearFogAndTheBackgroundSetsTheClearColour) {
    glDisable(GL_FOG);
    SceneFiles::WriteLights(ONE_LIGHT);
    SceneFiles::WriteSdf("FOG 100 900 0.5 0.25 1 sky.mat 100 0 0");
    const Scene scene("test");

    EXPECT_TRUE(glIsEnabled(GL_FOG));
    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, GL_LINEAR);
    GLfloat start = 0, end = 0, colour[4] = {}, clear[4] = {}, ambient[4] = {};
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_EQ(start, 100);
    EXPECT_EQ(end, 900);
    EXPECT_FLOAT_EQ(colour[0], 0.5f);
    EXPECT_FLOAT_EQ(colour[1], 0.25f);
    EXPECT_FLOAT_EQ(colour[2], 1);
    EXPECT_FLOAT_EQ(colour[3], 1);

    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.2f);
    EXPECT_FLOAT_EQ(clear[1], 0.4f);
    EXPECT_FLOAT_EQ(clear[2], 0.6f);
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(ambient[0], 0.1f);
    EXPECT_FLOAT_EQ(ambient[1], 0.2f);
    EXPECT_FLOAT_EQ(ambient[2], 0.3f);
    EXPECT_FLOAT_EQ(ambient[3], 1);
}

TEST_F(SceneGL, WithoutFogTheFirstWordNamesTheBackground) {
    glEnable(GL_FOG);
    SceneFiles::WriteLights(ONE_LIGHT);
    SceneFiles::WriteSdf("sky.mat 100 0 0");
    const Scene scene("test");
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    ASSERT_NE(scene.background, nullptr);
    EXPECT_EQ(scene.background->fileName, "scenes/test/materials/sky.mat");
}

TEST_F(SceneGL, TransparentPassesWriteNoDepth) {
    LoggedScene s;
    glDepthMask(GL_TRUE);
    s.scene.DrawAlpha();
    EXPECT_FALSE(s.transparent->depthWrites);
    s.scene.DrawReflectionAlpha();
    EXPECT_FALSE(s.reflectedTransparent->depthWrites);
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_EQ(mask, GL_TRUE) << "depth writes are on again after the pass";
}

}  // namespace
