// The scenery records of scene.sdf: statics, flats and the arena floor.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "math/Camera.h"
#include "render/Mesh.h"
#include "scene/Arena.h"
#include "scene/Flat.h"
#include "scene/Static.h"
#include "support/GLContext.h"
#include "support/Near.h"
#include "support/SceneryFiles.h"
#include "support/Screenshot.h"
#include "support/TraceCapture.h"

namespace {

class SceneryTest : public ::testing::Test {
protected:
    SceneryScratch scratch;
};

TEST_F(SceneryTest, OnlyMinusOneTurnsAMeshInsideOut) {
    for (const int flip : {-1, 0, 1, -2}) {
        Record record("grid.asc " + std::to_string(flip) + " stone.mat 0 0 0");
        const Static s(*record, SCENE_DIR);
        const Flat f(*Record("grid.asc " + std::to_string(flip) + " stone.mat 0 0 0"), SCENE_DIR);
        for (const Mesh* m : {s.mesh, s.shadowMesh, f.mesh}) {
            EXPECT_NEAR(m->vertices[4].normal.y, flip == -1 ? -1 : 1, 1e-5) << flip;
        }
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
        Record record(c.text);
        Static s(*record, SCENE_DIR);
        s.Update();
        EXPECT_TRUE((s.mesh != nullptr) == c.mesh && (s.material != nullptr) == c.material && s.position == Vector3());
        EXPECT_TRUE(trace.Has(std::string("scene.sdf:1: ") + c.trace + "; the scenery record is incomplete\n"))
            << c.text << "\n" << trace.str();
    }
    Record missing("nothere.asc 0 stone.mat 1 2 3");
    const Static s(*missing, SCENE_DIR);
    EXPECT_TRUE(s.mesh->numVertices == 0 && s.position == Vector3(1, 2, 3)) << "a missing mesh file leaves empty meshes";
}

TEST_F(SceneryTest, AFlatFacesTheCameraFromItsPointOrItsOffset) {
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
    System::instance()->display->camera = nullptr;
    Flat still(Vector3(), 10, nullptr);
    still.Update();
    EXPECT_EQ(still.world ^ Vector3(0, 0, 1), Vector3(0, 0, 1)) << "no camera: its own orientation";
}

// How far it sinks is the scene's test; here, where it starts and what it casts.
TEST_F(SceneryTest, TheArenaIsPlacedAtOnceAndCastsNoShadow) {
    Record record("grid.asc 0 stone.mat 5 -2 7");
    Arena arena(*record, SCENE_DIR);
    shadowctr = 3;
    arena.DrawShadow();
    EXPECT_TRUE(arena.world * Vector3() == Vector3(5, -2, 7) && shadowctr == 3) << "placed before any update; "
                                                                                  "no shadow matrix used up";
    shadowctr = 0;
}

class SceneryGL : public GLTest {
protected:
    SceneryScratch scratch;
};

TEST_F(SceneryGL, TheArenaDrawsTheFloorInItsMaterial) {
    Camera camera(Vector3(0, 200, 0), Vector3(0, 0, 0), Vector3(0, 0, 1), 0);
    System::instance()->display->SetCamera(&camera);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    Record record("grid.asc 0 stone.mat 0 0 0");
    Arena arena(*record, SCENE_DIR);
    arena.raised = false;
    arena.Update();
    arena.Draw();
    SaveShot("scenery_arena");
    for (const int x : {5, 32, 60}) EXPECT_TRUE(ReadPixel(x, 32).r == 255 && ReadPixel(x, 32).Sum() == 255) << x;
    System::instance()->display->camera = nullptr;
}

}  // namespace
