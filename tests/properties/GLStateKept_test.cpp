// Every drawing object that changes the matrices, the depth test, the depth
// function, depth writes or lighting for its own drawing gives back the
// state it found, so that what the frame draws after it is unaffected.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "character/Object.h"
#include "input/Mouse.h"
#include "match/LifeBar.h"
#include "math/Camera.h"
#include "render/Material.h"
#include "render/MeshQuad.h"
#include "scene/DirectionalLight.h"
#include "scene/Scene.h"
#include "scene/Sun.h"
#include "scene/Water.h"
#include "support/GLContext.h"
#include "support/SceneryFiles.h"

namespace {

// The state a frame's drawing relies on, read back from GL. Objects drawn in
// the world load their own model-view; overlays must give it back too.
std::vector<float> Snapshot(bool overlay) {
    std::vector<float> s(overlay ? 32 : 16);
    glGetFloatv(GL_PROJECTION_MATRIX, s.data());
    if (overlay) glGetFloatv(GL_MODELVIEW_MATRIX, s.data() + 16);
    for (const GLenum what : {GL_MATRIX_MODE, GL_DEPTH_FUNC, GL_DEPTH_WRITEMASK}) {
        GLint value = 0;
        glGetIntegerv(what, &value);
        s.push_back(static_cast<float>(value));
    }
    s.insert(s.end(), {static_cast<float>(glIsEnabled(GL_DEPTH_TEST)), static_cast<float>(glIsEnabled(GL_LIGHTING))});
    return s;
}

// What a frame has set when an object draws: its own projection and
// model-view, the depth test and lighting on, and a depth function of its own.
void FrameState() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2, 3, 4);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5, 6, 7);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glDepthFunc(GL_LEQUAL);
}

using Draw = std::function<void()>;

// Each maker builds its object in the scratch scene folder and returns its draw.
Draw CursorDraw() {
    WriteFile("materials/white.mat", ColourMaterial({1, 1, 1}, {1, 1, 1}));
    auto mouse = std::make_shared<Mouse>();
    mouse->ModeAbs();
    mouse->SetPos(20, 12);
    return [=] { mouse->Draw(); };
}

Draw LensFlareDraw() {
    SceneryScratch::Write("materials/flare.mat", FlatMaterial("-"));
    SceneryScratch::Write("lensflare.txt", "1 flare.mat 1 0 8 0");
    Record record("nosun.asc 0 stone.mat 0 0 500");
    auto sun = std::make_shared<Sun>(*record, SCENE_DIR);
    sun->Update();
    return [=] { sun->Draw(); };
}

Draw WaterDraw() {
    WriteSolidBmp("sea.bmp", 0, 255, 0);
    WriteSolidBmp("sky.bmp", 0, 0, 255);
    SceneryScratch::Write("materials/water.mat", FlatMaterial("WATER sea.bmp sky.bmp"));
    Record record("grid.asc 0 water.mat 0 0 0");
    auto water = std::make_shared<Water>(*record, SCENE_DIR);
    water->Update();
    return [=] { water->Draw(), water->DrawAmbient(); };
}

Draw EmbossDraw() {
    auto bumpy = std::make_shared<Material>();
    bumpy->bump = true;
    auto quad = std::make_shared<MeshQuad>(Vector3(-1, -1, 0), Vector3(1, 0, 0), Vector3(0, 1, 0),
                                           Vector3(2, 2, 0));
    auto o = std::make_shared<Ptr<Object>>(new Object(nullptr, Vector3(), Vector3(1, 0, 0),
                                                      Vector3(0, 1, 0), Vector3(0, 0, 1),
                                                      Vector3(1, 1, 1), quad.get(), quad.get(),
                                                      nullptr, bumpy.get()));
    auto sun = std::make_shared<DirectionalLight>(Vector3(1, 1, 1), Vector3(-1, 0, 0));
    System::instance()->display->lights.Add(sun.get());
    return [o, bumpy, quad, sun] { (*o)->Draw(); };
}

Draw TransparentsDraw() {
    auto scene = std::make_shared<Scene>("none");
    scene->transparents.Add(new Object());
    scene->reflectedTransparents.Add(new Object());
    return [=] { scene->DrawAlpha(), scene->DrawReflectionAlpha(); };
}

using GLState = GLTest;

TEST_F(GLState, EveryDrawingObjectGivesBackTheStateItFound) {
    const struct {
        const char* name;
        Draw (*make)();
        bool overlay;
    } drawers[] = {{"life bar", [] { return Draw([] { LifeBar(1).Draw(); }); }, true},
                   {"mouse cursor", CursorDraw, true},
                   {"lens flare", LensFlareDraw, true},    {"water", WaterDraw, false},
                   {"emboss", EmbossDraw, false},          {"transparent scenery", TransparentsDraw, false}};
    for (const auto& d : drawers) {
        SCOPED_TRACE(d.name);
        SceneryScratch files;
        Camera camera(Vector3(0, 0, -200), Vector3(0, 0, 0), Vector3(0, 1, 0), 0);
        System::instance()->display->SetCamera(&camera);
        const Draw draw = d.make();
        FrameState();
        const std::vector<float> found = Snapshot(d.overlay);
        draw();
        EXPECT_EQ(Snapshot(d.overlay), found);
        StandardState();
    }
}

}  // namespace
