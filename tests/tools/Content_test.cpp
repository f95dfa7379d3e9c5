// Loads every file of the generated default content through the game's own
// loaders, with the trace captured, and fails on any line that reports a
// problem: the content must load without a single complaint.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "anim/MoveTree.h"
#include "character/Person.h"
#include "core/System.h"
#include "render/Material.h"
#include "render/Mesh3DS.h"
#include "scene/Scene.h"
#include "support/DisplayGuard.h"
#include "support/GLContext.h"
#include "support/TraceCapture.h"

namespace {

const char* const DATA = KORVANTHE_DATA_DIR;

// Words with which the loaders report a problem.
const char* const COMPLAINTS[] = {
    "ERROR", "error", "NOT FOUND", "NO MESH FOUND", "Failed", "doesn't exist", "unknown",
    "No Image", "expected", "Assertion", "cut to", "claims", "truncated", "no tracer file",
    "No Movetree", "WARNING",
};

std::vector<std::string> Complaints(const std::string& trace) {
    std::vector<std::string> found;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        for (const char* word : COMPLAINTS) {
            if (line.find(word) != std::string::npos) {
                found.push_back(line);
                break;
            }
        }
    }
    return found;
}

std::vector<std::string> Words(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// In the build's data folder, with a display of its own.
class ContentTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        ASSERT_TRUE(std::filesystem::exists(std::string(DATA) + "/settings.txt"))
            << "the build writes the default content into " << DATA;
        System::instance();  // reads controllers.txt from the test folder
        std::filesystem::current_path(DATA);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        GLTest::TearDown();
    }

    const std::filesystem::path previous = std::filesystem::current_path();
    DisplayGuard display;
};

TEST_F(ContentTest, TheMatchOfTheSettingsLoadsWithoutAComplaint) {
    const std::vector<std::string> settings = Words("settings.txt");
    ASSERT_EQ(settings.size(), 6u);
    TraceCapture trace;
    Person one(settings[3], 1);
    Person two(settings[5], 1);
    MoveTree oneTree(&one, &two);
    MoveTree twoTree(&two, &one);
    Scene scene(settings[1]);
    for (const std::string& complaint : Complaints(trace.str())) ADD_FAILURE() << complaint;

    for (const Person* fighter : {&one, &two}) {
        EXPECT_GE(fighter->ncollide, 18) << fighter->name << ": a humanoid of 18 to 30 parts";
        EXPECT_LE(fighter->ncollide, 30) << fighter->name;
        EXPECT_NE(fighter->head, nullptr) << fighter->name;
        EXPECT_GT(fighter->tracerMaterials.count, 0) << fighter->name;
    }
    EXPECT_GT(scene.arenaSize, 0);
    EXPECT_NE(scene.arena, nullptr);
    EXPECT_NE(scene.water, nullptr);
    EXPECT_GE(System::instance()->display->lights.count, 2);
}

TEST_F(ContentTest, SharedMaterialsAndLettersLoadWithoutAComplaint) {
    TraceCapture trace;
    for (const char* name : {"strmat", "sparkle", "particle", "explcyl", "white", "menutext1",
                             "menutext2"}) {
        Material material(std::string("materials/") + name + ".mat");
    }
    for (const char c : std::string("abcdefghijklmnopqrstuvwxyz0123456789")) {
        const Mesh3DS letter(std::string("letters/") + c + ".asc", true);
        EXPECT_GT(letter.numFaces, 0) << "letter " << c;
    }
    for (const std::string& complaint : Complaints(trace.str())) ADD_FAILURE() << complaint;
}

// Every triangle is paid for by a software renderer, seen or not: a
// generated mesh has none without area, and a shadow mesh is a
// tetrahedron or nothing (each of its triangles facing away from the sun
// throws three long quads into the stencil buffer).
TEST_F(ContentTest, MeshesHaveNoEmptyTrianglesAndShadowMeshesAreCoarse) {
    int meshes = 0, shadows = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(".")) {
        if (entry.path().extension() != ".asc") continue;
        const Mesh3DS mesh(entry.path().string(), false);
        ++meshes;
        for (int f = 0; f < mesh.numFaces; ++f) {
            const Vector3& a = mesh.vertices[mesh.faces[f * 3]].pos;
            const Vector3& b = mesh.vertices[mesh.faces[f * 3 + 1]].pos;
            const Vector3& c = mesh.vertices[mesh.faces[f * 3 + 2]].pos;
            EXPECT_GT((b - a).Cross(c - a).Length(), 1e-4f) << entry.path() << " face " << f;
        }
        if (entry.path().parent_path().filename() == "3") {
            ++shadows;
            EXPECT_LE(mesh.numFaces, 4) << entry.path();
        }
    }
    EXPECT_GT(meshes, 100);
    EXPECT_GT(shadows, 30);
}

}  // namespace
