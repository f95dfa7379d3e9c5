#include "input/JoyController.h"

#include "core/System.h"
#include "input/Joystick.h"

namespace {
const int ACTION_BUTTONS[6] = {0, 1, 3, 4, 2, 5};
// Strictly past half way: a stick resting at exactly 0.5 gives no direction.
const float DEAD_ZONE = 0.5f;
}  // namespace

JoyController::JoyController(int player) : Controller(player) {
    for (int i = 0; i < 6; ++i) action[i] = ACTION_BUTTONS[i];
}

int JoyController::Sample() const {
    const Joystick* stick = System::instance()->joystick[player];
    int bits = 0;
    if (stick->x < -DEAD_ZONE) bits |= Mirrored(CMD_F);
    if (stick->x > DEAD_ZONE) bits |= Mirrored(CMD_A);
    if (stick->ButtonPress(action[4])) bits |= Mirrored(CMD_O);
    if (stick->ButtonPress(action[5])) bits |= Mirrored(CMD_I);
    if (stick->y < -DEAD_ZONE) bits |= CMD_U;
    if (stick->y > DEAD_ZONE) bits |= CMD_D;
    if (stick->ButtonPress(action[0])) bits |= CMD_P;
    if (stick->ButtonPress(action[1])) bits |= CMD_K;
    if (stick->ButtonDown(action[2])) bits |= CMD_G;
    if (stick->ButtonPress(action[3])) bits |= CMD_T;
    return bits;
}
