#include "scene/Static.h"

#include "render/Mesh.h"
#include "scene/SceneryRecord.h"

Static::Static(WordReader& in, const std::string& dir) { SceneryRecord(in, dir).Apply(*this); }

Static::~Static() {
    delete mesh;
    delete shadowMesh;
}

void Static::Update() {}
