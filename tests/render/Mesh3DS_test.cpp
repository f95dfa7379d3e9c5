#include "render/Mesh3DS.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/Trace.h"
#include "support/TraceCapture.h"

namespace {

// An export as the modelling tool writes it: a named object, the counts on
// the tri-mesh line, vertex and face lists full of words the reader skips.
const char* const TRIANGLE =
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

class Mesh3DSTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("korvanthe-mesh3ds-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Write(const std::string& text, const std::string& name = "mesh.asc") {
        const std::string path = (dir / name).string();
        std::ofstream(path) << text;
        return path;
    }

    std::filesystem::path dir;
    TraceCapture trace;
};

TEST_F(Mesh3DSTest, ReadsOneTriangleWithZNegated) {
    const Mesh3DS mesh(Write(TRIANGLE), false);
    ASSERT_EQ(mesh.numVertices, 3);
    ASSERT_EQ(mesh.numFaces, 1);
    EXPECT_EQ(mesh.vertices[1].pos, Vector3(0, 2, -1.5f));
    EXPECT_EQ(mesh.vertices[2].pos, Vector3(4, 0, -1.5f));
    EXPECT_EQ(mesh.faces, (std::vector<int>{0, 1, 2}));
    for (const Vertex& v : mesh.vertices) {
        EXPECT_EQ(v.u, 0);
        EXPECT_EQ(v.v, 1);
        EXPECT_EQ(v.normal, Vector3(0, 0, -1)) << "from the triangle, not the position";
    }
    EXPECT_EQ(trace.str(), "");
}

