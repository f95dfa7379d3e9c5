// Loads every file of the generated default content through the game's own
// loaders, with the trace captured, and fails on any line that reports a
// problem: the content must load without a single complaint. Its sounds are
// short, peak below clipping and carry no DC offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "character/Person.h"
#include "core/System.h"
#include "frontend/GameSounds.h"
#include "frontend/Sound.h"
#include "render/Material.h"
#include "render/Mesh3DS.h"
#include "support/MatchHarness.h"
#include "support/GLContext.h"
#include "support/TraceCapture.h"

namespace {

// Words with which the loaders report a problem.
const char* const COMPLAINTS[] = {
    "ERROR", "error", "NOT FOUND", "NO MESH FOUND", "Failed", "doesn't exist", "unknown",
    "No Image", "expected", "Assertion", "cut to", "claims", "truncated", "no tracer file",
    "No Movetree", "WARNING",
};

// In the build's data folder, everything the match loads in the trace.
class ContentTest : public ContentMatchFixture<GLTest> {
protected:
    void TearDown() override {
        std::istringstream lines(trace.str());
        for (std::string line; std::getline(lines, line);) {
            for (const char* word : COMPLAINTS) {
                if (line.find(word) != std::string::npos) {
                    ADD_FAILURE() << line;
                    break;
                }
            }
        }
        ContentMatchFixture<GLTest>::TearDown();
    }
    TraceCapture trace;
};

// Both fighters of the settings, with their move trees, on its arena.
TEST_F(ContentTest, TheMatchOfTheSettingsLoadsWithoutAComplaint) {
    match->Start(nullptr, nullptr);
    for (const Person* fighter : {&*match->fighter[0], &*match->fighter[1]}) {
        EXPECT_TRUE(fighter->ncollide >= 18 && fighter->ncollide <= 30 && fighter->head != nullptr &&
                    fighter->tracerMaterials.count > 0) << fighter->name << ": a humanoid of 18 to 30 parts";
    }
    const Scene& scene = *match->scene;
    EXPECT_TRUE(scene.arenaSize > 0 && scene.arena != nullptr && scene.water != nullptr &&
                System::instance()->display->lights.count >= 2);
}

TEST_F(ContentTest, SharedMaterialsAndLettersLoadWithoutAComplaint) {
    for (const char* name : {"strmat", "sparkle", "particle", "explcyl", "white", "menutext1", "menutext2"}) {
        Material material(std::string("materials/") + name + ".mat");
    }
    for (const char c : std::string("abcdefghijklmnopqrstuvwxyz0123456789")) {
        const Mesh3DS letter(std::string("letters/") + c + ".asc", true);
        EXPECT_GT(letter.numFaces, 0) << "letter " << c;
    }
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
    EXPECT_TRUE(meshes > 100 && shadows > 30);
}

TEST(GeneratedSounds, AreShortUnclippedAndCentred) {
    const std::filesystem::path dir = std::filesystem::path(KORVANTHE_DATA_DIR) / "sounds";
    for (int e = 0; e < GameSounds::EVENTS; ++e) {
        const char* file = GameSounds::File(static_cast<GameSounds::Event>(e));
        EXPECT_TRUE(std::filesystem::exists(dir / file)) << file;
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        SCOPED_TRACE(entry.path().filename().string());
        Sound sound;
        ASSERT_TRUE(sound.Load(entry.path().c_str()));
        const Sint16* samples = reinterpret_cast<const Sint16*>(sound.data);
        const size_t count = sound.length / 2;
        int peak = 0;
        double sum = 0;
        for (size_t i = 0; i < count; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
            sum += samples[i];
        }
        EXPECT_LT(peak, 0.95 * 32767);
        EXPECT_GT(peak, 0.3 * 32767) << "loud enough to be heard over the others";
        EXPECT_LT(std::abs(sum / static_cast<double>(count)), 0.005 * 32767);
        EXPECT_LE(count, 1.2 * Sound::Manager::RATE);
        ++files;
    }
    EXPECT_GE(files, 15);
}

}  // namespace
