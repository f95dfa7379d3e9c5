#include "render/Mesh3DS.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ScratchDir.h"
#include "support/TraceCapture.h"

namespace {

// An export as the modelling tool writes it: a named object, the counts on
// the tri-mesh line, vertex and face lists full of words the reader skips.
const std::string TRIANGLE =
    "Ambient light color: Red=0.3 Green=0.3 Blue=0.3\n"
    "Named object: \"forearm\"\n"
    "Tri-mesh, Vertices: 3     Faces: 1\n"
    "Vertex list:\n"
    "Vertex 0:  X: 0.0     Y: 0.0     Z: 1.5\n"
    "Vertex 1:  X: 0.0     Y: 2.0     Z: 1.5\n"
    "Vertex 2:  X: 4.0     Y: 0.0     Z: 1.5\n"
    "Face list:\n"
    "Face 0:    A:0 B:1 C:2 AB:1 BC:1 CA:1\n"
    "Smoothing:  1\n";

using Mesh3DSTest = ScratchDirTest;

TEST_F(Mesh3DSTest, ReadsTheFirstObjectWithZNegatedAndNormalsFromItsTriangles) {
    WriteFile("mesh.asc", TRIANGLE + "Named object: \"hand\"\nTri-mesh, Vertices: 4 Faces: 2\n");
    TraceCapture trace;
    const Mesh3DS mesh("mesh.asc", false);
    ASSERT_EQ(mesh.numVertices, 3);
    EXPECT_EQ(mesh.vertices[2].pos, Vector3(4, 0, -1.5f));
    EXPECT_EQ(mesh.vertices[0].normal, Vector3(0, 0, -1));
    EXPECT_EQ(trace.str(), "");
    const Mesh3DS flipped("mesh.asc", true);
    EXPECT_EQ(flipped.faces, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(flipped.vertices[0].normal, Vector3(0, 0, 1));
}

// Files that stray from the export, and what the reader makes of them.
TEST_F(Mesh3DSTest, ReadsWhatItCanOfFilesThatStrayFromTheExport) {
    const struct {
        std::string text;
        int vertices, faces;
        Vector3 second;           // vertex 1, or 0 where there is none
        std::vector<int> list;    // the faces read
        const char* trace;        // a line the reader says, or ""
    } files[] = {
        // "X:5" is one word and no label: the reader goes on to the next "X:".
        {"Vertices: 2 Faces: 0\nVertex 0: X:5 Y: 6 Z: 7\nVertex 1: X: 8 Y: 9 Z: 10\n"
         "X: 1 Y: 1 Z: 1\n",
         2, 0, {1, 1, -1}, {}, ""},
        // "A:" alone reads as 0; "AB:" and "CA:" are not face labels.
        {"Vertices: 3 Faces: 2\nX: 0 Y: 0 Z: 0  X: 1 Y: 0 Z: 0  X: 0 Y: 1 Z: 0\n"
         "Face 0: AB:1 A: B:2 C:1\nFace 1: A:2 BC:0 B:1 CA:2 C:+0\n",
         3, 2, {1, 0, 0}, {0, 2, 1, 2, 1, 0}, ""},
        // Cut short: what was never reached keeps its default, faces of no area.
        {"Vertices: 3 Faces: 2\nX: 1 Y: 2 Z: 3\nX: 4 Y: 5 Z:\n", 3, 2, {4, 5, 0},
         {0, 0, 0, 0, 0, 0}, "mesh.asc: vertex 1 of 3 is incomplete"},
        {"Vertices: 2 Faces: 1\nX: 1 Y: oops Z: 3\nX: 4 Y: 5 Z: 6\nA:0 B:1 C:1\n", 2, 1,
         {0, 0, 0}, {0, 0, 0}, "expected a number, found 'oops'"},
        // Faces that point outside the vertex list are dropped.
        {"Vertices: 3 Faces: 4\nX: 0 Y: 0 Z: 0  X: 1 Y: 0 Z: 0  X: 0 Y: 1 Z: 0\n"
         "Face 0: A:0 B:1 C:3\nFace 1: A:0 B:1 C:2\nFace 2: A:-1 B:1 C:2\n"
         "Face 3: A:2 B:99999999999999999999 C:0\n",
         3, 1, {1, 0, 0}, {0, 1, 2}, "mesh.asc:3: face 0 refers to vertex 3"},
        // Counts that cannot be: nothing is read.
        {"Vertices: 3 Faces: -3\n", 0, 0, {}, {}, "the mesh stays empty"},
        {"Vertices: 99999999999999999999 Faces: 1\n", 0, 0, {}, {}, "the mesh stays empty"},
        {"", 0, 0, {}, {}, "'mesh.asc' is an empty 3D ASCII file"},
        {std::string(TRIANGLE).replace(0, 7, std::string(100000, 'x')), 3, 1, {0, 2, -1.5f},
         {0, 1, 2}, ""},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.text.substr(0, 60));
        WriteFile("mesh.asc", f.text);
        TraceCapture trace;
        const Mesh3DS mesh("mesh.asc", false);
        EXPECT_EQ(mesh.numVertices, f.vertices);
        EXPECT_EQ(mesh.numFaces, f.faces);
        if (f.vertices > 1) { EXPECT_EQ(mesh.vertices[1].pos, f.second); }
        EXPECT_EQ(mesh.faces, f.list);
        EXPECT_TRUE(trace.Has(f.trace)) << trace.str();
    }
    TraceCapture quiet;
    EXPECT_EQ(Mesh3DS("nothere.asc", false).numVertices, 0);
}

}  // namespace
