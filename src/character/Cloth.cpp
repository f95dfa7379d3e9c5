#include "character/Cloth.h"

#include <algorithm>
#include <ostream>
#include <vector>

#include "character/ClothPony.h"
#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "render/Material.h"
#include "render/Mesh.h"

namespace {

int VertexCount(const Mesh* mesh) {
    if (mesh == nullptr) return 0;
    return std::min(mesh->numVertices, static_cast<int>(mesh->vertices.size()));
}

}  // namespace

Cloth::Cloth(Object* parent_, int rows, const int* counts, const float* const* flex, Mesh* mesh_,
             Material* material_, int maxCount) {
    parent = parent_;
    mesh = mesh_;
    shadowMesh = mesh_;
    material = material_;
    if (Display* display = System::instance()->display; display != nullptr && material) {
        display->materials.cursor = display->materials.count;  // append, wherever it stood
        display->materials.Add(material);
    }

    // Texture u runs across the rows and v along them; just under the counts,
    // so that the last row and the end of the longest row stay below 1.
    const float e = rows - 0.999f;
    const float f = maxCount - 0.999f;
    const int available = VertexCount(mesh);
    int rowStart = 0;
    for (int r = 0; r < rows; ++r) {
        debug << "C bone rows: >>>" << counts[r] << std::endl;
        // The counts come from the body definition; a row never reaches past
        // the vertices the mesh has.
        int n = std::max(counts[r], 0);
        if (n > available - rowStart) {
            debug << "cloth row " << r << " claims " << counts[r] << " vertices; the mesh has "
                  << available - rowStart << " left" << std::endl;
            n = available - rowStart;
        }
        Vertex* row = n > 0 ? &mesh->vertices[rowStart] : nullptr;
        if (n == 1) {
            row[0].u = r / e;
            row[0].v = 0;
            links.Add(new ClothPony(parent_, row[0].pos, row[0].pos, true, true, 0));
        }
        for (int j = 0; j < n - 1; ++j) {
            row[j].u = r / e;
            row[j].v = j / f;
            row[j + 1].u = r / e;
            row[j + 1].v = (j + 1) / f;
            Object* hangsFrom = j == 0 ? parent_ : links[links.count - 1];
            links.Add(new ClothPony(hangsFrom, row[j].pos, row[j + 1].pos, j == 0, false,
                                    flex[r][j]));
        }
        rowStart += n;
    }

    if (material != nullptr && mesh != nullptr) {
        // The cloth is its own shadow mesh, so the scale and offset apply twice.
        mesh->RescaleTexMap(material);
        shadowMesh->RescaleTexMap(material);
    }
    Unwrap();
    MakeDoubleSided();
}

Cloth::~Cloth() {
    // A link is held only by the next one's parent pointer. Holding them all
    // and letting go from the far end frees each row one link at a time,
    // not by a recursion as deep as the row is long.
    std::vector<Ptr<Object>> held(links.data, links.data + links.count);
    while (!held.empty()) held.pop_back();
}

void Cloth::Update() {
    if (System::instance()->clock->mode == 0 || mesh == nullptr) return;
    int v = 0;
    for (int i = 0; i < links.count; ++i) {
        ClothPony* link = links[i];
        link->normal = mesh->vertices[v].normal;
        link->Update();
        if (link->isRoot) Place(v++, link->worldPos);
        if (!link->single) Place(v++, link->tip);
    }
    mesh->RecalcNormals(false);
}

void Cloth::Draw() {
    if (material != nullptr) material->current(true);
    if (mesh != nullptr) mesh->Draw(world);
}

void Cloth::MakeDoubleSided() {
    if (mesh == nullptr) return;
    const int vertexCount = VertexCount(mesh);
    const int faceCount = std::min(mesh->numFaces, static_cast<int>(mesh->faces.size() / 3));
    mesh->vertices.resize(static_cast<size_t>(vertexCount) * 2);
    std::copy_n(mesh->vertices.begin(), vertexCount, mesh->vertices.begin() + vertexCount);
    mesh->faces.resize(static_cast<size_t>(faceCount) * 6);
    for (int i = 0; i < faceCount; ++i) {
        const int* face = &mesh->faces[static_cast<size_t>(i) * 3];
        int* twin = &mesh->faces[static_cast<size_t>(faceCount + i) * 3];
        twin[0] = vertexCount + face[0];
        twin[1] = vertexCount + face[2];
        twin[2] = vertexCount + face[1];
    }
    mesh->numVertices = vertexCount * 2;
    mesh->numFaces = faceCount * 2;
}

void Cloth::Place(int vertex, const Vector3& p) {
    mesh->vertices[vertex].pos = p;
    mesh->vertices[mesh->numVertices / 2 + vertex].pos = p;
}
