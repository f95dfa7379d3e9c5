#include "scene/Flat.h"

#include "core/Display.h"
#include "core/System.h"
#include "math/Camera.h"
#include "render/MeshQuad.h"
#include "scene/SceneryRecord.h"

Flat::Flat(WordReader& in, const std::string& dir) { SceneryRecord(in, dir).Apply(*this); }

Flat::Flat(const Vector3& pos, float size, Material* material) {
    const Vector3 corner = pos - Vector3(size / 2, size / 2, 0);
    const Vector3 across(1, 0, 0);
    const Vector3 up(0, 1, 0);
    const Vector3 sides(size, size, 0);
    SetMesh(new MeshQuad(corner, across, up, sides), new MeshQuad(corner, across, up, sides),
            nullptr, material);
    SetPosition(pos);
    world = translation;
}

Flat::~Flat() {
    delete mesh;
    delete shadowMesh;
}

void Flat::Update() {
    const Display* display = System::instance()->display;
    // Without a camera there is no one to face: the flat keeps its own orientation.
    if (display == nullptr || display->camera == nullptr) {
        world = translation;
        return;
    }
    world = translation * display->camera->flat;
}
