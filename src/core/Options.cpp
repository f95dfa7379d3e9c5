#include "core/Options.h"

#include <SDL.h>

#include "core/System.h"
#include "input/Keyboard.h"

Options* options = nullptr;

Options::Options(const char*) {}

void Options::Update() {
    const Keyboard* keyboard = System::instance()->keyboard;
    if (keyboard->Pressed(SDLK_F9)) detail = (detail + 1) % 3;
    if (keyboard->Pressed(SDLK_F10)) shadows = (shadows + 1) % 3;
    if (keyboard->Pressed(SDLK_F5)) slowMotion = 1 - slowMotion;
}
