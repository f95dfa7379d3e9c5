#include "character/Object.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <utility>
#include <vector>

#include "core/Assert.h"
#include "core/Display.h"
#include "core/Options.h"
#include "core/System.h"
#include "core/Trace.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "render/MeshSphere.h"
#include "render/ViewVolume.h"
#include "scene/Light.h"
#include "scene/PointLight.h"

namespace {

const float PI = 3.14159265358979f;

// How far one emboss pass shifts the texture towards the light.
const float EMBOSS_SHIFT = 0.008f;

// The collision ellipsoid is drawn this much larger than the one tested, so
// that a blow visibly reaches it.
const float COLLISION_MESH_SCALE = 1.1f;

// The swept quad is quartered at most this many times before a miss is declared.
const int COLLISION_PASSES = 5;

// 0 the drawn mesh, 1 the shadow mesh, 2 the collision mesh, anything else none.
Mesh* Selected(const Object& o, int which) {
    switch (which) {
        case 0: return o.mesh;
        case 1: return o.shadowMesh;
        case 2: return o.collisionMesh;
        default: return nullptr;
    }
}

// Unit tests run without options; the game always creates them.
int Detail() { return options != nullptr ? options->detail : 0; }
int ShadowDetail() { return options != nullptr ? options->shadows : 1; }

Matrix Inverted(Matrix m) {
    m.Inverse();
    return m;
}

// An angle difference brought into [-1, 1] half turns.
float HalfTurns(float difference) {
    if (difference > PI) difference -= 2 * PI;
    if (difference < -PI) difference += 2 * PI;
    return difference / PI;
}

// How near a quarter of the swept quad lies to the sphere centre, from its
// corner, its two edge midpoints and its centre: the lower, the nearer.
float QuarterScore(const Vector3& corner, const Vector3& m1, const Vector3& m2,
                   const Vector3& centre) {
    return 1 / (1 / corner.Length() + 1 / m1.Length() + 1 / m2.Length() + 1 / centre.Length());
}

}  // namespace

Object::Object() {
    restX = Vector3(1, 0, 0);
    restY = Vector3(0, 1, 0);
    restZ = Vector3(0, 0, 1);
    axisX = restX;
    axisY = restY;
    axisZ = restZ;
    size = Vector3(1, 1, 1);
    restInverse.CreateIdentity();
    translation.CreateIdentity();
    rotation.CreateIdentity();
    world.CreateIdentity();
    rest.CreateIdentity();
    local.CreateIdentity();
}

Object::Object(Object* parent_, const Vector3& restPos_, const Vector3& restX_,
               const Vector3& restY_, const Vector3& restZ_, const Vector3& size_, Mesh* mesh_,
               Mesh* shadowMesh_, Mesh* collisionMesh_, Material* material_)
    : Object() {
    parent = parent_;
    restPos = restPos_;
    restX = restX_;
    restY = restY_;
    restZ = restZ_;
    size = size_;

    SetRotation(restX, restY, restZ);
    SetPosition(restPos);
    local = translation * rotation;  // rotate into the rest axes, then move to restPos
    rest = local;
    restInverse = Inverted(local);
    if (parent) local = parent->restInverse * local;
    localOrigin = restInverse * restPos;
    localZ = restInverse ^ restZ;

    SetMesh(mesh_, shadowMesh_, collisionMesh_, material_);
    rotates = true;
    translates = true;
    SetRotation(Vector3(0, 0, 0));
    SetPosition(Vector3(0, 0, 0));
    Update();
}

Object::~Object() = default;

void Object::SetRotation(const Vector3& x, const Vector3& y, const Vector3& z) {
    axisX = x;
    axisY = y;
    axisZ = z;
    rotation.CreateIdentity();
    rotation.ReplaceCol(0, x);
    rotation.ReplaceCol(1, y);
    rotation.ReplaceCol(2, z);
    rotation.Inverse();
    dirty = true;
}

void Object::SetRotation(const Vector3& angles) {
    rotation.CreateRotateXZY(angles);
    dirty = true;
}

void Object::SetPosition(const Vector3& p) {
    position = p;
    translation.CreateTranslate(p);
    dirty = true;
}

