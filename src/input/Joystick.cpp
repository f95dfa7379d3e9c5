#include "input/Joystick.h"

#include <SDL.h>

#include "core/Trace.h"

namespace {
// Scales a full axis deflection to -1 exactly; the positive end stays a
// hair under 1 (32767/32768).
const float AXIS_SCALE = 1.0f / 32768.0f;
const int ALL_BUTTONS = (1 << Joystick::BUTTON_COUNT) - 1;
}  // namespace

Joystick::Joystick(int id) : handle(SDL_JoystickOpen(id)), id(id), present(handle != nullptr) {
    if (!present) debug << "no joystick at id " << id << std::endl;
}

Joystick::~Joystick() {
    if (handle != nullptr) SDL_JoystickClose(handle);
}

void Joystick::Update() {
    if (handle == nullptr) return;
    SDL_JoystickUpdate();
    int down = 0;
    for (int i = 0; i < BUTTON_COUNT; ++i) {
        if (SDL_JoystickGetButton(handle, i) != 0) down |= 1 << i;
    }
    SetState(SDL_JoystickGetAxis(handle, 0), SDL_JoystickGetAxis(handle, 1), down);
}

void Joystick::SetState(int axisX, int axisY, int down) {
    oldButtons = buttons;
    x = axisX * AXIS_SCALE;
    y = axisY * AXIS_SCALE;
    buttons = (down | latched) & ALL_BUTTONS;
    latched = 0;
}

void Joystick::Latch(int i) {
    if (Valid(i)) latched |= 1 << i;
}

bool Joystick::ButtonDown(int i) const { return Valid(i) && (buttons & (1 << i)) != 0; }

bool Joystick::ButtonPress(int i) const { return ButtonDown(i) && (oldButtons & (1 << i)) == 0; }
