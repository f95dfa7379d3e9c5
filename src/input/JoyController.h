#pragma once

#include "input/Controller.h"

// A player on a joystick: the System's joystick with the player's number.
// The stick gives the directions once pushed past half way; buttons 0, 1, 3,
// 4, 2, 5 give actions 0 to 5.
class JoyController : public Controller {
public:
    explicit JoyController(int player);

protected:
    int Sample() const override;

public:
    int action[6];  // joystick button of each action
};