// Texture coordinates are generated while the meshes stand in the node's own
// frame, so that a part maps its texture the same way wherever it is modelled.
void Object::SetMesh(Mesh* mesh_, Mesh* shadowMesh_, Mesh* collisionMesh_, Material* material_) {
    mesh = mesh_;
    shadowMesh = shadowMesh_;
    collisionMesh = collisionMesh_;
    madeCollisionMesh.reset();
    if (collisionMesh == nullptr) {
        const Vector3 radii(COLLISION_MESH_SCALE * size.x, COLLISION_MESH_SCALE * size.y / 2,
                            COLLISION_MESH_SCALE * size.z);
        madeCollisionMesh = std::make_unique<MeshSphere>(restPos + restY * (size.y / 2), restX,
                                                         restY, restZ, radii, false, 5, 5);
        collisionMesh = madeCollisionMesh.get();
    }
    // A mesh given in two slots is placed and mapped once: transformed twice
    // it would be mapped in a frame that is not the node's.
    std::vector<Mesh*> distinct;
    for (Mesh* m : {mesh, shadowMesh, collisionMesh})
        if (m != nullptr && std::find(distinct.begin(), distinct.end(), m) == distinct.end())
            distinct.push_back(m);
    for (Mesh* m : distinct) m->Transform(restInverse);

    debug << "pre-Mat:" << static_cast<void*>(material_) << std::endl;
    material = material_;
    if (material != nullptr) {
        Display* display = System::instance()->display;
        if (display != nullptr) {
            // The first registered material of the same file is shared. A
            // material without a file cannot be recognised and stays its own.
            Material* shared = nullptr;
            bool registered = false;
            Material* entry = nullptr;
            display->materials.Head();
            while (display->materials.Next(entry)) {
                if (entry == nullptr) continue;
                if (entry == material) registered = true;
                if (shared == nullptr && !material->fileName.empty() &&
                    entry->fileName == material->fileName) {
                    shared = entry;
                }
            }
            if (shared != nullptr && shared != material) {
                // Someone else may still hold the given one: only an orphan goes.
                if (!registered && material->references == 0) delete material;
                material = shared;
            } else if (!registered) {
                display->materials.Add(material);  // the finished search left the cursor at the end
            }
        }
        debug << ":Mat:" << static_cast<void*>(material) << std::endl;
        for (Mesh* m : distinct) {
            m->RemapCoords(material);
            m->RescaleTexMap(material);
        }
    }

    for (Mesh* m : distinct) m->Transform(rest);
    Unwrap();
}

void Object::Bound() {
    Vector3 lo(1e30f, 1e30f, 1e30f);
    Vector3 hi(-1e30f, -1e30f, -1e30f);
    bool any = false;
    for (const Mesh* m : {mesh, shadowMesh, collisionMesh}) {
        if (m == nullptr) continue;
        for (const Vertex& v : m->vertices) {
            lo = Vector3(std::fmin(lo.x, v.pos.x), std::fmin(lo.y, v.pos.y), std::fmin(lo.z, v.pos.z));
            hi = Vector3(std::fmax(hi.x, v.pos.x), std::fmax(hi.y, v.pos.y), std::fmax(hi.z, v.pos.z));
            any = true;
        }
    }
    if (!any) return;
    boundCentre = (lo + hi) / 2;
    float radius = 0;
    for (const Mesh* m : {mesh, shadowMesh, collisionMesh}) {
        if (m == nullptr) continue;
        for (const Vertex& v : m->vertices) radius = std::fmax(radius, (v.pos - boundCentre).Length());
    }
    boundRadius = radius;
}

bool Object::InView(const ViewVolume& view) const {
    if (boundRadius < 0) return true;
    // The world matrix may scale: the sphere grows with its longest axis.
    float scale = 0;
    for (int axis = 0; axis < 3; ++axis) {
        scale = std::fmax(scale, Vector3(world(axis, 0), world(axis, 1), world(axis, 2)).Length());
    }
    return view.Sees(world * boundCentre, boundRadius * scale);
}

void Object::Update(const Matrix& m) {
    Update();
    world = m * world;
}

void Object::Update() {
    world.CreateIdentity();
    if (parent) {
        world = world * parent->world;
        world = world * parent->rest;
    }
    world = world * local;
    if (translates) world = world * translation;
    if (rotates) world = world * rotation;
    world = world * restInverse;
    dirty = false;
    // localOrigin is in the node's own frame: `rest` takes it back to the
    // rest pose before `world` carries it to where the joint stands now.
    worldPos = (world * rest) * localOrigin;
}

void Object::Draw() {
    if (material != nullptr) {
        if (material->bump) {
            DrawBumpMapped();
            return;
        }
        material->current(true);
    }
    if (Mesh* m = Selected(*this, Detail())) m->Draw(world);
}

void Object::DrawMesh() {
    if (Mesh* m = Selected(*this, Detail())) m->Draw(world);
}

