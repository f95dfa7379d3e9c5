#pragma once

#include "core/Timer.h"

class Clock;
class Display;
class DisplayOpts;
class Keyboard;

// Everything that exists once per process, reached from anywhere through
// System::instance(): the display, the game clock, the input devices and the
// profiling timer. It is created on first use and never destroyed.
class System {
public:
    static System* instance();   // the singleton, created on first call
    static System* instance_;

    System();

    void displayOptions(DisplayOpts* opts);  // create the display and open the window
    void Update();                           // poll the input devices, once a frame

    Display* display = nullptr;  // null until displayOptions
    Clock* clock = nullptr;
    Keyboard* keyboard = nullptr;
    Timer timer;
};
