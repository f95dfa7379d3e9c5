#pragma once

#include "core/Preferences.h"
#include "input/Controller.h"

// A player on the keyboard. Both players can share it, each with the keys
// the player's options give: by default player 0 has d a w s for right,
// left, up, down and g h t y j u for actions 0 to 5; player 1 the arrows
// and Delete, End, Insert, Home, Page Down, Page Up.
class KbdController : public Controller {
public:
    explicit KbdController(int player);  // takes the player's keys from the options
    // New keys: right, left, up, down, then actions 0 to 5.
    void Bind(const int (&keys)[Preferences::ACTIONS]);

protected:
    int Sample() const override;

public:
    int right, left, up, down;  // SDL key codes of the directions
    int action[6];              // SDL key codes of actions 0 to 5
};
