#include "scene/Static.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Display.h"
#include "core/System.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/SceneryFiles.h"

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class StaticTest : public ::testing::Test {
protected:
    SceneryScratch scratch;
};

TEST_F(StaticTest, ReadsItsRecordAndStaysWhereItWasPut) {
    Record record("grid.asc 0 stone.mat 10 20 30\nNEXT");
    Static rock(*record, SCENE_DIR);

    ASSERT_NE(rock.mesh, nullptr);
    ASSERT_NE(rock.shadowMesh, nullptr);
    EXPECT_NE(rock.mesh, rock.shadowMesh) << "the file is read twice";
    EXPECT_EQ(rock.mesh->numVertices, 9);
    EXPECT_EQ(rock.shadowMesh->numVertices, 9);
    EXPECT_NE(rock.collisionMesh, nullptr);
    ASSERT_NE(rock.material, nullptr);
    EXPECT_EQ(rock.material->fileName, "scenes/test/materials/stone.mat");
    EXPECT_EQ(rock.position, Vector3(10, 20, 30));

    Matrix placed;
    placed.CreateTranslate(10, 20, 30);
    EXPECT_EQ(rock.world * Vector3(1, 2, 3), placed * Vector3(1, 2, 3));
    rock.SetPosition(Vector3(-5, 0, 0));
    rock.Update();
    EXPECT_EQ(rock.world * Vector3(1, 2, 3), placed * Vector3(1, 2, 3))
        << "scenery does not move once built";

    std::string next;
    ASSERT_TRUE((*record).Word(next));
    EXPECT_EQ(next, "NEXT") << "the record ends after the position";
}

TEST_F(StaticTest, RecordsNamingOneMaterialShareIt) {
    Record first("grid.asc 0 stone.mat 0 0 0");
    Record second("grid.asc 0 stone.mat 0 0 0");
    const Static a(*first, SCENE_DIR);
    const Static b(*second, SCENE_DIR);
    EXPECT_EQ(a.material, b.material);
    EXPECT_NE(a.mesh, b.mesh);
}

TEST_F(StaticTest, OnlyMinusOneTurnsTheMeshInsideOut) {
    for (const int flip : {-1, 0, 1, -2}) {
        Record record("grid.asc " + std::to_string(flip) + " stone.mat 0 0 0");
        const Static s(*record, SCENE_DIR);
        const float up = flip == -1 ? -1.0f : 1.0f;
        for (const Mesh* m : {s.mesh, s.shadowMesh}) {
            EXPECT_NEAR(m->vertices[4].normal.y, up, 1e-5) << flip;
        }
    }
}

TEST_F(StaticTest, ACutRecordIsTracedAndKeepsWhatItRead) {
    const struct {
        const char* text;
        bool mesh;
        bool material;
        const char* trace;
    } cases[] = {
        {"", false, false, "expected a mesh file name, found the end of the file"},
        {"grid.asc", true, false, "expected a whole number, found the end of the file"},
        {"grid.asc zero stone.mat 1 2 3", true, false, "expected a whole number, found 'zero'"},
        {"grid.asc 0", true, false, "expected a material file name, found the end of the file"},
        {"grid.asc 0 stone.mat 1 2", true, true, "expected a number, found the end of the file"},
    };
    for (const auto& c : cases) {
        TraceCapture trace;
        Record record(c.text);
        Static s(*record, SCENE_DIR);
        EXPECT_EQ(s.mesh != nullptr, c.mesh) << c.text;
        EXPECT_EQ(s.material != nullptr, c.material) << c.text;
        EXPECT_EQ(s.position, Vector3()) << c.text;
        EXPECT_TRUE(Contains(trace.str(), std::string("scene.sdf:1: ") + c.trace +
                                              "; the scenery record is incomplete\n"))
            << c.text << "\n" << trace.str();
        s.Update();
    }
}

TEST_F(StaticTest, AMissingMeshFileLeavesEmptyMeshes) {
    TraceCapture trace;
    Record record("nothere.asc 0 stone.mat 1 2 3");
    const Static s(*record, SCENE_DIR);
    ASSERT_NE(s.mesh, nullptr);
    EXPECT_EQ(s.mesh->numVertices, 0);
    EXPECT_EQ(s.shadowMesh->numFaces, 0);
    EXPECT_EQ(s.position, Vector3(1, 2, 3));
    EXPECT_TRUE(Contains(trace.str(), "NO MESH FOUND: scenes/test/nothere.asc"));
}

}  // namespace
