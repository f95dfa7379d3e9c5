#include "input/KbdController.h"

#include <SDL.h>

#include "core/System.h"
#include "input/Keyboard.h"

namespace {
struct Layout {
    int right, left, up, down;
    int action[6];
};
const Layout LAYOUTS[2] = {
    {SDLK_d, SDLK_a, SDLK_w, SDLK_s, {SDLK_g, SDLK_h, SDLK_t, SDLK_y, SDLK_j, SDLK_u}},
    {SDLK_RIGHT, SDLK_LEFT, SDLK_UP, SDLK_DOWN,
     {SDLK_DELETE, SDLK_END, SDLK_INSERT, SDLK_HOME, SDLK_PAGEDOWN, SDLK_PAGEUP}},
};
}  // namespace

KbdController::KbdController(int player) : Controller(player) {
    const Layout& keys = LAYOUTS[player];
    right = keys.right;
    left = keys.left;
    up = keys.up;
    down = keys.down;
    for (int i = 0; i < 6; ++i) action[i] = keys.action[i];
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
