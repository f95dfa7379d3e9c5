#include "core/Display.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <iostream>

#include "core/DisplayOpts.h"
#include "core/Screenshot.h"
#include "core/Trace.h"
#include "math/Camera.h"
#include "math/Vector4.h"
#include "render/RenderPaths.h"
#include "render/Texture.h"
#include "scene/Light.h"

Matrix ShadMtx[SHADOW_MATRICES];
int shadowctr = 0;

bool Display::Init(DisplayOpts* opts) {
    fullscreen = opts->fullscreen;
    width = opts->width;
    height = opts->height;
    depth = opts->depth;
    filter = opts->filter != 0;

    // Without a video subsystem (no X server to talk to) SDL would crash on
    // the first attribute rather than refuse the mode.
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
        std::cerr << "Couldn't set GL video mode: " << SDL_GetError() << std::endl;
        std::exit(2);
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 12);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 12);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 12);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 12);

    surface = SetMode(fullscreen);
    if (surface == nullptr) {
        std::cerr << "Couldn't set GL video mode: " << SDL_GetError() << std::endl;
        SDL_Quit();
        std::exit(2);
    }
    CheckContext();
    SDL_WM_SetCaption("KORVANTHE", "korvanthe");
    return true;
}

SDL_Surface* Display::SetMode(bool full) {
    const Uint32 flags = full ? (SDL_OPENGL | SDL_FULLSCREEN) : (SDL_OPENGL | SDL_RESIZABLE);
    return SDL_SetVideoMode(width, height, depth, flags);
}

bool Display::Resize(int w, int h) {
    width = w;
    height = h;
    surface = SetMode(false);
    if (surface == nullptr) {
        std::cerr << "ERROR RESIZING VIDEO DISPLAY\n";
        std::exit(3);
    }
    fullscreen = false;
    CheckContext();
    debug << "display resized to " << width << 'x' << height << std::endl;
    return true;
}

bool Display::SetFullScreen(bool on) { return ChangeMode(width, height, on); }

// SDL 1.2 on X11 keeps the context through a new video mode; other back
// ends (SDL 1.2 on top of SDL 2 among them, on some systems) make a new one.
// A texture object made in the old context tells which: a new context has
// never heard of it.
void Display::CheckContext() {
    if (contextProbe != 0 && glIsTexture(contextProbe)) return;
    ++contextGeneration;
    if (contextGeneration > 1) debug << "a new GL context: textures are made again" << std::endl;
    Texture* texture = nullptr;
    textures.Head();
    while (textures.Next(texture)) texture->Forget();
    GLuint probe = 0;
    glGenTextures(1, &probe);
    glBindTexture(GL_TEXTURE_2D, probe);
    glBindTexture(GL_TEXTURE_2D, 0);
    contextProbe = probe;
}

bool Display::ChangeMode(int w, int h, bool full) {
    const int oldWidth = width, oldHeight = height;
    width = w;
    height = h;
    SDL_Surface* set = SetMode(full);
    const bool done = set != nullptr;
    if (!done) {
        debug << w << 'x' << h << (full ? " full screen" : " window") << " refused: " << SDL_GetError() << std::endl;
        width = oldWidth;
        height = oldHeight;
        set = SetMode(fullscreen);
        if (set == nullptr) {
            std::cerr << "ERROR RESIZING VIDEO DISPLAY\n";
            std::exit(3);
        }
    }
    surface = set;
    if (done) fullscreen = full;
    CheckContext();
    debug << (fullscreen ? "full screen " : "windowed ") << width << 'x' << height << std::endl;
    return done;
}

void Display::StartScene(bool keepPicture) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glViewport(0, 0, width, height);
    const GLbitfield buffers = keepPicture ? GL_DEPTH_BUFFER_BIT : GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
    if (renderPaths.stencilWithDepth) {
        ClearAll(buffers);
    } else {
        glClear(buffers);
    }
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    const GLint filtering = filter ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filtering);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtering);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    Light* light = nullptr;
    lights.Head();
    for (int i = 0; lights.Next(light); ++i) light->index(i);
}

// A software renderer fills a depth buffer with its stencil in one sweep,
// but clearing either alone keeps the other's bits pixel by pixel.
void Display::ClearAll(unsigned int buffers) {
    GLint writeMask = 0;
    glGetIntegerv(GL_STENCIL_WRITEMASK, &writeMask);
    glStencilMask(~0u);
    glClearStencil(0);
    glClear(buffers | GL_STENCIL_BUFFER_BIT);
    glStencilMask(static_cast<GLuint>(writeMask));
    stencilClean = true;
}

void Display::ClearDepth() {
    if (renderPaths.stencilWithDepth) {
        ClearAll(GL_DEPTH_BUFFER_BIT);
    } else {
        glClear(GL_DEPTH_BUFFER_BIT);
    }
}

void Display::ClearStencil() {
    if (!stencilClean || !renderPaths.stencilWithDepth) glClear(GL_STENCIL_BUFFER_BIT);
    stencilClean = true;
}

void Display::EndScene() {
    if (screenshotRequested) {
        screenshotRequested = false;
        Screenshot::Take(width, height);
    }
    SDL_GL_SwapBuffers();
    ++framesShown;
}

void Display::SetWorld(const Matrix& m) {
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(Matrix(m).GLMatrix());
}

void Display::SetCamera(Camera* c) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMultMatrixf(c->projection.GLMatrix());
    glMultMatrixf(c->view.GLMatrix());
    camera = c;
}

void Display::CreateShadowMatrix() {
    for (Matrix& m : ShadMtx) m.CreateIdentity();
    if (lights.count == 0) return;
    const Vector3 L = lights[0]->direction;
    // A light skimming the floor casts no shadow that a plane could hold.
    if (L.y == 0) return;
    for (int i = 0; i < SHADOW_MATRICES; ++i) {
        Matrix& m = ShadMtx[i];
        m(0, 0) = 1;
        m(1, 0) = -L.x / L.y;
        m(2, 2) = 1;
        m(1, 2) = -L.z / L.y;
        m(1, 1) = 0;
        m(3, 1) = -static_cast<float>(i) / SHADOW_MATRICES;
    }
}

void Display::BeginOverlay(bool yDown) const {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    if (yDown) {
        glOrtho(0, width, height, 0, -1, 1);
    } else {
        glOrtho(0, width, 0, height, -1, 1);
    }
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
}

void Display::EndOverlay() const {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

Vector3 Display::ToView(const Camera& c, const Vector3& p) {
    const Vector4 q = c.projection * (c.view * Vector4(p));
    return Vector3(q);
}

Vector3 Display::WorldToScreen(const Vector3& p) const { return WorldToScreen(*camera, p); }

// Where GL itself puts the point: the projected x and y run from -1 to 1
// across the window, y upwards.
Vector3 Display::WorldToScreen(const Camera& c, const Vector3& p) const {
    const Vector3 v = ToView(c, p);
    return Vector3(width / 2.0f * (v.x + 1), height / 2.0f * (1 - v.y), 1);
}

Vector3 Display::WorldToDevice(const Vector3& p) const {
    const Vector3 v = ToView(*camera, p);
    return Vector3(500 * (v.x + 1), 500 * (1 - v.y), 1);
}

Vector3 Display::DeviceToScreen(const Vector3& d) const {
    return Vector3(width * d.x / 1000, height * d.y / 1000, 1);
}

Vector3 Display::ScreenToDevice(const Vector3& s) const {
    return Vector3(1000 * s.x / width, 1000 * s.y / height, 1);
}
