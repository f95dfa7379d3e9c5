#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/Display.h"
#include "core/System.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/RenderFiles.h"
#include "support/GLContext.h"
#include "support/Screenshot.h"

// What the effects need around them: a scratch folder with an untextured
// material file, a display of its own looking through a camera on the -z
// side of the origin, and the game clock under the test's control (its
// fields are put back afterwards).
class EffectScene {
public:
    EffectScene()
        : camera(Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0),
          clock(*System::instance()->clock),
          saved(clock) {
        WriteText("materials/effect.mat",
                  "- 1 1 ambi 0.2 0.2 0.2 diff 1 1 1 emis 0 0 0 specular 0 0 0 shine 0\n");
        display().camera = &camera;
        At(1000);
        clock.mode = 1;
    }
    ~EffectScene() {
        clock.time = saved.time;
        clock.delta = saved.delta;
        clock.mode = saved.mode;
    }
    EffectScene(const EffectScene&) = delete;
    EffectScene& operator=(const EffectScene&) = delete;

    static Display& display() { return *System::instance()->display; }
    static Material* NewMaterial() { return new Material("materials/effect.mat"); }

    // Game time `time`, reached by a frame `delta` real ms long.
    void At(int time, int delta = 0) {
        clock.time = time;
        clock.delta = delta;
    }

    RenderScratch scratch;
    Camera camera;
    Clock& clock;
    Clock saved;
};

inline void ExpectNear(const Vector3& actual, const Vector3& expected, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Drawing into the test window: black background, lighting on with no light
// switched on, so a material shows its emission plus a fifth of its ambient
// colour; no culling, depth test or blending to hide anything.
inline void BeginFrame(EffectScene& scene) {
    Display& display = EffectScene::display();
    display.width = GLTest::WIDTH;
    display.height = GLTest::HEIGHT;
    glViewport(0, 0, GLTest::WIDTH, GLTest::HEIGHT);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + i);
    glEnable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    display.SetCamera(&scene.camera);
}

inline void EndFrame() { glDisable(GL_LIGHTING); }

// The brightest channel of each window pixel, bottom row first.
inline std::vector<int> Brightness() {
    std::vector<std::uint8_t> rgb(GLTest::WIDTH * GLTest::HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLTest::WIDTH, GLTest::HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<int> out(GLTest::WIDTH * GLTest::HEIGHT);
    for (size_t i = 0; i < out.size(); ++i) {
        out[i] = std::max({rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]});
    }
    return out;
}

inline int CountAbove(const std::vector<int>& pixels, int level) {
    int n = 0;
    for (int p : pixels) n += p > level;
    return n;
}

// Keeps the window for a person to look at when E2E_SHOTS names a folder.
inline void Shot(const std::string& name) { SaveShot(name, GLTest::WIDTH, GLTest::HEIGHT); }
