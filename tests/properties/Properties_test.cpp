// Properties that hold across the game's classes, one table each.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "anim/Anim.h"
#include "character/Bone.h"
#include "character/Cloth.h"
#include "character/Head.h"
#include "character/Object.h"
#include "character/Person.h"
#include "character/PonyBone.h"
#include "character/Ponytail.h"
#include "core/DataProblems.h"
#include "input/KbdController.h"
#include "input/Mouse.h"
#include "match/LifeBar.h"
#include "match/Particle.h"
#include "match/Sparkle.h"
#include "match/Tracer.h"
#include "math/Camera.h"
#include "math/Gravity.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/Mesh3DS.h"
#include "render/MeshQuad.h"
#include "scene/DirectionalLight.h"
#include "scene/Scene.h"
#include "scene/Sun.h"
#include "scene/Water.h"
#include "support/ClockGuard.h"
#include "support/GLContext.h"
#include "support/Keys.h"
#include "support/MeshText.h"
#include "support/RenderFiles.h"
#include "support/SceneryFiles.h"
#include "support/TraceCapture.h"

namespace {

// Whatever moves with the game clock stands still while the clock is frozen
// (F3), however the world around it moves and however long the real frames
// last; running, the same update would have moved it.
using State = std::vector<float>;

State Of(std::initializer_list<Vector3> vectors, std::initializer_list<float> more = {}, const Matrix* m = nullptr) {
    State s;
    for (const Vector3& v : vectors) s.insert(s.end(), {v.x, v.y, v.z});
    s.insert(s.end(), more);
    if (m != nullptr) s.insert(s.end(), m->m, m->m + 16);
    return s;
}

Mesh HangingRow() {
    Mesh mesh;
    mesh.Allocate(3, 0);
    for (int j = 0; j < 3; ++j) mesh.vertices[j] = Vertex({0, -5.0f * j, 0}, {0, 0, 1}, 0, 0);
    return mesh;
}

// One of everything that moves with the clock, hanging from or aimed at
// things the test moves a little each frame. Built after effect.mat exists.
struct Movers {
    Movers() {
        head->target(&target);
        target.worldPos = Vector3(-200, 150, 0);
        particle.Start(100000, Vector3(0, 100, 0), Vector3(50, 0, 0), GRAVITY);
        sparkle.Start(100000, Vector3(0, 40, 0), nullptr);
        tracer->Start();
    }
    void Raise() { bone->world.CreateTranslate(0, bone->world(3, 1) + 10, 0); }
    Ptr<Bone> neck = new Bone(nullptr, {0, 130, 0}, {0, 150, 0}, {0, 0, 1}, {2, 20, 2}, nullptr, nullptr, nullptr, nullptr);
    Ptr<Head> head = new Head(neck, {0, 150, 0}, {0, 175, 0}, {0, 0, 1}, {2, 25, 2}, nullptr, nullptr, nullptr, nullptr);
    Object target;
    float angle = 0;
    Ptr<Object> bone = new Object();
    Ptr<PonyBone> segment = new PonyBone(bone, {0, 0, 0}, {10, 0, 0}, {0, 0, 1}, 0.5f, 0, 0, true);
    Mesh row = HangingRow();
    const float loose[2] = {0.5f, 0.5f};
    const float* flex[1] = {loose};
    const int counts[1] = {3};
    Ptr<Cloth> cloth = new Cloth(bone, 1, counts, flex, &row, nullptr, 3);
    Particle particle{new Material("materials/effect.mat")};
    Sparkle sparkle{new Material("materials/effect.mat")};
    Ptr<Object> sword = new Object();
    Ptr<Tracer> tracer = new Tracer(sword, nullptr);
    KbdController controller{0};
    int keys = 0;
};

TEST(FrozenClock, HoldsEverythingThatMovesWithTheGameStill) {
    const struct {
        const char* name;
        std::function<void(Movers&)> step;
        std::function<State(Movers&)> state;
    } movers[] = {
        {"head",
         [](Movers& m) { m.neck->SetRotation(Vector3(0, 0, m.angle += 0.1f)), m.neck->Update(), m.head->Update(); },
         [](Movers& m) { return Of({m.head->look, m.head->prevTip}, {}, &m.head->world); }},
        {"ponytail segment", [](Movers& m) { m.Raise(), m.segment->Update(); },
         [](Movers& m) { return Of({m.segment->tip}, {}, &m.segment->world); }},
        {"cloth", [](Movers& m) { m.Raise(), m.cloth->Update(); },
         [](Movers& m) { return Of({m.row.vertices[0].pos, m.row.vertices[1].pos, m.row.vertices[2].pos}); }},
        {"particle", [](Movers& m) { m.particle.Update(); },
         [](Movers& m) { return Of({m.particle.pos, m.particle.vel}, {m.particle.brightness, m.particle.angle}); }},
        {"sparkle",
         [](Movers& m) { m.sparkle.offset += Vector3(10, 0, 0), m.sparkle.Update(); },
         [](Movers& m) { return Of({m.sparkle.position}, {m.sparkle.brightness, m.sparkle.angle}); }},
        {"weapon trail",
         [](Movers& m) {
             m.sword->worldPos += Vector3(10, 0, 0), m.sword->tip = m.sword->worldPos + Vector3(0, 10, 0);
             m.tracer->Update();
         },
         [](Movers& m) {
             State s = {static_cast<float>(m.tracer->count)};
             for (const Vertex& v : m.tracer->mesh->vertices) s.insert(s.end(), {v.pos.x, v.pos.y, v.pos.z});
             return s;
         }},
        {"controller",
         [](Movers& m) {
             // A different key each frame, so that something new is always in the window.
             const int sequence[] = {SDLK_s, SDLK_h, SDLK_g, SDLK_d};
             KeysDown({sequence[m.keys++ % 4]});
             System::instance()->clock->time += System::instance()->clock->mode * 200;
             m.controller.Update();
         },
         [](Movers& m) {
             const std::string letters = m.controller.Commands();
             return State(letters.begin(), letters.end());
         }},
    };
    for (const auto& mover : movers) {
        SCOPED_TRACE(mover.name);
        RenderScratch scratch;
        WriteFile("materials/effect.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
        Camera camera;
        scratch.display->camera = &camera;
        ClockGuard clock;
        clock.At(1000, 16);
        Movers m;
        mover.step(m);
        const State before = mover.state(m);
        mover.step(m);
        EXPECT_NE(mover.state(m), before) << "running, a frame moves it";
        clock.clock.SetMode(0);
        clock.At(1032, 500);  // the real frames go on
        const State frozen = mover.state(m);
        for (int frame = 0; frame < 3; ++frame) mover.step(m);
        EXPECT_EQ(mover.state(m), frozen);
    }
}

// Every drawing object that changes the matrices, the depth test, the depth
// function, depth writes or lighting for its own drawing gives back the
// state it found, so that what the frame draws after it is unaffected.
// The state a frame's drawing relies on, read back from GL. Objects drawn in
// the world load their own model-view; overlays must give it back too.
std::vector<float> Snapshot(bool overlay) {
    std::vector<float> s(overlay ? 32 : 16);
    glGetFloatv(GL_PROJECTION_MATRIX, s.data());
    if (overlay) glGetFloatv(GL_MODELVIEW_MATRIX, s.data() + 16);
    for (const GLenum what : {GL_MATRIX_MODE, GL_DEPTH_FUNC, GL_DEPTH_WRITEMASK}) {
        GLint value = 0;
        glGetIntegerv(what, &value);
        s.push_back(static_cast<float>(value));
    }
    s.insert(s.end(), {static_cast<float>(glIsEnabled(GL_DEPTH_TEST)), static_cast<float>(glIsEnabled(GL_LIGHTING))});
    return s;
}

// What a frame has set when an object draws: its own projection and
// model-view, the depth test and lighting on, and a depth function of its own.
void FrameState() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2, 3, 4);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5, 6, 7);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDepthFunc(GL_LEQUAL);
}