TEST_F(Mesh3DSTest, FlipReversesTheWindingAndTheNormals) {
    const Mesh3DS mesh(Write(TRIANGLE), true);
    EXPECT_EQ(mesh.faces, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(mesh.vertices[0].normal, Vector3(0, 0, 1));
}

TEST_F(Mesh3DSTest, LabelsMustStandApartFromTheirNumbers) {
    // "X:5" is one word and no label: the reader goes on to the next "X:".
    const Mesh3DS mesh(Write("Vertices: 1 Faces: 0\n"
                             "Vertex 0: X:5 Y: 6 Z: 7\n"
                             "Vertex 1: X: 8 Y: 9 Z: 10\n"),
                       false);
    ASSERT_EQ(mesh.numVertices, 1);
    EXPECT_EQ(mesh.vertices[0].pos, Vector3(8, 9, -10));
}

TEST_F(Mesh3DSTest, FaceIndicesAreJoinedToTheirLabels) {
    // "A:" alone reads as 0; "AB:" and "CA:" are not face labels.
    const Mesh3DS mesh(Write("Vertices: 3 Faces: 2\n"
                             "X: 0 Y: 0 Z: 0  X: 1 Y: 0 Z: 0  X: 0 Y: 1 Z: 0\n"
                             "Face 0: AB:1 A: B:2 C:1\n"
                             "Face 1: A:2 BC:0 B:1 CA:2 C:+0\n"),
                       false);
    ASSERT_EQ(mesh.numFaces, 2);
    EXPECT_EQ(mesh.faces, (std::vector<int>{0, 2, 1, 2, 1, 0}));
}

TEST_F(Mesh3DSTest, OnlyTheFirstObjectIsRead) {
    const Mesh3DS mesh(Write(std::string(TRIANGLE) +
                             "Named object: \"hand\"\nTri-mesh, Vertices: 4 Faces: 2\n"
                             "Vertex 0: X: 9 Y: 9 Z: 9\n"),
                       false);
    EXPECT_EQ(mesh.numVertices, 3);
    EXPECT_EQ(mesh.numFaces, 1);
}

TEST_F(Mesh3DSTest, MissingAndEmptyFilesLeaveAnEmptyMesh) {
    const std::string missing = (dir / "nothere.asc").string();
    const Mesh3DS none(missing, false);
    EXPECT_EQ(none.numVertices, 0);
    EXPECT_EQ(none.numFaces, 0);
    EXPECT_EQ(trace.str(), "NO MESH FOUND: " + missing + "\n");

    for (const char* text : {"", "Named object: \"nothing\"\nno counts at all\n"}) {
        TraceCapture empty;
        const std::string path = Write(text);
        const Mesh3DS mesh(path, false);
        EXPECT_EQ(mesh.numVertices, 0);
        EXPECT_EQ(mesh.numFaces, 0);
        EXPECT_EQ(empty.str(),
                  "ERROR -- okay, more of a WARNING: '" + path + "' is an empty 3D ASCII file.\n");
    }
}

TEST_F(Mesh3DSTest, ATruncatedFileKeepsDefaultsForWhatItNeverReached) {
    const std::string path = Write("Vertices: 3 Faces: 2\n"
                                   "X: 1 Y: 2 Z: 3\n"
                                   "X: 4 Y: 5 Z:\n");
    const Mesh3DS mesh(path, false);
    ASSERT_EQ(mesh.numVertices, 3);
    EXPECT_EQ(mesh.vertices[0].pos, Vector3(1, 2, -3));
    EXPECT_EQ(mesh.vertices[1].pos, Vector3(4, 5, 0));
    EXPECT_EQ(mesh.vertices[2].pos, Vector3(0, 0, 0));
    EXPECT_EQ(mesh.vertices[2].v, 1);
    // The faces never read are triangles of no area on vertex 0.
    EXPECT_EQ(mesh.faces, (std::vector<int>{0, 0, 0, 0, 0, 0}));
    EXPECT_NE(trace.str().find(path + ": vertex 1 of 3 is incomplete"), std::string::npos)
        << trace.str();

    // No face count: its search runs to the end, so the vertices keep their
    // defaults and no triangle is made.
    const Mesh3DS cut(Write("Vertices: 2\n X: 1 Y: 1 Z: 1 X: 2 Y: 2 Z: 2\n", "cut.asc"), false);
    EXPECT_EQ(cut.numVertices, 2);
    EXPECT_EQ(cut.numFaces, 0);
}

TEST_F(Mesh3DSTest, AMalformedNumberStopsTheReading) {
    const Mesh3DS mesh(Write("Vertices: 2 Faces: 1\n"
                             "X: 1 Y: oops Z: 3\n"
                             "X: 4 Y: 5 Z: 6\n"
                             "A:0 B:1 C:1\n"),
                       false);
    ASSERT_EQ(mesh.numVertices, 2);
    EXPECT_EQ(mesh.vertices[0].pos, Vector3(1, 0, 0));
    EXPECT_EQ(mesh.vertices[1].pos, Vector3(0, 0, 0));
    EXPECT_NE(trace.str().find("expected a number, found 'oops'"), std::string::npos)
        << trace.str();
}

TEST_F(Mesh3DSTest, FacesOutsideTheVertexListAreDropped) {
    const std::string path = Write("Vertices: 3 Faces: 4\n"
                                   "X: 0 Y: 0 Z: 0  X: 1 Y: 0 Z: 0  X: 0 Y: 1 Z: 0\n"
                                   "Face 0: A:0 B:1 C:3\n"
                                   "Face 1: A:0 B:1 C:2\n"
                                   "Face 2: A:-1 B:1 C:2\n"
                                   "Face 3: A:2 B:99999999999999999999 C:0\n");
    const Mesh3DS mesh(path, false);
    ASSERT_EQ(mesh.numFaces, 1);
    EXPECT_EQ(mesh.faces, (std::vector<int>{0, 1, 2}));
    const std::string log = trace.str();
    EXPECT_NE(log.find(path + ":3: face 0 refers to vertex 3"), std::string::npos) << log;
    EXPECT_NE(log.find("face 2 refers to vertex -1"), std::string::npos) << log;
    EXPECT_NE(log.find("face 3 refers to vertex -1"), std::string::npos) << log;
    EXPECT_EQ(log.find("face 1 "), std::string::npos) << log;

    // Without vertices even the default face (0, 0, 0) points nowhere.
    const Mesh3DS none(Write("Vertices: 0 Faces: 2\n", "none.asc"), false);
    EXPECT_EQ(none.numFaces, 0);
    EXPECT_TRUE(none.faces.empty());
}

TEST_F(Mesh3DSTest, AbsurdCountsLeaveAnEmptyMesh) {
    const char* const files[] = {
        "Vertices: 2000000000 Faces: 1\n",
        "Vertices: 3 Faces: -3\n",
        "Vertices: -1 Faces: 1\n",
        "Vertices: 3 Faces: 1000001\n",
        "Vertices: many Faces: 1\n",
        "Vertices: 99999999999999999999 Faces: 1\n",
    };
    for (const char* text : files) {
        TraceCapture log;
        const Mesh3DS mesh(Write(text), false);
        EXPECT_EQ(mesh.numVertices, 0) << text;
        EXPECT_EQ(mesh.numFaces, 0) << text;
        EXPECT_TRUE(mesh.vertices.empty()) << text;
        EXPECT_NE(log.str().find("the mesh stays empty"), std::string::npos) << log.str();
    }
}

TEST_F(Mesh3DSTest, AnOverlongWordIsPassedOverSafely) {
    const std::string text = std::string(TRIANGLE).replace(0, 7, std::string(100000, 'x'));
    const Mesh3DS mesh(Write(text), false);
    EXPECT_EQ(mesh.numVertices, 3);
    EXPECT_EQ(mesh.numFaces, 1);
}

}  // namespace
