#include "frontend/CaptionView.h"

#include <GL/gl.h>

#include "core/Display.h"
#include "core/System.h"
#include "frontend/String3D.h"
#include "render/Material.h"
#include "scene/DirectionalLight.h"

namespace {

const float QUARTER_TURN = 0.7853982f;
const int MAX_LIGHTS = 8;  // the light slots of fixed-function GL

// Materials join the display's registry like everyone else's; appended,
// whatever iteration of it was left half done.
Material* Registered(const char* file) {
    Material* m = new Material(file);
    Display* display = System::instance()->display;
    display->materials.cursor = display->materials.count;
    display->materials.Add(m);
    return m;
}

}  // namespace

Camera CaptionView::MakeCamera() {
    return Camera(Vector3(CENTRE_X, CENTRE_Y, -820), Vector3(CENTRE_X, CENTRE_Y, 0), Vector3(0, 1, 0),
                  0, 1, 5000, QUARTER_TURN);
}

CaptionView::CaptionView()
    : camera(MakeCamera()),
      light(new DirectionalLight(Vector3(1, 1, 1), Vector3(-1, -1, 1))),
      captionMaterial(Registered("materials/strmat.mat")),
      normalMaterial(Registered("materials/menutext1.mat")),
      highlightMaterial(Registered("materials/menutext2.mat")) {
    light->enabled = false;
    String3D::Map(captionMaterial);
}

CaptionView::~CaptionView() = default;

void CaptionView::Begin() {
    // The arena's state comes back at End: its fog, its other lights (which
    // would only cost time on every vertex of every letter), its depth test.
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT);
    System::instance()->display->ClearDepth();
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    for (int slot = 1; slot < MAX_LIGHTS; ++slot) glDisable(GL_LIGHT0 + slot);
    glDisable(GL_FOG);
    light->enabled = true;
    light->index(0);
    System::instance()->display->SetCamera(&camera);
}

void CaptionView::End() {
    light->enabled = false;
    glPopAttrib();
}

void CaptionView::Draw(String3D& text, float x, float y, Material* material) {
    if (material != nullptr) material->current(true);
    text.SetPosition(Vector3(x, y, 0));
    text.Update();
    text.Draw();
}

void CaptionView::DrawCentred(String3D& text, float x, float y, Material* material) {
    Draw(text, x - text.Width() / 2, y, material);
}
