#pragma once

// One player's own keys or joystick, read as a menu reads them: a step
// left or right, a choice, a step back. A keyboard player uses the keys of
// the player's options (left and right, punch to choose, kick to go back);
// a joystick player the stick and buttons 0 and 1.
class PlayerInput {
public:
    explicit PlayerInput(int player);

    void Update();  // once a frame
    int step = 0;          // -1 left, 1 right, 0 neither, this frame
    bool choose = false;   // this frame
    bool back = false;     // this frame

    int player;
    bool joystick = false;  // the player's controller is a joystick

private:
    int stickWas = 0;  // where the stick was pushed last frame: -1, 0 or 1
};
