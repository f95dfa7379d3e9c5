#include "match/Tracer.h"

#include <algorithm>
#include <vector>

#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "render/Material.h"
#include "render/Mesh.h"
#include "scene/Light.h"

namespace {

const int SEGMENTS = Tracer::SAMPLES - 1;
const int STEPS_PER_UPDATE = 4;
// The flattened trail lies just below the planar shadows of the bodies, so
// that the two never fight in the depth buffer.
const float SHADOW_DEPTH = -0.1f;

}  // namespace

Tracer::Tracer(Object* parent_, Material* m) {
    parent = parent_;
    material = m;
    mesh = new Mesh();
    mesh->Allocate(2 * SAMPLES, 4 * SEGMENTS);
    int* face = mesh->faces.data();
    for (int i = 0; i < SEGMENTS; ++i) {
        const int a = i, b = i + 1, c = i + SAMPLES, d = i + SAMPLES + 1;
        // Both sides of the quad between samples i and i+1.
        const int triangles[4][3] = {{a, b, c}, {c, b, d}, {c, b, a}, {d, b, c}};
        for (const auto& triangle : triangles) {
            for (int corner : triangle) *face++ = corner;
        }
    }
    // The faces stay; only the segments behind existing samples are drawn.
    mesh->numFaces = 0;
}

Tracer::~Tracer() { delete mesh; }

void Tracer::Update() {
    if (System::instance()->clock->mode == 0 || parent == nullptr) return;
    std::vector<Vertex>& v = mesh->vertices;
    const Vector3 up(0, 1, 0);
    if (active) {
        const int steps = count == 0 ? 1 : STEPS_PER_UPDATE;
        for (int step = 0; step < steps; ++step) {
            Shift(SAMPLES);
            v[0] = Vertex(parent->worldPos, up, 0, 0);
            v[SAMPLES] = Vertex(parent->tip, up, 1, 0);
            mesh->numFaces = 4 * count;
            count = std::min(count + 1, SEGMENTS);
        }
    } else if (count >= 1) {
        for (int step = 0; step < STEPS_PER_UPDATE; ++step) {
            Shift(39.1f);
            v[0] = Vertex(parent->worldPos, up, 0, 0);
            v[SAMPLES] = Vertex(parent->tip, up, 1, 0);
            count = std::max(count - 1, 0);
            mesh->numFaces = 4 * count;
        }
    }
    if (count >= 5) Smooth();
}

void Tracer::Shift(float vDivisor) {
    std::vector<Vertex>& v = mesh->vertices;
    for (int k = count; k >= 1; --k) {
        v[k] = v[k - 1];
        v[k + SAMPLES] = v[k + SAMPLES - 1];
        // Keep the texture's last row off its border.
        const float along = std::min(k / vDivisor, 0.997f);
        v[k].v = along;
        v[k + SAMPLES].v = along;
    }
}

// Samples 1..3 are copies of the newest position after the shifts; spread
// them between sample 0 and sample 4 (the previous update), along a parabola
// through sample 8 when the trail is long enough to have one.
void Tracer::Smooth() {
    std::vector<Vertex>& v = mesh->vertices;
    for (int edge : {0, SAMPLES}) {
        const Vector3 p0 = v[edge].pos;
        const Vector3 p4 = v[edge + 4].pos;
        const Vector3 p8 = v[edge + 8].pos;
        for (int k = 1; k <= 3; ++k) {
            const float s = 0.25f * k;
            if (count > 8) {
                v[edge + k].pos = p0 + (p4 - p0) * s + (p8 - p4 * 2 + p0) * (s * (s - 1) / 2);
            } else {
                v[edge + k].pos = p0 * (1 - s) + p4 * s;
            }
        }
    }
}

void Tracer::Draw() {
    if (material != nullptr) material->current(true);
    mesh->Draw(world);
}

void Tracer::DrawShadow() {
    Display* display = System::instance()->display;
    if (display == nullptr || display->lights.count == 0) return;
    const Vector3 light = display->lights[0]->direction;
    // A light level with the floor casts no shadow on it.
    if (light.y == 0) return;
    Matrix flatten;
    flatten.CreateIdentity();
    flatten(1, 0) = -light.x / light.y;
    flatten(1, 1) = 0;
    flatten(1, 2) = -light.z / light.y;
    flatten(3, 1) = SHADOW_DEPTH;
    mesh->Draw(flatten * world);
}

void Tracer::Start() { active = true; }

void Tracer::End() { active = false; }
