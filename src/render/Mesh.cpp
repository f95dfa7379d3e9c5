#include "render/Mesh.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <utility>

#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "render/Material.h"
#include "render/RenderPaths.h"
#include "render/StencilVolumes.h"
#include "scene/Light.h"

namespace {

// How far a silhouette edge is pulled away from the light: far enough to
// reach the floor from anything in the arena.
const float SHADOW_EXTRUSION = 300;

// Keeps a clamped texture coordinate off the texture's border texels.
float ClampTexCoord(float value) {
    if (value >= 0.997f) return 0.997f;
    if (value <= 0.003f) return 0.003f;
    return value;
}

}  // namespace

Mesh::~Mesh() {
    if (list.id == 0) return;
    const Display* display = System::instance()->display;
    if (display != nullptr && display->contextGeneration == list.generation) {
        glDeleteLists(list.id, 1);
    }
}

void Mesh::Draw(const Matrix& world) {
    if (numFaces == 0 || numVertices == 0) return;
    Display* display = System::instance()->display;
    if (display == nullptr) return;
    display->SetWorld(world);
    if (!keepsShape || !renderPaths.staticLists) {
        SendTriangles();
        return;
    }
    // A list of an earlier context went with it.
    if (list.id == 0 || list.generation != display->contextGeneration) {
        // Making a list costs more than sending the triangles a few times:
        // a mesh is kept once a second frame draws it, so that a still (the
        // menu's first frame among them) does not wait for its lists.
        if (list.firstDrawnIn != display->contextGeneration) {
            list.firstDrawnIn = display->contextGeneration;
            list.firstFrame = display->framesShown;
        }
        if (list.firstFrame == display->framesShown) {
            SendTriangles();
            return;
        }
        list.id = glGenLists(1);
        list.generation = display->contextGeneration;
        glNewList(list.id, GL_COMPILE);
        SendTriangles();
        glEndList();
    }
    glCallList(list.id);
}

// One indexed batch: the same triangles in the same order as sending each
// corner by hand, but a software renderer lights every vertex once instead
// of once per corner, and the call costs a fraction.
void Mesh::SendTriangles() const { DrawTriangles(vertices.data(), faces.data(), numFaces * 3); }

void Mesh::DrawTriangles(const Vertex* vertices, const int* indices, int indexCount) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Vertex), &vertices[0].pos);
    glNormalPointer(GL_FLOAT, sizeof(Vertex), &vertices[0].normal);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].u);
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, indices);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void Mesh::DrawShadowVolume(const Matrix& world) {
    if (numFaces == 0 || numVertices == 0) return;
    Display* display = System::instance()->display;
    // Without a light there is nothing to cast a shadow from.
    if (display == nullptr || display->lights.count == 0) return;

    Matrix identity;
    identity.CreateIdentity();
    display->SetWorld(identity);

    const Vector3 light = display->lights[0]->direction.Normalized();
    const Vector3 extrusion = light * SHADOW_EXTRUSION;

    // RemapCoords may add vertices after a first shadow has been cast.
    if (shadowCache.size() != static_cast<size_t>(numVertices) * 6) {
        shadowCache.assign(static_cast<size_t>(numVertices) * 6, 0.0f);
    }
    for (int i = 0; i < numVertices; ++i) {
        const Vector3 p = world * vertices[i].pos;
        const Vector3 e = p + extrusion;
        float* entry = &shadowCache[static_cast<size_t>(i) * 6];
        entry[0] = p.x;
        entry[1] = p.y;
        entry[2] = p.z;
        entry[3] = e.x;
        entry[4] = e.y;
        entry[5] = e.z;
    }
    BuildShadowQuads(world, light);
    StencilVolumes::Send(shadowQuads);
}

