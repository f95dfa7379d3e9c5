#include "scene/SceneryRecord.h"

#include <memory>
#include <ostream>

#include "character/Object.h"
#include "core/DataProblems.h"
#include "core/WordReader.h"
#include "render/Material.h"
#include "render/Mesh3DS.h"

SceneryRecord::SceneryRecord(WordReader& in, const std::string& dir) {
    std::string meshName;
    int flip = 0;
    std::string materialName;
    Vector3 where;
    // Items are read in order and reading stops at the first one missing, so
    // that a cut record never takes a word of the next entry for its own.
    const char* missing = nullptr;
    if (!in.Word(meshName)) {
        missing = "a mesh file name";
    } else if (!in.Int(flip)) {
        missing = "the flip value";
    } else if (!in.Word(materialName)) {
        missing = "a material file name";
    } else if (!in.Vector(where)) {
        missing = "a position";
    }
    if (missing != nullptr) {
        // Word() reports no problem of its own at the end of the file.
        const std::string problem =
            in.failed() ? in.problem()
                        : in.name() + ':' + std::to_string(in.line()) + ": expected " + missing +
                              ", found the end of the file";
        DataProblems::Trace(problem + "; the scenery record is incomplete");
    }

    // Held here until the material has loaded: a material file the game
    // cannot use gives up the whole scene, and these must not be lost with it.
    std::unique_ptr<Mesh> drawn, shadow;
    if (!meshName.empty()) {
        const bool insideOut = flip == -1;
        drawn.reset(new Mesh3DS(dir + meshName, insideOut));
        shadow.reset(new Mesh(*drawn));  // the same file, read once
    }
    if (!materialName.empty()) material = new Material(dir + "materials/" + materialName);
    mesh = drawn.release();
    shadowMesh = shadow.release();
    if (missing == nullptr) position = where;
}

void SceneryRecord::Apply(Object& object) const {
    object.SetMesh(mesh, shadowMesh, nullptr, material);
    object.SetPosition(position);
    object.world = object.translation;
}
