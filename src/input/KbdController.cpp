#include "input/KbdController.h"

#include "core/System.h"
#include "input/Keyboard.h"

KbdController::KbdController(int player) : Controller(player) { Bind(preferences.keys[player]); }

void KbdController::Bind(const int (&keys)[Preferences::ACTIONS]) {
    right = keys[Preferences::RIGHT];
    left = keys[Preferences::LEFT];
    up = keys[Preferences::UP];
    down = keys[Preferences::DOWN];
    for (int i = 0; i < 6; ++i) action[i] = keys[Preferences::PUNCH + i];
}

int KbdController::Sample() const {
    const Keyboard* keyboard = System::instance()->keyboard;
    int bits = 0;
    if (keyboard->Down(right)) bits |= Mirrored(CMD_A);
    if (keyboard->Down(left)) bits |= Mirrored(CMD_F);
    if (keyboard->Pressed(action[4])) bits |= Mirrored(CMD_O);
    if (keyboard->Pressed(action[5])) bits |= Mirrored(CMD_I);
    if (keyboard->Down(up)) bits |= CMD_U;
    if (keyboard->Down(down)) bits |= CMD_D;
    if (keyboard->Pressed(action[0])) bits |= CMD_P;
    if (keyboard->Pressed(action[1])) bits |= CMD_K;
    if (keyboard->Down(action[2])) bits |= CMD_G;
    if (keyboard->Pressed(action[3])) bits |= CMD_T;
    return bits;
}
