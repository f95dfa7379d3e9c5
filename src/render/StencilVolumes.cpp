#include "render/StencilVolumes.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

#include <cstdlib>

#include "core/Display.h"
#include "core/System.h"
#include "render/RenderPaths.h"

namespace {

const size_t QUAD_FLOATS = 12;

std::vector<float> batch;
std::vector<float> backFaces;  // of the volume being ordered
bool batching = false;

// glStencilOpSeparate of the GL context the display has now, or null where
// GL is older than 2.0.
PFNGLSTENCILOPSEPARATEPROC StencilOpSeparate() {
    static PFNGLSTENCILOPSEPARATEPROC entry = nullptr;
    static int generation = -1;
    const Display* display = System::instance()->display;
    const int now = display != nullptr ? display->contextGeneration : 0;
    if (generation != now) {
        generation = now;
        entry = nullptr;
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        if (version != nullptr && std::atoi(version) >= 2) {
            entry = reinterpret_cast<PFNGLSTENCILOPSEPARATEPROC>(
                SDL_GL_GetProcAddress("glStencilOpSeparate"));
        }
    }
    return entry;
}

PFNGLSTENCILOPSEPARATEPROC OnePass() {
    return renderPaths.twoSidedStencil ? StencilOpSeparate() : nullptr;
}

void DrawQuads(const std::vector<float>& quads) {
    if (quads.empty()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, quads.data());
    glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(quads.size() / 3));
    glDisableClientState(GL_VERTEX_ARRAY);
}

void CountAll() {
    if (Display* display = System::instance()->display) display->stencilClean = false;
    glStencilMask(~0u);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
}

// Front faces count up and back faces down: a surface in a shadow lies
// behind a front face of the volume. Counting up first keeps the clamped
// stencil from losing a step.
void TwoPasses(const std::vector<float>& quads) {
    CountAll();
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    glCullFace(GL_BACK);
    DrawQuads(quads);
    glCullFace(GL_FRONT);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
    DrawQuads(quads);
    glCullFace(GL_BACK);
}

void OnePassOf(const std::vector<float>& quads, PFNGLSTENCILOPSEPARATEPROC separate) {
    CountAll();
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    separate(GL_FRONT, GL_KEEP, GL_KEEP, GL_INCR);
    separate(GL_BACK, GL_KEEP, GL_KEEP, GL_DECR);
    DrawQuads(quads);
    if (culling) glEnable(GL_CULL_FACE);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);  // as the second of two passes leaves it
    glCullFace(GL_BACK);
}

// Whether GL will see the quad's front: the winding of its first three
// corners on the screen, from the homogeneous determinant, which holds even
// for corners behind the eye. A quad that GL sees edge on covers no pixel.
bool FacesFront(const float* corner, const float* projection, bool clockwiseFront) {
    float clip[3][3];
    for (int i = 0; i < 3; ++i) {
        const float* p = corner + 3 * i;
        for (int row = 0; row < 3; ++row) {
            const int r = row == 2 ? 3 : row;  // x, y and w
            clip[i][row] = projection[r] * p[0] + projection[4 + r] * p[1] +
                           projection[8 + r] * p[2] + projection[12 + r];
        }
    }
    const float det = clip[0][0] * (clip[1][1] * clip[2][2] - clip[1][2] * clip[2][1]) -
                      clip[0][1] * (clip[1][0] * clip[2][2] - clip[1][2] * clip[2][0]) +
                      clip[0][2] * (clip[1][0] * clip[2][1] - clip[1][1] * clip[2][0]);
    return clockwiseFront ? det < 0 : det > 0;
}

// Appends the quads in the order the two passes would draw them: the front
// faces, then the back faces, each in their own order.
void AppendInPassOrder(const std::vector<float>& quads, std::vector<float>& to) {
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    GLint frontFace = GL_CCW;
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    backFaces.clear();
    for (size_t q = 0; q + QUAD_FLOATS <= quads.size(); q += QUAD_FLOATS) {
        const float* corner = &quads[q];
        std::vector<float>& faces =
            FacesFront(corner, projection, frontFace == GL_CW) ? to : backFaces;
        faces.insert(faces.end(), corner, corner + QUAD_FLOATS);
    }
    to.insert(to.end(), backFaces.begin(), backFaces.end());
}

}  // namespace

void StencilVolumes::Send(const std::vector<float>& quads) {
    if (quads.empty()) return;
    PFNGLSTENCILOPSEPARATEPROC separate = OnePass();
    if (separate == nullptr) {
        TwoPasses(quads);
        return;
    }
    if (batching) {
        AppendInPassOrder(quads, batch);
        return;
    }
    static std::vector<float> ordered;
    ordered.clear();
    AppendInPassOrder(quads, ordered);
    OnePassOf(ordered, separate);
}

void StencilVolumes::BeginBatch() {
    batching = renderPaths.volumesBatched;
    batch.clear();
}

void StencilVolumes::EndBatch() {
    if (!batching) return;
    batching = false;
    PFNGLSTENCILOPSEPARATEPROC separate = OnePass();
    if (batch.empty() || separate == nullptr) return;
    // What each volume's owner sets before sending it: only the stencil
    // buffer is written, the depth test still applies.
    glColorMask(0, 0, 0, 0);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDepthMask(0);
    glEnable(GL_DEPTH_TEST);
    if (Display* display = System::instance()->display) {
        Matrix identity;
        identity.CreateIdentity();
        display->SetWorld(identity);
    }
    OnePassOf(batch, separate);
    glDepthMask(1);
    glColorMask(1, 1, 1, 1);
}
