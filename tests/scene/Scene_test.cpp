// A scene's lights.txt and scene.sdf, and the scenery they hold: statics,
// flats, the arena floor, the sun with its lens flare, and the water.
#include "scene/Scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/Arena.h"
#include "scene/DirectionalLight.h"
#include "scene/Flat.h"
#include "scene/PointLight.h"
#include "scene/SpotLight.h"
#include "scene/Static.h"
#include "scene/Sun.h"
#include "scene/Water.h"
#include "support/ClockGuard.h"
#include "support/GLContext.h"
#include "support/Near.h"
#include "support/SceneryFiles.h"
#include "support/Screenshot.h"
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

// Tests, with a window or without, in the test scene's folder with a sky.
template <class Base>
class WithSceneFiles : public Base {
public:
    WithSceneFiles() {
        SceneryScratch::Write("materials/sky.mat", ColourMaterial({0.2f, 0.4f, 0.6f}));
    }
    ~WithSceneFiles() override { ForgetLights(); }

private:
    SceneryScratch scratch;
};
using SceneTest = WithSceneFiles<::testing::Test>;
using SceneGL = WithSceneFiles<GLTest>;

// Writes the two files (empty text: no file) and loads the scene.
Scene* Load(const std::string& lights, const std::string& sdf) {
    ForgetLights();
    for (const auto& [name, text] : {std::pair{"lights.txt", lights}, std::pair{"scene.sdf", sdf}}) {
        std::filesystem::remove(SCENE_DIR + name);
        if (!text.empty()) SceneryScratch::Write(name, text);
    }
    return new Scene("test");
}

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
    EXPECT_TRUE(dynamic_cast<Flat*>(scene->transparents[1]) && dynamic_cast<Sun*>(scene->reflectedTransparents[2]))
        << "a fire is a flat, a sun a sun";
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

