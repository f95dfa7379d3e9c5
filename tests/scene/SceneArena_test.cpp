#include <gtest/gtest.h>

#include <string>

#include "scene/Scene.h"
#include "support/SceneryFiles.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

// An arena's files, null where the file is missing, and what stderr must say.
struct Arena {
    const char* lights;
    const char* sdf;
    const char* problem;  // empty: the arena is whole
};

// An arena whose files do not give its size is fought on the default floor,
// never on one of no size, and the problem is on standard error.
TEST(SceneArena, WithoutItsSizeTheArenaTakesTheDefaultAndSaysWhy) {
    const Arena arenas[] = {
        {"AMBIENT 0 0 0 0", "sky.mat 450 -250 0", ""},
        {nullptr, "sky.mat 450 -250 0", "lights.txt: expected the arena's lights, found no such file"},
        {"AMBIENT 0 0 0 0", nullptr, "scene.sdf: expected the arena's scenery and size"},
        {"AMBIENT 0 0 0 0", "sky.mat", "scene.sdf:1: expected a number, found the end of the file"},
        {"AMBIENT 0 0 0 0", "sky.mat 0 -250 0", "scene.sdf:1: expected an arena size above 0"},
        {"AMBIENT 0 0 0 0", "sky.mat -450 -250 0", "found -450 -250"},
    };
    for (const Arena& arena : arenas) {
        SceneryScratch scratch;
        SceneryScratch::Write("materials/sky.mat", FlatMaterial("-"));
        if (arena.lights != nullptr) SceneryScratch::Write("lights.txt", arena.lights);
        if (arena.sdf != nullptr) SceneryScratch::Write("scene.sdf", arena.sdf);
        CaptureStderr();
        const Scene scene("test");
        const std::string said = GetCapturedStderr();
        const bool whole = *arena.problem == '\0';
        EXPECT_EQ(scene.playable, whole) << said;
        EXPECT_EQ(scene.arenaSize, whole ? 450 : Scene::DEFAULT_ARENA_SIZE) << said;
        EXPECT_EQ(scene.arenaParam, whole ? -250 : Scene::DEFAULT_ARENA_REST) << said;
        EXPECT_NE(said.find(arena.problem), std::string::npos) << said;
        EXPECT_EQ(said.empty(), whole) << said;
    }
}

}  // namespace
