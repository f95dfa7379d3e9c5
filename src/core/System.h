#pragma once

#include "core/Timer.h"

class Clock;
class Controller;
class Display;
class DisplayOpts;
class Joystick;
class Keyboard;
class Mouse;
class WordReader;

// Everything that exists once per process, reached from anywhere through
// System::instance(): the display, the game clock, the input devices, the
// two players' controllers and the profiling timer. It is created on first
// use and never destroyed.
class System {
public:
    static System* instance();   // the singleton, created on first call
    static System* instance_;

    // Creates the clock and the devices, then the controllers that
    // controllers.txt names; a missing or malformed file ends the program
    // with status 1.
    System();
    // For reading data without playing (korvanthe --check, the fuzz targets):
    // the singleton with its clock and devices and a display that opens no
    // window, but no controllers. Comes before any other use of instance().
    static System* Offline();

    // "controller0 <device> controller1 <device>": makes each player's
    // controller, or sets `computer` for a "cpu" player. A word the game does
    // not know, or a joystick that is not connected, ends the program with
    // status 1.
    static void ReadControllers(WordReader& reader, Joystick* const sticks[2], Controller* made[2],
                                bool computer[2]);

    void displayOptions(DisplayOpts* opts);  // create the display and open the window
    // Polls mouse, keyboard, controllers 0 and 1, joysticks 0 and 1, in that
    // order, once a frame: a joystick controller sees the previous frame's stick.
    void Update();

    Display* display = nullptr;  // null until displayOptions
    Clock* clock = nullptr;
    Mouse* mouse = nullptr;
    Keyboard* keyboard = nullptr;
    Joystick* joystick[2] = {};      // always both, present or not
    Controller* controller[2] = {};  // fighter 0's and fighter 1's; null until the game
                                     // makes the computer's for a "cpu" player
    bool computer[2] = {};           // controllers.txt gave "cpu": the computer plays them
    Timer timer;

private:
    explicit System(bool withControllers);
};
