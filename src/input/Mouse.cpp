#include "input/Mouse.h"

#include <GL/gl.h>
#include <SDL.h>

#include "core/Display.h"
#include "core/System.h"
#include "render/Material.h"

Material* mat = nullptr;

namespace {
// One twentieth of a sixth per frame: the colour goes round the circle in
// 120 frames.
const float HUE_STEP = 0.05f;
const int CURSOR_ARM = 10;  // pixels from the centre to each end of the cross
}  // namespace

// A new mouse makes its cursor's material again, on its first drawing.
Mouse::Mouse() {
    delete mat;
    mat = nullptr;
}

void Mouse::Update() {
    int nx = 0;
    int ny = 0;
    SetButtons(SDL_GetMouseState(&nx, &ny));
    SetPos(nx, ny);
}

void Mouse::SetButtons(unsigned char down) {
    oldButtons = buttons;
    buttons = down | latched;
    latched = 0;
}

void Mouse::Latch(int button) {
    if (button >= 1 && button <= 3) latched |= SDL_BUTTON(button);
}

void Mouse::SetPos(int nx, int ny) {
    dx = nx - x;
    dy = ny - y;
    x = nx;
    y = ny;
}

void Mouse::SetOff(int ox, int oy) {
    x += ox;
    y += oy;
    if (absolute) {
        if (x < minX) x = minX;
        if (y < minY) y = minY;
        if (x > maxX) x = maxX;
        if (y > maxY) y = maxY;
    }
    dx = ox;
    dy = oy;
}

void Mouse::SetLimits(int minX, int minY, int maxX, int maxY) {
    this->minX = minX;
    this->minY = minY;
    this->maxX = maxX;
    this->maxY = maxY;
}

Vector3 Mouse::NextColour() {
    val += HUE_STEP;
    if (val >= 1.0f) {
        val = 0;
        huemode = (huemode + 1) % 6;
    }
    const float v = val;
    switch (huemode) {
        case 0: return Vector3(1, 1 - v, 0);
        case 1: return Vector3(1, 0, v);
        case 2: return Vector3(1 - v, 0, 1);
        case 3: return Vector3(0, v, 1);
        case 4: return Vector3(0, 1, 1 - v);
        default: return Vector3(v, 1, 0);
    }
}

void Mouse::Draw() {
    if (!absolute) return;
    if (mat == nullptr) mat = new Material("materials/white.mat");
    mat->current(true);
    const Vector3 colour = NextColour();

    // Pixel coordinates with y down, like the mouse's own.
    const Display* display = System::instance()->display;
    display->BeginOverlay(true);
    glColor3f(colour.x, colour.y, colour.z);
    glBegin(GL_LINES);
    glTexCoord2f(0, 0);
    glVertex2i(x - CURSOR_ARM, y);
    glTexCoord2f(0, 1);
    glVertex2i(x + CURSOR_ARM, y);
    glTexCoord2f(1, 1);
    glVertex2i(x, y + CURSOR_ARM);
    glTexCoord2f(1, 0);
    glVertex2i(x, y - CURSOR_ARM);
    glEnd();
    display->EndOverlay();
}
