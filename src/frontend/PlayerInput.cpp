#include "frontend/PlayerInput.h"

#include "core/Preferences.h"
#include "core/System.h"
#include "input/JoyController.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"

namespace {
const float STICK_THRESHOLD = 0.5f;
}  // namespace

PlayerInput::PlayerInput(int player_)
    : player(player_), joystick(dynamic_cast<JoyController*>(System::instance()->controller[player_]) != nullptr) {}

void PlayerInput::Update() {
    const System* system = System::instance();
    if (joystick) {
        const Joystick* stick = system->joystick[player];
        const int pushed = stick->x < -STICK_THRESHOLD ? -1 : stick->x > STICK_THRESHOLD ? 1 : 0;
        step = pushed != stickWas ? pushed : 0;  // once per push
        stickWas = pushed;
        choose = stick->ButtonPress(0);
        back = stick->ButtonPress(1);
        return;
    }
    const Keyboard* keyboard = system->keyboard;
    const int* keys = preferences.keys[player];
    step = keyboard->Pressed(keys[Preferences::LEFT]) ? -1 : keyboard->Pressed(keys[Preferences::RIGHT]) ? 1 : 0;
    choose = keyboard->Pressed(keys[Preferences::PUNCH]);
    back = keyboard->Pressed(keys[Preferences::KICK]);
}
