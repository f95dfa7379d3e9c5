#include "core/WordReader.h"

#include <gtest/gtest.h>

#include <string>

#include "anim/Anim.h"
#include "core/DataProblems.h"
#include "render/Mesh3DS.h"
#include "support/ScratchDir.h"

namespace {

using WordReaderTest = ScratchDirTest;

// A count cannot promise more items than the rest of its file could hold:
// tiny files asking for huge meshes or animations are refused before
// anything is allocated for them.
TEST_F(WordReaderTest, ACountBeyondWhatTheFileCouldHoldIsRefused) {
    WriteFile("huge.asc", "Vertices: 1000000 Faces: 1000000");  // 33 bytes
    WriteFile("fits.asc", "Vertices: 3 Faces: 1\nX: 0 Y: 0 Z: 0 X: 1 Y: 0 Z: 0 X: 0 Y: 1 Z: 0\n"
                      "A:0 B:1 C:2\n");
    WriteFile("k/huge.kaf", "100000\n0 -1\n");  // 12 bytes
    DataProblems problems;
    EXPECT_EQ(Mesh3DS("huge.asc", false).numVertices, 0);
    EXPECT_EQ(Mesh3DS("fits.asc", false).numVertices, 3);
    EXPECT_THROW(Anim("k", "huge.kaf", 1), DataProblems::Abandoned);
    ASSERT_EQ(problems.problems().size(), 2u);
    for (const std::string& problem : problems.problems()) {
        EXPECT_NE(problem.find(" in the rest of the file, found a count of "), std::string::npos)
            << problem;
    }
}

}  // namespace