TEST_F(SceneTest, TheArenaIsPlacedAtOnceCastsNoShadowAndIsLoweredForPlanarShadows) {
    const std::unique_ptr<Scene> scene(Load(ONE_LIGHT, "sky.mat 100 0 1 ARENA N grid.asc 0 stone.mat 5 10 7"));
    shadowctr = 3;
    scene->arena->DrawShadow();
    EXPECT_TRUE(scene->arena->world * Vector3() == Vector3(5, 10, 7) && shadowctr == 3)
        << "placed before any update; no shadow matrix used up";
    shadowctr = 0;
    for (bool stencil : {false, true}) {
        scene->stencilShadows = stencil;
        scene->Update();
        EXPECT_EQ(scene->arena->world * Vector3(), Vector3(5, stencil ? 10 : 8.5f, 7));
    }
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

using SceneryTest = SceneTest;

TEST_F(SceneryTest, OnlyMinusOneTurnsAMeshInsideOut) {
    for (const int flip : {-1, 0, 1, -2}) {
        const std::string text = "grid.asc " + std::to_string(flip) + " stone.mat 0 0 0";
        const Static s(*Record(text), SCENE_DIR);
        const Flat f(*Record(text), SCENE_DIR);
        for (const Mesh* m : {s.mesh, s.shadowMesh, f.mesh}) EXPECT_NEAR(m->vertices[4].normal.y, flip == -1 ? -1 : 1, 1e-5) << flip;
    }
}

TEST_F(SceneryTest, ACutRecordIsSaidWhereAndKeepsWhatItRead) {
    const struct {
        const char* text;
        bool mesh, material;
        const char* trace;
    } cases[] = {
        {"", false, false, "expected a mesh file name, found the end of the file"},
        {"grid.asc zero stone.mat 1 2 3", true, false, "expected a whole number, found 'zero'"},
        {"grid.asc 0", true, false, "expected a material file name, found the end of the file"},
        {"grid.asc 0 stone.mat 1 2", true, true, "expected a number, found the end of the file"},
    };
    for (const auto& c : cases) {
        TraceCapture trace;
        Static s(*Record(c.text), SCENE_DIR);
        s.Update();
        EXPECT_TRUE((s.mesh != nullptr) == c.mesh && (s.material != nullptr) == c.material && s.position == Vector3());
        EXPECT_TRUE(trace.Has(std::string("scene.sdf:1: ") + c.trace + "; the scenery record is incomplete\n"))
            << c.text << "\n" << trace.str();
    }
    const Static s(*Record("nothere.asc 0 stone.mat 1 2 3"), SCENE_DIR);
    EXPECT_TRUE(s.mesh->numVertices == 0 && s.position == Vector3(1, 2, 3)) << "a missing mesh file leaves empty meshes";
}

using SceneryGL = SceneGL;

TEST_F(SceneryGL, TheArenaDrawsTheFloorInItsMaterial) {
    Camera camera(Vector3(0, 200, 0), Vector3(0, 0, 0), Vector3(0, 0, 1), 0);
    System::instance()->display->SetCamera(&camera);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    Arena arena(*Record("grid.asc 0 stone.mat 0 0 0"), SCENE_DIR);
    arena.raised = false;
    arena.Update();
    arena.Draw();
    for (const int x : {5, 32, 60}) EXPECT_TRUE(ReadPixel(x, 32).r == 255 && ReadPixel(x, 32).Sum() == 255) << x;
}

using SunTest = SceneryTest;

// A sun whose own mesh does not exist: it draws nothing but its flare.
std::unique_ptr<Sun> NewSun(const std::string& flare, const Vector3& at = Vector3()) {
    SceneryScratch::Write("materials/flare.mat", FlatMaterial("-", {1, 1, 1}));
    SceneryScratch::Write("materials/halo.mat", FlatMaterial("-", {0, 1, 0}));
    SceneryScratch::Write("lensflare.txt", flare);
    Record record("nosun.asc 0 stone.mat " + std::to_string(at.x) + ' ' + std::to_string(at.y) +
                  ' ' + std::to_string(at.z));
    return std::make_unique<Sun>(*record, SCENE_DIR);
}

// lensflare.txt and what the sun keeps of it: whatever is kept can be drawn.
TEST_F(SunTest, ReadsFlareMaterialsAndFlaresAndKeepsOnlyWhatItCanDraw) {
    const struct {
        const char* text;
        int materials, flares;
        const char* trace;
    } cases[] = {
        {"2\nflare.mat halo.mat\n3\n0 10 -1\n1 20 0\n2 5 1\n", 2, 3,
         "error in lensflare file: material # must be between 0 and 1"},
        {"0 2 0 10 0 0 10 1", 0, 0, "expected a flare material to draw the flares with, found none"},
        {"-2 flare.mat 1 0 10 0", 0, 0, "expected a number of flare materials, found -2"},
        {"1 flare.mat -4 0 10 0", 1, 0, "expected a number of flares, found -4"},
        {"1 flare.mat 2 0 10 0 0 5", 1, 1, "expected a number, found the end of the file; flare #1"},
        {"1 flare.mat 2 0 big 0 0 5 1", 1, 0, "expected a number, found 'big'"},
        {"", 0, 0, "expected a whole number, found the end of the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TraceCapture trace;
        const std::unique_ptr<Sun> sun = NewSun(c.text);
        EXPECT_TRUE(sun->flareMaterials.count == c.materials && sun->flares.count == c.flares);
        EXPECT_TRUE(trace.Has(c.trace)) << trace.str();
        for (const FlareQuad& quad : sun->Flare(320, 240, 640, 480)) {
            EXPECT_TRUE(quad.material >= 0 && quad.material < sun->flareMaterials.count);
        }
    }
    const std::unique_ptr<Sun> sun = NewSun("2\nflare.mat halo.mat\n3\n0 10 -1\n1 20 0\n2 5 1\n");
    EXPECT_EQ(sun->flares[2].material, 0) << "an index out of range falls back to the first";
}

TEST_F(SunTest, FlaresLieOnTheLineFromTheSunThroughTheCentreAndFadeOffTheScreen) {
    // One flare at each line position: the sun, the centre, the mirror image, half way.
    const std::unique_ptr<Sun> sun = NewSun("1 flare.mat 4 0 10 -1 0 20 0 0 30 1 0 40 0.5");
    const int W = 640, H = 480;
    // The quads' frame has y upward; the sun's screen position has it downward.
    const std::vector<FlareQuad> quads = sun->Flare(100, 60, W, H);
    ASSERT_EQ(quads.size(), 4u);
    const float expected[4][2] = {{100, H - 60}, {W / 2, H / 2}, {W - 100, 60}, {430, 150}};
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(quads[i].x == expected[i][0] && quads[i].y == expected[i][1]) << i;
    // The strength fades over the last two hundred pixels of a 400-pixel
    // margin; the nearer border counts; beyond it there is no flare.
    const struct {
        float x, y, strength;
    } fades[] = {{W / 2, H / 2, 0.35f},     {W + 100, H / 2, 0.35f},       {W + 300, H / 2, 0.175f},
                 {W + 400, H / 2, 0},       {W + 450, H / 2, -1},          {-300, H / 2, 0.175f},
                 {W / 2, H + 350, 0.0875f}, {W / 2, -250, 0.35f * 0.75f}, {-350, H + 300, 0.0875f},
                 {W / 2, -401, -1},         {-401, H / 2, -1}};
    for (const auto& f : fades) {
        const std::vector<FlareQuad> q = sun->Flare(f.x, f.y, W, H);
        EXPECT_FLOAT_EQ(q.empty() ? -1.0f : q[0].strength, f.strength) << f.x << "," << f.y;
    }
}

TEST_F(SceneryTest, FlatsAndTheSunFaceTheCameraFromWhereTheyStand) {
    Flat still(Vector3(), 10, nullptr);
    still.Update();
    EXPECT_EQ(still.world ^ Vector3(0, 0, 1), Vector3(0, 0, 1)) << "no camera: its own orientation";
    // Off to one side and above: no axis of the world faces it.
    Camera camera(Vector3(100, 50, -80), Vector3(10, 0, 5), Vector3(0, 1, 0), 0);
    System::instance()->display->camera = &camera;
    const Vector3 forward = (camera.at - camera.from).Normalized(), p(30, 4, -12);
    // The second square lies 20 units along -z from the point it marks: nearer the camera.
    for (const float offset : {0.0f, -20.0f}) {
        Flat flat(Vector3(0, 0, offset), 10, nullptr);
        flat.SetPosition(p);
        flat.Update();
        EXPECT_TRUE(Near(flat.world * Vector3(0, 0, offset), p + forward * offset, 1e-3f) &&
                    Near((flat.world ^ Vector3(0, 0, 1)).Normalized(), forward, 1e-3f));
        EXPECT_GT((flat.world ^ Vector3(0, 1, 0)).y, 0) << "its up edge points up on the screen";
        EXPECT_NEAR((flat.world ^ Vector3(1, 0, 0)).Length(), 1, 1e-4f) << "turned, never stretched";
    }
    const std::unique_ptr<Sun> sun = NewSun("", Vector3(-200, 300, 400));
    sun->Update();
    EXPECT_TRUE(Near(sun->world ^ Vector3(0, 0, 1), forward) &&
                Near(sun->world ^ Vector3(1, 0, 0), camera.up.Cross(forward).Normalized()));
    EXPECT_TRUE(Near(sun->world * Vector3(), Vector3(-200, 300, 400))) << "and stays where it is";
}

TEST_F(SceneryGL, TheSunsFlareIsDrawnBeforeTheCameraOnly) {
    Camera camera(Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0);
    System::instance()->display->SetCamera(&camera);
    glEnable(GL_CULL_FACE);  // the game's face culling: the quads must face the viewer
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    // One white quad 16 pixels wide at the screen centre.
    const std::unique_ptr<Sun> sun = NewSun("1 flare.mat 1 0 8 0", Vector3(0, 0, 500));
    sun->Update();
    sun->Draw();
    EXPECT_NEAR(ReadPixel(32, 32).r, static_cast<int>(0.35f * 255), 1);
    EXPECT_NEAR(ReadPixel(26, 37).g, static_cast<int>(0.35f * 255), 1);
    EXPECT_EQ(ReadPixel(20, 32).r, 0) << "outside the quad";
    // Behind the camera, on the view axis, the sun still projects onto the
    // screen centre: only its being behind takes the flare away.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    sun->SetPosition(Vector3(0, 0, -900));
    sun->Update();
    sun->Draw();
    EXPECT_EQ(ReadPixel(32, 32).r, 0);
}

// A water material: a green surface under a blue sky.
struct WaterFiles {
    WaterFiles() {
        WriteSolidBmp("sea.bmp", 0, 255, 0);
        WriteSolidBmp("sky.bmp", 0, 0, 255);
        SceneryScratch::Write("materials/water.mat", FlatMaterial("WATER sea.bmp sky.bmp"));
    }
    SceneryScratch scratch;
};

// The water at game time 0, seen from high above the middle vertex, looking
// straight down.
class WaterScene {
public:
    WaterScene() {
        System::instance()->display->camera = &camera;
        clock.At(0);
    }

    WaterFiles files;
    ClockGuard clock;
    Camera camera{Vector3(0, 200, 0), Vector3(0, 0, 0), Vector3(0, 0, 1), 0};
    Record record{"grid.asc 0 water.mat 0 0 0"};
    Water water{*record, SCENE_DIR};
};

class WaterTest : public ::testing::Test {
protected:
    WaterScene scene;
    Water& water = scene.water;
    const std::vector<Vertex>& vertices = water.mesh->vertices;
};

TEST_F(WaterTest, TheSurfaceStartsLevelRaysGiveItsCoordinatesAndTheWavesGrowButSpareTheOrigin) {
    water.Update();
    const float level = vertices[4].pos.y;
    EXPECT_NEAR(level, -26.466, 1e-3);
    for (int i = 0; i < 9; ++i) {  // x and z never change; normals follow the surface
        EXPECT_TRUE(std::fabs(vertices[i].pos.y - level) < 1e-4f && vertices[i].pos.x == -500.0f + 500 * (i % 3) &&
                    std::fabs(vertices[i].normal.y - 1) < 1e-6f) << i;
    }
    // Straight down onto the middle vertex: reflected straight up, carried on straight down.
    EXPECT_TRUE(std::fabs(water.reflectU[4] - 0.5f) < 1e-6f && std::fabs(water.refractU[4]) < 1e-6f);
    EXPECT_NEAR(water.material->alpha, 0.6, 1e-6) << "most opaque looking straight down";
    // Off to the side the reflected ray climbs to the sky plane, away from the camera.
    const Vector3 p = vertices[5].pos;  // x = 500, z = 0
    EXPECT_GT(water.reflectU[5], p.x * 0.3 / 600 + 0.5);
    EXPECT_GT(water.refractU[5], p.x * 10 / 600) << "bent rays still run on outwards";
    // Level with the surface no ray meets either plane: the vertex itself gives them.
    scene.camera.SetFrom(Vector3(-1000, p.y, 0));
    scene.camera.SetAt(Vector3(0, p.y, 0));
    water.Update();
    EXPECT_FLOAT_EQ(water.reflectV[8], vertices[8].pos.z * 0.3f / 600 + 0.5f);
    EXPECT_TRUE(std::isfinite(water.refractU[8]) && std::fabs(water.material->alpha - 0.3f) < 1e-6f);
    // The waves follow the clock alone, wherever the camera is.
    for (const int t : {10000, 2000000}) {
        scene.clock.At(t);
        water.Update();
        EXPECT_NEAR(vertices[4].pos.y, level, 1e-4) << t;
        EXPECT_GT(std::fabs(vertices[8].pos.y - level), 0.5) << t;
    }
}

TEST(Water, AnEmptyOrMissingMeshComputesAndDrawsNothing) {
    WaterFiles files;
    for (const char* text : {"nothere.asc 0 water.mat 0 0 0", ""}) {
        Water water(*Record(text), SCENE_DIR);
        water.Update(), water.Draw(), water.DrawAmbient();
        EXPECT_TRUE(water.reflectU.empty()) << text;
    }
}

class WaterGL : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_LIGHTING);
        System::instance()->display->SetCamera(&scene.camera);
        scene.water.Update();
    }
    static void ExpectPixel(int x, int y, int r, int g, int b) {
        const Pixel p = ReadPixel(x, y);
        EXPECT_TRUE(std::abs(p.r - r) <= 2 && std::abs(p.g - g) <= 2 && std::abs(p.b - b) <= 2)
            << x << "," << y << ": " << p.r << " " << p.g << " " << p.b;
    }
    WaterScene scene;
};

