#include "scene/Water.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/Mesh.h"

namespace {

// Three crossed sine waves. Position and time meet inside the sine, so the
// ripples grow finer as the clock runs; the phases keep the surface from
// being flat at time 0.
const int WAVES = 3;
const double WAVE_AMPLITUDE[WAVES] = {2.0, 1.0, 3.0};
const double WAVE_FREQUENCY_X[WAVES] = {0.1, 0.15, 0.13};
const double WAVE_PHASE_X[WAVES] = {0.0, 0.1, 0.7};
const double WAVE_FREQUENCY_Z[WAVES] = {0.12, 0.08, 0.04};
const double WAVE_PHASE_Z[WAVES] = {0.0, 0.2, 0.9};
const double WAVE_TIME_SCALE = 0.0001;

// The planes the rays are followed to, and how the images are laid on them.
const float SKY_HEIGHT = 300;
const float BOTTOM_HEIGHT = -200;
const float SKY_SCALE = 0.3f / 600;
const float BOTTOM_SCALE = 10.0f / 600;
const float BENDING = 0.4f;  // how far a refracted ray turns towards -normal

const Camera* CurrentCamera() {
    const Display* display = System::instance()->display;
    return display == nullptr ? nullptr : display->camera;
}

// Where the ray from p along dir meets the plane y = height, on x and z; a
// ray parallel to the plane stays at p.
void Meet(const Vector3& p, const Vector3& dir, float height, float& x, float& z) {
    x = p.x;
    z = p.z;
    if (dir.y == 0) return;
    const float s = (height - p.y) / dir.y;
    x += s * dir.x;
    z += s * dir.z;
}

// The steeper the camera looks down, the larger the result.
float Steepness(const Camera& camera) {
    return std::fabs((camera.at - camera.from).Normalized().y);
}

}  // namespace

Water::Water(WordReader& in, const std::string& dir) : Static(in, dir) {}

void Water::Update() {
    if (mesh == nullptr) return;
    const int count = std::min(mesh->numVertices, static_cast<int>(mesh->vertices.size()));
    if (count <= 0) return;
    const size_t size = static_cast<size_t>(count);
    if (reflectU.size() != size) {
        reflectU.assign(size, 0);
        reflectV.assign(size, 0);
        refractU.assign(size, 0);
        refractV.assign(size, 0);
    }

    const double t = System::instance()->clock->time;
    for (int i = 0; i < count; ++i) {
        Vector3& p = mesh->vertices[i].pos;
        double h = 0;
        for (int k = 0; k < WAVES; ++k) {
            h += WAVE_AMPLITUDE[k] *
                 std::sin(WAVE_FREQUENCY_X[k] * WAVE_TIME_SCALE * p.x * t + WAVE_PHASE_X[k]) *
                 std::sin(WAVE_FREQUENCY_Z[k] * WAVE_TIME_SCALE * p.z * t + WAVE_PHASE_Z[k]);
        }
        p.y = static_cast<float>(h + LEVEL);
    }
    mesh->RecalcNormals(false);

    // The coordinates follow the camera; without one they keep their last values.
    const Camera* camera = CurrentCamera();
    if (camera == nullptr) return;
    for (int i = 0; i < count; ++i) {
        const Vector3& p = mesh->vertices[i].pos;
        const Vector3& n = mesh->vertices[i].normal;
        const Vector3 d = (p - camera->from).Normalized();
        float x, z;

        const Vector3 reflected = d - n * (2 * d.Dot(n));
        Meet(p, reflected, SKY_HEIGHT, x, z);
        reflectU[i] = x * SKY_SCALE + 0.5f;
        reflectV[i] = z * SKY_SCALE + 0.5f;

        const Vector3 refracted = (d * (1 - BENDING) - n * BENDING).Normalized();
        Meet(p, refracted, BOTTOM_HEIGHT, x, z);
        refractU[i] = x * BOTTOM_SCALE;
        refractV[i] = z * BOTTOM_SCALE;
    }
    if (material != nullptr) material->alpha = Steepness(*camera) * 0.3f + 0.3f;
}

void Water::Draw() { DrawLayers(false); }

void Water::DrawAmbient() { DrawLayers(true); }

void Water::DrawNonAmbient() {
    if (material == nullptr) return;
    glEnable(GL_STENCIL_TEST);
    glStencilMask(0);
    glStencilFunc(GL_NOTEQUAL, 0, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    material->currentWaterMode(3);
    DrawMesh();
    // Left on, the test would keep whatever the light pass draws next out of the lit parts.
    glDisable(GL_STENCIL_TEST);
}

bool Water::UseCoords(const std::vector<float>& u, const std::vector<float>& v) {
    const size_t count = std::min(static_cast<size_t>(std::max(mesh->numVertices, 0)),
                                  mesh->vertices.size());
    if (count == 0 || u.size() != count) return false;
    for (size_t i = 0; i < count; ++i) {
        mesh->vertices[i].u = u[i];
        mesh->vertices[i].v = v[i];
    }
    return true;
}

// The sky layer is drawn only where the depth buffer already holds this very
// surface; the surface layer then blends its own texture over whatever is
// there, the reflected scenery included.
void Water::DrawLayers(bool ambientPass) {
    if (material == nullptr || mesh == nullptr) return;
    if (!UseCoords(reflectU, reflectV)) return;  // not shaped by an Update yet
    GLint depthFunc = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);

    if (ambientPass) {
        glDisable(GL_STENCIL_TEST);
        glStencilMask(0);
    }
    glDepthFunc(GL_EQUAL);
    material->currentWaterMode(1);
    DrawMesh();

    if (ambientPass) {
        if (const Camera* camera = CurrentCamera()) {
            material->alpha = Steepness(*camera) * 0.2f + 0.3f;
        }
    }
    UseCoords(refractU, refractV);
    glDepthFunc(GL_LEQUAL);
    material->currentWaterMode(2);
    DrawMesh();

    glDepthFunc(static_cast<GLenum>(depthFunc));
}
