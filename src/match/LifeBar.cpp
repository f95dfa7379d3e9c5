#include "match/LifeBar.h"

#include <GL/gl.h>

#include <algorithm>

#include "core/Display.h"
#include "core/System.h"
#include "render/Material.h"

namespace {

// The bar lies between these rows, counted from the top of the screen.
const int BAR_TOP = 20;
const int BAR_BOTTOM = 40;

}  // namespace

LifeBar::LifeBar() = default;

LifeBar::LifeBar(int player) : player(player), material(new Material()) {
    material->emission = Vector3(1, 1, 1);
    material->alpha = 0.6f;
    material->blendType = 2;  // SRCALPHA
}

LifeBar::~LifeBar() { delete material; }

LifeBar& LifeBar::operator-=(int d) {
    value = std::max(value - d, 0);
    return *this;
}

LifeBar& LifeBar::operator+=(int d) {
    value = std::min(value + d, MAX_LIFE);
    return *this;
}

// A quarter of the screen wide, a twentieth of it in from the side.
LifeBar::Span LifeBar::Edges(int screenWidth) const {
    const int width = static_cast<int>(screenWidth * 0.25);
    const int margin = static_cast<int>(screenWidth * 0.05);
    const int left = player == 0 ? margin : screenWidth - width - margin;
    return Span{left, left + width * value / MAX_LIFE, left + width};
}

void LifeBar::Draw() const {
    // A bar that belongs to nobody has no side of the screen to stand on.
    if (player != 0 && player != 1) return;
    const Display* display = System::instance()->display;
    if (display == nullptr) return;
    if (material != nullptr) material->current(true);

    const Span span = Edges(display->width);
    const float f = std::clamp(value / 100.0f, 0.0f, 1.0f);

    // Pixel coordinates with y growing down from the top edge.
    display->BeginOverlay(true);

    glBegin(GL_QUADS);
    glColor3f(1, 1, 1);
    glVertex2i(span.left, BAR_BOTTOM);
    glVertex2i(span.left, BAR_TOP);
    glColor3f(1 - f, 0, f);
    glVertex2i(span.fill, BAR_TOP);
    glVertex2i(span.fill, BAR_BOTTOM);
    glEnd();

    glColor3f(0, 0, 0);
    glBegin(GL_LINE_LOOP);
    glVertex2i(span.left, BAR_BOTTOM);
    glVertex2i(span.left, BAR_TOP);
    glVertex2i(span.right, BAR_TOP);
    glVertex2i(span.right, BAR_BOTTOM);
    glEnd();

    display->EndOverlay();
}