TEST_F(WaterGL, ThePlanarDrawBlendsTheSurfaceOverTheSky) {
    // Into an empty frame the sky finds no surface depth to match: only the
    // green surface shows, 60 % over the black clear colour. Over its own
    // depth the opaque blue sky is laid first.
    scene.water.Draw();
    ExpectPixel(32, 32, 0, 153, 0);
    scene.water.Draw();
    ExpectPixel(32, 32, 0, 153, 102);
    ExpectPixel(3, 60, 0, 153, 102);
}

TEST_F(WaterGL, TheStencilPassesClearTheSurfaceAndDarkenItsShadow) {
    glEnable(GL_STENCIL_TEST);
    scene.water.DrawAmbient();
    scene.water.DrawAmbient();
    EXPECT_NEAR(scene.water.material->alpha, 0.5, 1e-6);
    ExpectPixel(16, 32, 0, 128, 128);
    // The left half of the window lies in shadow.
    glStencilMask(0xFF);
    glClearStencil(1);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, WIDTH / 2, HEIGHT);
    glClear(GL_STENCIL_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glDepthFunc(GL_EQUAL);
    scene.water.DrawNonAmbient();
    ExpectPixel(16, 32, 0, 115, 115);
    ExpectPixel(48, 32, 0, 128, 128);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST)) << "the light pass after it is not held back";
}

}  // namespace
