// A count in a modder's file that claims more than the data holds: the
// loader keeps what there is, says so, and asks for no absurd amount of memory.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "anim/Anim.h"
#include "character/Cloth.h"
#include "character/Person.h"
#include "character/PonyBone.h"
#include "character/Ponytail.h"
#include "core/DataProblems.h"
#include "render/Mesh.h"
#include "render/Mesh3DS.h"
#include "scene/Scene.h"
#include "scene/Sun.h"
#include "support/MeshText.h"
#include "support/SceneryFiles.h"
#include "support/TraceCapture.h"

namespace {

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
