#include "scene/Arena.h"

#include <ostream>

#include "core/Trace.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/SceneryRecord.h"

namespace {
// How far the floor sinks under the planar shadows, which are drawn on its plane.
const float PLANAR_DROP = 1.5f;
}  // namespace

Arena::Arena(WordReader& in, const std::string& dir) {
    SceneryRecord(in, dir).Apply(*this);
    debug << "Created ARENA" << std::endl;
}

Arena::~Arena() {
    delete mesh;
    delete shadowMesh;
}

void Arena::Update() {
    world.CreateTranslate(raised ? position : position - Vector3(0, PLANAR_DROP, 0));
}

void Arena::Draw() {
    if (material != nullptr) material->current(true);
    if (mesh != nullptr) mesh->Draw(world);
}

void Arena::DrawShadow() {}