// Emboss: the height map is drawn once, then its negative is added with the
// texture slid a little towards the light, so that slopes facing the light
// come out bright and those facing away dark.
void Object::DrawBumpMapped() {
    if (material == nullptr) return;
    GLint depthFunc = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glDepthFunc(GL_LEQUAL);
    material->currentBumpMode(0);
    material->currentBumpMode(1);
    DrawMesh();

    // Without a light the second pass lands exactly on the first.
    std::vector<std::pair<float, float>> saved;
    Display* display = System::instance()->display;
    if (mesh != nullptr && display != nullptr && display->lights.count > 0) {
        const Light* light = display->lights[0];
        const Matrix toNode = Inverted(world);
        // A positional light is a point; the others shine along their direction,
        // so the way towards them is the same from everywhere.
        Vector3 L = dynamic_cast<const PointLight*>(light) != nullptr ? toNode * light->position
                                                                      : toNode ^ -light->direction;
        L.Normalize();
        const float a0 = std::atan2(L.x, L.z);
        const float e0 = std::atan2(L.y, std::sqrt(L.x * L.x + L.z * L.z));

        saved.reserve(mesh->vertices.size());
        for (Vertex& v : mesh->vertices) {
            saved.emplace_back(v.u, v.v);
            const Vector3& n = v.normal;
            const float a = std::atan2(n.x, n.z);
            const float e = std::atan2(n.y, std::sqrt(n.x * n.x + n.z * n.z));
            v.u += EMBOSS_SHIFT * HalfTurns(a - a0);
            v.v -= EMBOSS_SHIFT * HalfTurns(e - e0);
        }
    }

    glDepthFunc(GL_EQUAL);
    material->currentBumpMode(2);
    DrawMesh();

    for (size_t i = 0; i < saved.size(); ++i) {
        mesh->vertices[i].u = saved[i].first;
        mesh->vertices[i].v = saved[i].second;
    }
    material->currentBumpMode(0);
    glDepthFunc(static_cast<GLenum>(depthFunc));
}

void Object::DrawShadow() {
    Display* display = System::instance()->display;
    if (display != nullptr && display->materials.count > 0) display->materials[0]->current(true);
    KV_ASSERT(shadowctr >= 0 && shadowctr < SHADOW_MATRICES);
    if (Mesh* m = Selected(*this, ShadowDetail())) m->Draw(ShadMtx[shadowctr] * world);
    // The last matrix is shared by every shadow beyond the fortieth.
    if (shadowctr < SHADOW_MATRICES - 1) ++shadowctr;
}

void Object::DrawAlpha() {}

void Object::DrawAmbient() {
    if (material == nullptr || material->bump) return;
    glDisable(GL_STENCIL_TEST);
    glStencilMask(0);
    material->currentShadowMode(1);
    DrawMesh();
}

void Object::DrawNonAmbient() {
    if (material == nullptr || material->bump) {
        Draw();
        return;
    }
    glEnable(GL_STENCIL_TEST);
    glStencilMask(0);
    glStencilFunc(GL_EQUAL, 0, 255);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    material->currentShadowMode(2);
    DrawMesh();
    glDisable(GL_STENCIL_TEST);
}

void Object::DrawShadowVolume() {
    if (material == nullptr) return;
    glColorMask(0, 0, 0, 0);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(0);
    glCullFace(GL_FRONT);
    const float black[4] = {0, 0, 0, 0};
    const float white[4] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    glEnable(GL_DEPTH_TEST);
    if (Mesh* m = Selected(*this, ShadowDetail())) m->DrawShadowVolume(world);
    glCullFace(GL_BACK);
    glDepthMask(1);
    glColorMask(1, 1, 1, 1);
}

// The quad swept by this segment is taken into the space where the other's
// ellipsoid is the unit sphere at the origin, then searched by quartering it,
// each time keeping the quarter whose points lie closest to the centre.
bool Object::Collision(Object* other) {
    Matrix scale;
    scale.CreateScale(other->size.x, other->size.y / 2, other->size.z);
    const Matrix toSphere = Inverted(scale) * Inverted(other->world * other->rest);
    const Vector3 centre(0, 1, 0);
    Vector3 q[4] = {toSphere * worldPos - centre, toSphere * tip - centre,
                    toSphere * prevPos - centre, toSphere * prevTip - centre};

    for (int pass = 0; pass < COLLISION_PASSES; ++pass) {
        const Vector3 m01 = (q[0] + q[1]) / 2;
        const Vector3 m23 = (q[2] + q[3]) / 2;
        const Vector3 m02 = (q[0] + q[2]) / 2;
        const Vector3 m13 = (q[1] + q[3]) / 2;
        const Vector3 mc = (q[0] + q[1] + q[2] + q[3]) / 4;
        const Vector3 candidates[9] = {q[0], q[1], q[2], q[3], m01, m23, m02, m13, mc};
        for (const Vector3& p : candidates) {
            if (p.Length() < 1) {
                contact = scale * (p + centre);
                return true;
            }
        }

        const float s0 = QuarterScore(q[0], m01, m02, mc);
        const float s1 = QuarterScore(q[1], m01, m13, mc);
        const float s2 = QuarterScore(q[2], m02, m23, mc);
        const float s3 = QuarterScore(q[3], m13, m23, mc);
        if (s0 < s1 && s0 < s2 && s0 < s3) {
            q[1] = m01;
            q[2] = m02;
            q[3] = mc;
        } else if (s1 < s2 && s1 < s3) {
            q[0] = m01;
            q[2] = mc;
            q[3] = m13;
        } else if (s2 < s3) {
            q[0] = m02;
            q[1] = mc;
            q[3] = m23;
        } else {
            q[0] = mc;
            q[1] = m13;
            q[2] = m23;
        }
    }
    return false;
}
