#pragma once

#include "input/Controller.h"

// A player on the keyboard. Both players can share it: player 0 has
// d a w s for right, left, up, down and g h t y j u for actions 0 to 5;
// player 1 the arrows and Delete, End, Insert, Home, Page Down, Page Up.
class KbdController : public Controller {
public:
    explicit KbdController(int player);  // takes the player's key layout

protected:
    int Sample() const override;

public:
    int right, left, up, down;  // SDL key codes of the directions
    int action[6];              // SDL key codes of actions 0 to 5
};
