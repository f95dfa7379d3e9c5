#include "render/Mesh3DS.h"

#include <cerrno>
#include <cstdlib>
#include <ostream>

#include "core/DataProblems.h"
#include "core/Trace.h"
#include "core/WordReader.h"

namespace {

// Far beyond any model of the game (a fighter's body part has a few hundred
// vertices) and small enough that a corrupt count cannot exhaust memory.
const int MAX_COUNT = 1000000;
// Every vertex and face the file promises takes at least one word of what
// follows, so that a tiny file cannot ask for a huge mesh. A file cut off
// part way still loads what it has.
const int MIN_ITEM_BYTES = 2;

// Passes over words until one equals `label`; false at the end of the file.
bool SkipTo(WordReader& in, const char* label) {
    std::string word;
    while (in.Word(word)) {
        if (word == label) return true;
    }
    return false;
}

// Passes over words until one starts with `prefix` (two characters, such as
// "A:") and reads the number joined to it; "A:" alone gives 0. A value that
// does not fit an int comes back as -1, which no face accepts.
bool FaceIndex(WordReader& in, const char* prefix, long& index) {
    std::string word;
    while (in.Word(word)) {
        if (word.compare(0, 2, prefix) != 0) continue;
        errno = 0;
        index = std::strtol(word.c_str() + 2, nullptr, 10);
        if (errno == ERANGE) index = -1;
        return true;
    }
    return false;
}

bool ReadCount(WordReader& in, const char* what, int& count) {
    if (!in.Int(count)) {
        DataProblems::Trace(in.problem() + "; the mesh stays empty");
        return false;
    }
    if (count < 0 || count > MAX_COUNT) {
        DataProblems::Trace(in.name() + ':' + std::to_string(in.line()) + ": expected 0 to " +
                            std::to_string(MAX_COUNT) + ' ' + what + ", found " +
                            std::to_string(count) + "; the mesh stays empty");
        return false;
    }
    if (!in.Fits(count, MIN_ITEM_BYTES, what)) {
        DataProblems::Trace(in.problem() + "; the mesh stays empty");
        return false;
    }
    return true;
}

}  // namespace

Mesh3DS::Mesh3DS(const std::string& fileName, bool flip) {
    WordReader in(fileName);
    if (!in.isOpen()) {
        debug << "NO MESH FOUND: " << fileName << std::endl;
        DataProblems::Note(fileName + ": cannot be opened");
        return;
    }
    if (!SkipTo(in, "Vertices:")) {
        debug << "ERROR -- okay, more of a WARNING: '" << fileName
              << "' is an empty 3D ASCII file." << std::endl;
        DataProblems::Note(fileName + ": expected 'Vertices:', found the end of the file");
        return;
    }
    int vertexCount = 0;
    if (!ReadCount(in, "vertices", vertexCount)) return;
    // A file cut off before its face count has no triangles; the vertices
    // it promises are still read as far as they go.
    int faceCount = 0;
    if (SkipTo(in, "Faces:") && !ReadCount(in, "faces", faceCount)) return;
    Allocate(vertexCount, faceCount);

    // Vertices the file does not reach keep these values.
    for (Vertex& v : vertices) v.v = 1;
    bool complete = true;
    for (int i = 0; i < numVertices && complete; ++i) {
        Vector3 p;
        complete = SkipTo(in, "X:") && in.Float(p.x) && SkipTo(in, "Y:") && in.Float(p.y) &&
                   SkipTo(in, "Z:") && in.Float(p.z);
        if (!complete) {
            DataProblems::Trace(fileName + ": vertex " + std::to_string(i) + " of " +
                                std::to_string(numVertices) + " is incomplete: " +
                                (in.failed() ? in.problem() : "the file ends"));
        }
        p.z = -p.z;
        vertices[i] = Vertex(p, p, 0, 1);
    }

    // A face pointing outside the vertex list is dropped: drawing it would
    // read memory that is not the mesh's. Faces the file does not reach keep
    // the indices (0, 0, 0), a triangle of no area.
    int kept = 0;
    for (int i = 0; i < numFaces; ++i) {
        long corner[3] = {0, 0, 0};
        if (complete) {
            complete = FaceIndex(in, "A:", corner[0]) && FaceIndex(in, "B:", corner[1]) &&
                       FaceIndex(in, "C:", corner[2]);
            if (!complete) {
                DataProblems::Trace(fileName + ": face " + std::to_string(i) + " of " +
                                    std::to_string(numFaces) + " is incomplete: the file ends");
            }
        }
        bool inRange = true;
        for (long index : corner) {
            if (index < 0 || index >= numVertices) {
                DataProblems::Trace(fileName + ':' + std::to_string(in.line()) + ": face " +
                                    std::to_string(i) + " refers to vertex " +
                                    std::to_string(index) + ", outside 0 to " +
                                    std::to_string(numVertices - 1) + "; the face is dropped");
                inRange = false;
                break;
            }
        }
        if (!inRange) continue;
        for (int k = 0; k < 3; ++k) faces[kept * 3 + k] = static_cast<int>(corner[k]);
        ++kept;
    }
    faces.resize(static_cast<size_t>(kept) * 3);
    numFaces = kept;

    RecalcNormals(flip);
}