using Draw = std::function<void()>;

// Each maker builds its object in the scratch scene folder and returns its draw.
Draw CursorDraw() {
    WriteFile("materials/white.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
    auto mouse = std::make_shared<Mouse>();
    mouse->ModeAbs();
    mouse->SetPos(20, 12);
    return [=] { mouse->Draw(); };
}

Draw LensFlareDraw() {
    SceneryScratch::Write("materials/flare.mat", FlatMaterial("-"));
    SceneryScratch::Write("lensflare.txt", "1 flare.mat 1 0 8 0");
    Record record("nosun.asc 0 stone.mat 0 0 500");
    auto sun = std::make_shared<Sun>(*record, SCENE_DIR);
    sun->Update();
    return [=] { sun->Draw(); };
}

Draw WaterDraw() {
    WriteSolidBmp("sea.bmp", 0, 255, 0);
    WriteSolidBmp("sky.bmp", 0, 0, 255);
    SceneryScratch::Write("materials/water.mat", FlatMaterial("WATER sea.bmp sky.bmp"));
    Record record("grid.asc 0 water.mat 0 0 0");
    auto water = std::make_shared<Water>(*record, SCENE_DIR);
    water->Update();
    return [=] { water->Draw(), water->DrawAmbient(); };
}

Draw EmbossDraw() {
    auto bumpy = std::make_shared<Material>();
    bumpy->bump = true;
    auto quad = std::make_shared<MeshQuad>(Vector3(-1, -1, 0), Vector3(1, 0, 0), Vector3(0, 1, 0), Vector3(2, 2, 0));
    auto o = std::make_shared<Ptr<Object>>(new Object(nullptr, Vector3(), Vector3(1, 0, 0), Vector3(0, 1, 0),
                                                      Vector3(0, 0, 1), Vector3(1, 1, 1), quad.get(), quad.get(),
                                                      nullptr, bumpy.get()));
    auto sun = std::make_shared<DirectionalLight>(Vector3(1, 1, 1), Vector3(-1, 0, 0));
    System::instance()->display->lights.Add(sun.get());
    return [o, bumpy, quad, sun] { (*o)->Draw(); };
}

Draw TransparentsDraw() {
    auto scene = std::make_shared<Scene>("none");
    scene->transparents.Add(new Object());
    scene->reflectedTransparents.Add(new Object());
    return [=] { scene->DrawAlpha(), scene->DrawReflectionAlpha(); };
}

using GLState = GLTest;

TEST_F(GLState, EveryDrawingObjectGivesBackTheStateItFound) {
    const struct {
        const char* name;
        Draw (*make)();
        bool overlay;
    } drawers[] = {{"life bar", [] { return Draw([] { LifeBar(1).Draw(); }); }, true},
                   {"mouse cursor", CursorDraw, true},
                   {"lens flare", LensFlareDraw, true},    {"water", WaterDraw, false},
                   {"emboss", EmbossDraw, false},          {"transparent scenery", TransparentsDraw, false}};
    for (const auto& d : drawers) {
        SCOPED_TRACE(d.name);
        SceneryScratch files;
        Camera camera(Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0);
        System::instance()->display->SetCamera(&camera);
        const Draw draw = d.make();
        FrameState();
        const std::vector<float> found = Snapshot(d.overlay);
        draw();
        EXPECT_EQ(Snapshot(d.overlay), found);
        StandardState();
    }
}

// A count in a modder's file that claims more than the data holds: the
// loader keeps what there is, says so, and asks for no absurd amount of memory.
const std::string LIGHT = "DIRECTIONAL 1 1 1 0 -1 0 ";
const std::string STATIC = "STATIC N grid.asc 0 stone.mat 0 0 0 ";

// The number of lights and scenery objects the test scene ends up with.
int SceneLoaded(const std::string& lights, const std::string& sdf) {
    SceneryScratch::Write("lights.txt", lights);
    SceneryScratch::Write("materials/sky.mat", ColourMaterial({0, 0, 1}));
    SceneryScratch::Write("scene.sdf", sdf);
    const Scene scene("test");
    return System::instance()->display->lights.count + scene.solids.count;
}

// Flare materials and flares a sun keeps of lensflare.txt.
int FlaresKept(const std::string& text) {
    SceneryScratch::Write("materials/flare.mat", FlatMaterial("-"));
    SceneryScratch::Write("lensflare.txt", text);
    Record record("nosun.asc 0 stone.mat 0 0 0");
    const Sun sun(*record, SCENE_DIR);
    return sun.flareMaterials.count + sun.flares.count;
}

// Six vertices dealt out by counts that claim more.
Mesh SixVertices() {
    Mesh mesh;
    mesh.Allocate(6, 0);
    for (int i = 0; i < 6; ++i) mesh.vertices[i].pos = Vector3(0, -2.0f * i, 0);
    return mesh;
}

int PonytailVertices() {
    Mesh mesh = SixVertices(), rest = SixVertices();
    const int counts[3] = {4, 5, -2};
    const Vector3 joints[3] = {{0, 0, 0}, {0, -10, 0}, {0, -20, 0}};
    const Vector3 ends[3] = {{0, -10, 0}, {0, -20, 0}, {0, -30, 0}};
    const Vector3 hints[3] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    const float flex[3] = {0.5f, 0.5f, 0.5f};
    Ptr<Object> bone = new Object();
    Ptr<Ponytail> tail = new Ponytail(bone, 3, &mesh, &rest, nullptr, counts, joints, ends, hints, flex);
    tail->Update();
    int dealt = 0;
    for (int i = 0; i < tail->bones.count; ++i) dealt += tail->bones[i]->count;
    return dealt;
}

int ClothLinks() {
    Mesh mesh = SixVertices();
    const std::vector<float> five(5, 0.5f);  // all that a row of six can read
    const float* flex[3] = {five.data(), five.data(), five.data()};
    const int counts[3] = {1000000, 4, -3};
    Ptr<Cloth> cloth = new Cloth(new Object(), 3, counts, flex, &mesh, nullptr, 1000000);
    cloth->Update();
    return cloth->links.count;
}

int BodyParts(const std::string& cloth) {
    const std::string triangle = meshtext::OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    WriteFile("characters/kira/meshes/body.asc", triangle);
    WriteFile("characters/kira/meshes/skirt.asc", triangle);
    WriteFile("characters/kira/materials/skin.mat", ColourMaterial({1, 1, 1}));
    WriteFile("characters/kira/low.bdf",
              "2 meshes\n0 TORSO body.asc skin.mat 0 -1  0 0 0  0 50 0  0 0 1  10 50 10\n" + cloth);
    return Person("kira", 1).nbones;
}

int MeshVertices(const std::string& text) {
    WriteFile("counted.asc", text);
    return Mesh3DS("counted.asc", false).numVertices;
}

TEST(Overclaims, EachLoaderKeepsWhatTheDataHoldsAndSaysSo) {
    const struct {
        const char* what;
        std::function<int()> load;
        int kept;
        const char* trace;
    } cases[] = {
        {"mesh vertices", [] { return MeshVertices("Vertices: 2000000000 Faces: 1\n"); }, 0,
         "the mesh stays empty"},
        {"mesh faces", [] { return MeshVertices("Vertices: 3 Faces: 1000001\n"); }, 0,
         "the mesh stays empty"},
        {"lights", [] { return SceneLoaded("AMBIENT 0 0 0 2000000000 " + LIGHT, ""); }, 1,
         "expected 2000000000 lights, found 1"},
        {"scenery objects",
         [] { return SceneLoaded("AMBIENT 0 0 0 0", "sky.mat 100 0 2000000000 " + STATIC); }, 1, "expected 2000000000 objects, found 1"},
        {"scenery cut short",
         [] { return SceneLoaded("AMBIENT 0 0 0 0", "sky.mat 100 0 3 " + STATIC + "ARENA N grid.asc 0"); },
         2, "expected 3 objects, found 2"},
        {"flare materials", [] { return FlaresKept("1000 flare.mat 1 0 10 0"); }, 2,
         "expected 1000 flare materials, found 1 before the number of flares"},
        {"flares", [] { return FlaresKept("1 flare.mat 2000000000 0 10 0 0 5 1"); }, 3,
         "expected 2000000000 flares, found 2"},
        {"ponytail vertices", PonytailVertices, 6,
         "ponytail segment 1 claims 5 vertices; the mesh has 2 left"},
        {"cloth rows", ClothLinks, 5, "cloth row 0 claims 1000000 vertices; the mesh has 6 left"},
        {"body cloth row", [] { return BodyParts("1 CLOTH skirt.asc skin.mat 0 1  2000000000\n"); },
         1, "expected a row of points from 0 to 10000, found 2000000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SceneryScratch scratch;
        TraceCapture trace;
        EXPECT_EQ(c.load(), c.kept);
        EXPECT_TRUE(trace.Has(c.trace)) << trace.str();
    }
}

// A count cannot promise more items than the rest of its file could hold:
// tiny files asking for huge meshes or animations are refused before
// anything is allocated for them.
TEST(Overclaims, ACountBeyondWhatTheFileCouldHoldIsRefused) {
    SceneryScratch scratch;
    WriteFile("huge.asc", "Vertices: 1000000 Faces: 1000000");  // 33 bytes
    WriteFile("k/huge.kaf", "100000\n0 -1\n");                  // 12 bytes
    DataProblems problems;
    EXPECT_EQ(Mesh3DS("huge.asc", false).numVertices, 0);
    EXPECT_EQ(MeshVertices("Vertices: 3 Faces: 1\nX: 0 Y: 0 Z: 0 X: 1 Y: 0 Z: 0 X: 0 Y: 1 Z: 0\nA:0 B:1 C:2\n"), 3);
    EXPECT_THROW(Anim("k", "huge.kaf", 1), DataProblems::Abandoned);
    ASSERT_EQ(problems.problems().size(), 2u);
    for (const std::string& problem : problems.problems())
        EXPECT_NE(problem.find(" in the rest of the file, found a count of "), std::string::npos) << problem;
}

}  // namespace