namespace {

// One side of a triangle facing away from the light, as a pair of cache
// entries, with its corners' world positions to recognise it by.
struct VolumeEdge {
    int from, to;       // vertex indices, in the triangle's winding
    float key[6];       // the lower corner first, so both directions share a key
    bool forward;       // from is the lower corner
    int order;          // place among the sent edges
};

bool Lower(const float* a, const float* b) {
    for (int i = 0; i < 3; ++i) {
        if (a[i] != b[i]) return a[i] < b[i];
    }
    return false;
}

bool SameKey(const VolumeEdge& a, const VolumeEdge& b) {
    for (int i = 0; i < 6; ++i) {
        if (a.key[i] != b.key[i]) return false;
    }
    return true;
}

bool ByKey(const VolumeEdge& a, const VolumeEdge& b) {
    for (int i = 0; i < 6; ++i) {
        if (a.key[i] != b.key[i]) return a.key[i] < b.key[i];
    }
    return a.order < b.order;
}

// An edge sent once each way adds one to the stencil count and takes one
// away again: of the edges that join the same two points, only as many as
// one direction has more than the other are kept, in their first order.
void DropSharedEdges(std::vector<VolumeEdge>& edges) {
    std::vector<VolumeEdge> sorted = edges;
    std::sort(sorted.begin(), sorted.end(), ByKey);
    std::vector<bool> kept(edges.size(), false);
    for (size_t first = 0; first < sorted.size();) {
        size_t end = first;
        int balance = 0;
        while (end < sorted.size() && SameKey(sorted[first], sorted[end])) {
            balance += sorted[end].forward ? 1 : -1;
            ++end;
        }
        for (size_t i = first; i < end && balance != 0; ++i) {
            if (sorted[i].forward != (balance > 0)) continue;
            kept[static_cast<size_t>(sorted[i].order)] = true;
            balance += balance > 0 ? -1 : 1;
        }
        first = end;
    }
    size_t next = 0;
    for (size_t i = 0; i < edges.size(); ++i) {
        if (kept[i]) edges[next++] = edges[i];
    }
    edges.resize(next);
}

}  // namespace

// Every triangle facing away from the light sends its three edges, each
// pulled out into a quad. No caps: an edge shared by two such triangles is
// sent once each way and cancels in the stencil count.
void Mesh::BuildShadowQuads(const Matrix& world, const Vector3& light) {
    std::vector<VolumeEdge> edges;
    for (int f = 0; f < numFaces; ++f) {
        const int* corner = &faces[static_cast<size_t>(f) * 3];
        const Vector3 sum = vertices[corner[0]].normal + vertices[corner[1]].normal +
                            vertices[corner[2]].normal;
        const Vector3 normal = world ^ sum.Normalized();
        if (light.Dot(normal) <= 0) continue;
        for (int edge = 0; edge < 3; ++edge) {
            VolumeEdge e;
            e.from = corner[edge];
            e.to = corner[(edge + 1) % 3];
            const float* a = &shadowCache[static_cast<size_t>(e.from) * 6];
            const float* b = &shadowCache[static_cast<size_t>(e.to) * 6];
            e.forward = !Lower(b, a);
            const float* low = e.forward ? a : b;
            const float* high = e.forward ? b : a;
            // -0 and 0 are one place.
            for (int i = 0; i < 3; ++i) {
                e.key[i] = low[i] + 0.0f;
                e.key[3 + i] = high[i] + 0.0f;
            }
            e.order = static_cast<int>(edges.size());
            edges.push_back(e);
        }
    }
    if (renderPaths.sharedEdgesDropped) DropSharedEdges(edges);

    shadowQuads.clear();
    for (const VolumeEdge& e : edges) {
        const float* from = &shadowCache[static_cast<size_t>(e.from) * 6];
        const float* to = &shadowCache[static_cast<size_t>(e.to) * 6];
        shadowQuads.insert(shadowQuads.end(), from, from + 3);
        shadowQuads.insert(shadowQuads.end(), to, to + 3);
        shadowQuads.insert(shadowQuads.end(), to + 3, to + 6);
        shadowQuads.insert(shadowQuads.end(), from + 3, from + 6);
    }
}

void Mesh::Allocate(int vertexCount, int faceCount) {
    vertices.assign(static_cast<size_t>(vertexCount), Vertex(Vector3(), Vector3(), 0, 0));
    faces.assign(static_cast<size_t>(faceCount) * 3, 0);
    numVertices = vertexCount;
    numFaces = faceCount;
}

// The unweighted average of the adjacent face normals: each triangle adds its
// unit normal once per corner, and there is no crease angle.
void Mesh::RecalcNormals(bool flip) {
    for (Vertex& v : vertices) v.normal = Vector3();
    for (int f = 0; f < numFaces; ++f) {
        int* corner = &faces[static_cast<size_t>(f) * 3];
        const Vector3& a = vertices[corner[0]].pos;
        const Vector3 e1 = vertices[corner[1]].pos - a;
        const Vector3 e2 = vertices[corner[2]].pos - a;
        Vector3 n = e1.Cross(e2).Normalize();
        if (flip) {
            n = -n;
            std::swap(corner[0], corner[2]);
        }
        for (int k = 0; k < 3; ++k) vertices[corner[k]].normal += n;
    }
    for (Vertex& v : vertices) v.normal.Normalize();
}

void Mesh::RecalcNormalsCyl() {
    for (Vertex& v : vertices) v.normal = Vector3(v.pos.x, 0, v.pos.z).Normalize();
}

void Mesh::SetIM(const Matrix& m) {
    im = m;
    imIdentity = false;
}

// Normals go through the direction transform and are left as they come out:
// the placement matrices used with this carry no scale.
void Mesh::Transform(const Matrix& m) {
    for (Vertex& v : vertices) {
        v.pos = m * v.pos;
        v.normal = m ^ v.normal;
    }
}

