#pragma once

#include "math/DArray.h"
#include "math/Matrix.h"
#include "math/Vector3.h"

struct SDL_Surface;
class Camera;
class DisplayOpts;
class Light;
class Material;
class Texture;

// The window with its OpenGL context: per-frame GL state, world and camera
// matrices, the planar shadow matrices, coordinate conversions, and the
// registries through which textures, materials and lights are shared.
class Display {
public:
    // The registries hold their entries without owning them: destroying the
    // display empties the lists and leaves textures, materials and lights be.
    Display() = default;

    bool Init(DisplayOpts* opts);   // GL attributes, window, caption
    bool Resize(int w, int h);      // always windowed and resizable afterwards
    // Alt+Enter: full screen or a window of the same size. When the new
    // mode is refused the old one is kept and the result is false.
    bool SetFullScreen(bool on);
    // A new size, in a window or full screen. When the new mode is refused
    // the old one is kept and the result is false.
    bool ChangeMode(int w, int h, bool full);
    // Viewport, clear, default state, lights; `keepPicture` clears depth and
    // stencil only, to draw over what the window already shows this frame.
    void StartScene(bool keepPicture = false);
    // Clears the depth buffer, and the stencil with it where that is the
    // cheaper way; the stencil's own write mask is kept.
    void ClearDepth();
    // Zeroes the stencil unless it is known to be zero already.
    void ClearStencil();
    void EndScene();                // save a requested screenshot, swap buffers
    void SetWorld(const Matrix& m); // load the model-view matrix
    void SetCamera(Camera* c);      // load projection × view, remember the camera
    void CreateShadowMatrix();      // rebuild ShadMtx from light 0
    // Pixel coordinates for flat overlays (life bars, cursor, lens flare):
    // both matrices saved, an orthographic projection of the window with y
    // down from the top edge (or up from the bottom), no depth test, no
    // lighting. EndOverlay puts it all back.
    void BeginOverlay(bool yDown) const;
    void EndOverlay() const;

    // Screen: pixels, y down. Device: 0 to 1000 on both axes. The third
    // component of every result is 1.
    Vector3 WorldToScreen(const Vector3& p) const;
    Vector3 WorldToScreen(const Camera& c, const Vector3& p) const;  // as seen by c
    Vector3 WorldToDevice(const Vector3& p) const;
    Vector3 DeviceToScreen(const Vector3& d) const;
    Vector3 ScreenToDevice(const Vector3& s) const;

    bool fullscreen = false;
    int width = 0;
    int height = 0;
    int depth = 0;                   // colour depth in bits per pixel
    Camera* camera = nullptr;        // the camera last given to SetCamera
    DArray<Texture*> textures;       // every texture created
    DArray<Material*> materials;     // materials registered by their users; [0] draws planar shadows
    DArray<Light*> lights;           // the scene's lights; light 0 casts the shadows
    Material* currentMaterial = nullptr;  // the material last made current
    SDL_Surface* surface = nullptr;  // the last video mode set
    bool filter = false;             // linear rather than nearest texture filtering
    bool screenshotRequested = false;  // the frame being drawn is saved before it is shown
    int framesShown = 0;               // frames swapped onto the window so far
    // How many GL contexts the window has had. A new video mode may come
    // with a new context, which knows none of the old one's objects: the
    // textures are then made again on their next use, and whatever else
    // keeps GL objects builds them again when this number has changed.
    int contextGeneration = 0;
    // Nothing has written the stencil since it was last cleared to zero.
    // Whatever writes it (the shadow volumes) says so here.
    bool stencilClean = false;

    // Counts a new context when SDL has made one; called after every video mode set.
    void CheckContext();

private:
    static Vector3 ToView(const Camera& c, const Vector3& p);  // through c's view and projection
    void ClearAll(unsigned int buffers);     // these buffers and the stencil, wholly
    SDL_Surface* SetMode(bool full);         // the window's video mode, at its size
    unsigned int contextProbe = 0;           // a texture object the current context knows
};

// Planar shadow matrices: each shadow drawn in a frame takes the next one, a
// 1/40 unit lower than the last, so that overlapping shadows never fight in
// the depth buffer.
const int SHADOW_MATRICES = 40;
extern Matrix ShadMtx[SHADOW_MATRICES];
extern int shadowctr;
