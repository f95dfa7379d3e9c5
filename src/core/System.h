#pragma once

#include "core/Timer.h"

class Clock;
class Controller;
class Display;
class DisplayOpts;
class Joystick;
class Keyboard;
class Mouse;

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
};
