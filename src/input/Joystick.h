#pragma once

#include <SDL_joystick.h>

// One joystick, polled once a frame: two axes and ten buttons, with the
// previous frame's buttons kept so that a press counts only in its first
// frame. A joystick missing at start stays absent and reads as centred with
// no button down.
class Joystick {
public:
    static const int BUTTON_COUNT = 10;  // buttons 10 and above are not read

    explicit Joystick(int id);  // opens SDL joystick `id` if there is one
    ~Joystick();
    Joystick(const Joystick&) = delete;
    Joystick& operator=(const Joystick&) = delete;

    void Update();  // sample the device; nothing when it is absent
    // Takes one frame's sample: axes as SDL gives them (-32768 to 32767) and
    // a bit set of the buttons down.
    void SetState(int axisX, int axisY, int down);
    // Button i went down since the last poll: it counts as down in the next
    // one, even if it is already up again by then.
    void Latch(int i);

    bool ButtonDown(int i) const;   // button i is held
    bool ButtonPress(int i) const;  // button i went down this frame

    SDL_Joystick* handle = nullptr;   // null when no device was opened
    int buttons = 0;                  // bit i: button i down this frame
    int oldButtons = 0;               // the previous frame's buttons
    int latched = 0;                  // went down since the last poll
    float x = 0;                      // axis 0, -1 to just under 1
    float y = 0;                      // axis 1, likewise; positive is down
    int id;                           // SDL's joystick index
    bool present = false;             // a device was opened

private:
    static bool Valid(int i) { return i >= 0 && i < BUTTON_COUNT; }
};
