#include <gtest/gtest.h>

#include <string>

#include "character/Person.h"
#include "render/Material.h"
#include "support/RenderFiles.h"
#include "support/FixtureFighter.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

const std::string TORSO_ENTRY = "0 TORSO torso.asc body.mat 0 -1  0 0 0  0 60 0  0 0 1  10 60 10\n";

// A body definition that breaks off loads the parts before the break, and
// says on standard error where and why, like every other reader.
TEST(PersonBody, ABrokenBodyDefinitionIsReportedWithItsLine) {
    struct Broken {
        std::string text;
        int parts;
        const char* problem;
    };
    const Broken bodies[] = {
        {"1001 meshes\n" + TORSO_ENTRY, 0,
         "low.bdf:1: expected an entry count from 0 to 1000, found 1001"},
        {"2 meshes\n" + TORSO_ENTRY + "1 WEAPON arm.asc body.mat 0 0  0 50 0  0 fifty -30\n", 1,
         "low.bdf:3: expected a number, found 'fifty'"},
        {"3 meshes\n" + TORSO_ENTRY, 1, "low.bdf:3: expected a whole number, found the end of the file"},
    };
    for (const Broken& body : bodies) {
        RenderScratch scratch;
        fixture::WriteFighter("kira");
        WriteFile("characters/kira/low.bdf", body.text);
        CaptureStderr();
        const Person person("kira", 1);
        const std::string said = GetCapturedStderr();
        EXPECT_EQ(person.bones.count, body.parts) << body.text;
        EXPECT_NE(said.find("characters/kira/" + std::string(body.problem)), std::string::npos)
            << said;
    }
}

}  // namespace
