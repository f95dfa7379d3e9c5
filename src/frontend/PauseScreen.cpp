#include "frontend/PauseScreen.h"

#include <SDL.h>

#include "core/System.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"

PauseScreen::PauseScreen(CaptionView& view, const Backdrop& backdrop)
    : MenuScreen(view, backdrop, "PAUSED",
                 {{"RESUME", RESUME}, {"RESTART ROUND", RESTART_ROUND}, {"CONTROLS", CONTROLS},
                  {"MAIN MENU", MAIN_MENU}}) {}

bool PauseScreen::PausePressed() {
    const System* system = System::instance();
    return system->keyboard->Pressed(SDLK_p) || system->joystick[0]->ButtonPress(JOYSTICK_PAUSE) ||
           system->joystick[1]->ButtonPress(JOYSTICK_PAUSE);
}

Screen::Event PauseScreen::Update() {
    if (PausePressed()) return RESUME;
    return MenuScreen::Update();
}
