#pragma once

#include <sstream>
#include <string>

#include "core/WordReader.h"
#include "support/MeshText.h"
#include "support/RenderFiles.h"

// The folder of the scene the scenery tests load from, as scene.sdf entries see it.
const std::string SCENE_DIR = "scenes/test/";

// A scratch working directory holding the test scene's folder: a 2 × 2 grid
// floor 1000 wide ("grid.asc") and a red glowing "stone.mat".
class SceneryScratch {
public:
    SceneryScratch() {
        Write("grid.asc", meshtext::Grid(2, 500));
        Write("materials/stone.mat", FlatMaterial("-", {1, 0, 0}));
    }
    static void Write(const std::string& name, const std::string& text) {
        WriteFile(SCENE_DIR + name, text);
    }

private:
    RenderScratch scratch;
};

// A scenery record's words, ready for a stream constructor.
class Record {
public:
    explicit Record(const std::string& text) : in(text), reader(in, "scene.sdf") {}
    WordReader& operator*() { return reader; }

private:
    std::istringstream in;
    WordReader reader;
};
