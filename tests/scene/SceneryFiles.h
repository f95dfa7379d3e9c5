#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/WordReader.h"
#include "math/Vector3.h"
#include "render/RenderFiles.h"
#include "support/Screenshot.h"

// The folder of the scene the scenery tests load from, as scene.sdf entries see it.
const std::string SCENE_DIR = "scenes/test/";

// A 3D ASCII export of an n × n grid of squares in the plane y = 0 spanning
// -half..half on x and z, its triangles facing up (+y) once the reader has
// negated the file's z. Vertex i(n+1) + j stands at column j, row i; with an
// even n the middle vertex is the origin.
inline std::string GridMesh(int n, float half) {
    std::ostringstream out;
    const float step = 2 * half / static_cast<float>(n);
    out << "Named object: \"grid\"\nTri-mesh, Vertices: " << (n + 1) * (n + 1)
        << "     Faces: " << 2 * n * n << "\nVertex list:\n";
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            out << "Vertex " << i * (n + 1) + j << ":  X: " << -half + j * step
                << "     Y: 0     Z: " << -(-half + i * step) << "\n";
        }
    }
    out << "Face list:\n";
    int face = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int a = i * (n + 1) + j, b = a + 1, c = a + n + 1, d = c + 1;
            out << "Face " << face++ << ":    A:" << a << " B:" << c << " C:" << b
                << " AB:1 BC:1 CA:1\n";
            out << "Face " << face++ << ":    A:" << b << " B:" << c << " C:" << d
                << " AB:1 BC:1 CA:1\n";
        }
    }
    return out.str();
}

// A long-form material that keeps the meshes' own texture coordinates and
// is lit by its emission alone, so that it shows its image (or, untextured,
// the emission colour) unchanged.
inline std::string FlatMaterial(const std::string& image, const Vector3& emission = {1, 1, 1}) {
    std::ostringstream out;
    out << image << " 1 1 0 0 NONE false false ambi 0 0 0 diff 0 0 0 emis " << emission.x << ' '
        << emission.y << ' ' << emission.z << " spec 0 0 0 shine 0";
    return out.str();
}

// A 2 × 2 image of one colour.
inline void WriteSolidBmp(const std::string& name, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 4; ++i) pixels.insert(pixels.end(), {b, g, r});
    WriteBmp("images/" + name, 2, 2, 24, pixels);
}

// A scratch working directory holding the test scene's folder; the scenery
// records are read from in-memory text.
class SceneryScratch {
public:
    SceneryScratch() {
        std::filesystem::create_directories(SCENE_DIR + "materials");
        WriteText(SCENE_DIR + "grid.asc", GridMesh(2, 500));
        WriteText(SCENE_DIR + "materials/stone.mat", FlatMaterial("-", {1, 0, 0}));
    }
    static void Write(const std::string& name, const std::string& text) {
        WriteText(SCENE_DIR + name, text);
    }

private:
    RenderScratch scratch;
};

// A record's words, ready for a stream constructor.
class Record {
public:
    explicit Record(const std::string& text) : in(text), reader(in, "scene.sdf") {}
    WordReader& operator*() { return reader; }

private:
    std::istringstream in;
    WordReader reader;
};