void Mesh::RescaleTexMap(float su, float sv, float ou, float ov) {
    if (su == 1 && sv == 1 && ou == 0 && ov == 0) return;
    for (Vertex& v : vertices) {
        v.u = su * v.u + ou;
        v.v = sv * v.v + ov;
        debug << "\ttu: " << v.u << "\ttv: " << v.v << std::endl;
    }
}

void Mesh::RescaleTexMap(const Material* material) {
    RescaleTexMap(material->scaleU, material->scaleV, material->offsetU, material->offsetV);
}

// v runs from 0 at the top (largest y, or largest z for PLANARY) to 1 at the
// bottom. Bounds that collapse on an axis divide by zero; the coordinates are
// then whatever the division gives.
void Mesh::RemapCoords(Material* material) {
    Vector3 lo(100000, 100000, 100000);
    Vector3 hi(-100000, -100000, -100000);
    for (const Vertex& v : vertices) {
        lo = Vector3(std::fmin(lo.x, v.pos.x), std::fmin(lo.y, v.pos.y), std::fmin(lo.z, v.pos.z));
        hi = Vector3(std::fmax(hi.x, v.pos.x), std::fmax(hi.y, v.pos.y), std::fmax(hi.z, v.pos.z));
    }

    const std::string& type = material->mapType;
    if (type == "CYL") {
        const double twoPi = 2 * 3.14159265358979323846;
        for (Vertex& v : vertices) {
            float u = static_cast<float>(std::atan2(v.pos.x, -v.pos.z) / twoPi + 0.5);
            // Straight behind the axis atan2 gives +pi; that is the start of the wrap.
            if (u >= 1.0f) u = 0.0f;
            v.u = u;
            v.v = ClampTexCoord((v.pos.y - hi.y) / (lo.y - hi.y));
        }
        if (material->scaleU > 1.0f && material->seamSplit) {
            SplitCylinderSeam();
            // The copies run past u = 1: the texture has to repeat there.
            material->clampR = false;
        }
    } else if (type == "PLANARX") {
        for (Vertex& v : vertices) {
            v.u = (v.pos.z - hi.z) / (lo.z - hi.z);
            v.v = (v.pos.y - hi.y) / (lo.y - hi.y);
        }
    } else if (type == "PLANARY") {
        for (Vertex& v : vertices) {
            v.u = ClampTexCoord((v.pos.x - lo.x) / (hi.x - lo.x));
            v.v = ClampTexCoord((v.pos.z - hi.z) / (lo.z - hi.z));
        }
    } else if (type == "PLANARZ") {
        for (Vertex& v : vertices) {
            v.u = (v.pos.x - hi.x) / (hi.x - lo.x);  // runs from -1 to 0
            v.v = (v.pos.y - hi.y) / (lo.y - hi.y);
        }
    } else if (type != "CLOTH" && type != "NONE") {
        debug << "unknown map type: '" << type << "'" << std::endl;
    }
}

// A triangle across the wrap-around of u has corners near 1 and near 0; with
// a repeated texture it would show the whole texture squeezed backwards. Its
// corners left of the middle are redirected to copies one whole turn on.
void Mesh::SplitCylinderSeam() {
    std::vector<bool> straddles(static_cast<size_t>(numFaces), false);
    std::vector<bool> marked(static_cast<size_t>(numVertices), false);
    for (int f = 0; f < numFaces; ++f) {
        const int* corner = &faces[static_cast<size_t>(f) * 3];
        const float u0 = vertices[corner[0]].u;
        const float u1 = vertices[corner[1]].u;
        const float u2 = vertices[corner[2]].u;
        if (std::fabs(u0 - u1) <= 0.5f && std::fabs(u1 - u2) <= 0.5f &&
            std::fabs(u2 - u0) <= 0.5f) {
            continue;
        }
        straddles[f] = true;
        for (int k = 0; k < 3; ++k) {
            if (vertices[corner[k]].u < 0.5f) marked[corner[k]] = true;
        }
    }

    std::vector<int> copyOf(static_cast<size_t>(numVertices), -1);
    int next = numVertices;
    for (int i = 0; i < numVertices; ++i) {
        if (!marked[i]) continue;
        copyOf[i] = next++;
        Vertex copy = vertices[i];
        copy.u += 1.0f;
        vertices.push_back(copy);
    }

    for (int f = 0; f < numFaces; ++f) {
        if (!straddles[f]) continue;
        int* corner = &faces[static_cast<size_t>(f) * 3];
        for (int k = 0; k < 3; ++k) {
            if (copyOf[corner[k]] >= 0) corner[k] = copyOf[corner[k]];
        }
    }
    numVertices = next;
}
