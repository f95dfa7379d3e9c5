#include "character/Ponytail.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <vector>

#include "character/PonyBone.h"
#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "render/Material.h"
#include "render/Mesh.h"

namespace {

const double TWO_PI = 2 * 3.14159265358979323846;

int VertexCount(const Mesh* mesh) {
    if (mesh == nullptr) return 0;
    return std::min(mesh->numVertices, static_cast<int>(mesh->vertices.size()));
}

}  // namespace

Ponytail::Ponytail(Object* parent_, int n, Mesh* mesh_, Mesh* restMesh_, Material* material_,
                   const int* counts, const Vector3* joints, const Vector3* ends,
                   const Vector3* hints, const float* flex)
    : nsegments(std::max(n, 0)), restMesh(restMesh_) {
    parent = parent_;
    mesh = mesh_;
    shadowMesh = mesh_;
    material = material_;

    // The counts come from the body definition; a segment never reaches
    // past the vertices both meshes have.
    const int available = std::min(VertexCount(mesh), VertexCount(restMesh));
    int first = 0;
    for (int i = 0; i < nsegments; ++i) {
        int count = std::max(counts[i], 0);
        if (count > available - first) {
            debug << "ponytail segment " << i << " claims " << counts[i]
                  << " vertices; the mesh has " << available - first << " left" << std::endl;
            count = available - first;
        }
        Object* hangsFrom = i == 0 ? parent_ : bones[i - 1];
        PonyBone* bone =
            new PonyBone(hangsFrom, joints[i], ends[i], hints[i], flex[i], first, count, i == 0);
        bones.Add(bone);
        BindVertices(*bone, i);
        first += count;
    }

    Unwrap();
    if (Display* display = System::instance()->display; display != nullptr && material) {
        display->materials.cursor = display->materials.count;  // append, wherever it stood
        display->materials.Add(material);
    }
}

Ponytail::~Ponytail() {
    // A segment is held only by the next one's parent pointer. Holding them
    // all and letting go from the far end frees the chain one at a time,
    // not by a recursion as deep as the tail is long.
    std::vector<Ptr<Object>> held(bones.data, bones.data + bones.count);
    while (!held.empty()) held.pop_back();
}

void Ponytail::Update() {
    for (int i = 0; i < bones.count; ++i) {
        PonyBone* bone = bones[i];
        bone->Update();
        for (int j = bone->start; j < bone->start + bone->count; ++j) {
            mesh->vertices[j].pos = bone->world * restMesh->vertices[j].pos;
        }
    }
    if (mesh != nullptr) mesh->RecalcNormals(false);
}

void Ponytail::Draw() {
    if (material != nullptr) material->current(true);
    if (mesh != nullptr) mesh->Draw(world);
}

void Ponytail::BindVertices(const PonyBone& bone, int index) {
    const int end = bone.start + bone.count;
    float lowest = 100000;
    float highest = -100000;
    for (int j = bone.start; j < end; ++j) {
        Vertex& v = mesh->vertices[j];
        v.pos = bone.restInverse * v.pos;
        float u = static_cast<float>(std::atan2(v.pos.x, -v.pos.z) / TWO_PI + 0.5);
        // Straight behind the axis atan2 gives +pi; that is where u starts again.
        if (u >= 1.0f) u = 0.0f;
        v.u = u;
        v.v = 0;
        lowest = std::min(lowest, v.pos.y);
        highest = std::max(highest, v.pos.y);
    }
    debug << "maxy: " << highest << "\tminy: " << lowest << std::endl;

    // Segment i takes the middle half of the i-th of n bands of the texture,
    // so that neighbouring bands never bleed into it.
    const float span = highest - lowest;
    for (int j = bone.start; j < end; ++j) {
        Vertex& v = mesh->vertices[j];
        // Vertices all at one height have no extent to spread over the band.
        const float along = span > 0 ? (v.pos.y - lowest) / span : 0.5f;
        v.v = (along * 0.5f + 0.25f + index) / nsegments;
        restMesh->vertices[j] = v;
    }
}
