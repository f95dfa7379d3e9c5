#pragma once

#include <string>

// Start-up and the frame loop. main() initialises SDL and hands over to Run.

// Reads device.cfg, creates the System singleton, opens the window and builds
// the game. Ends the process with the start-up messages and statuses when
// that fails.
// With a replay file, the game opens on that replay.
void init(const std::string& replay = "");
// One frame: poll the devices, act on the window keys, then let the game
// advance and draw.
void idle();
// The keys that act on the window whatever the game shows: F8 saves the
// frame being drawn, Alt+Enter switches between full screen and a window.
void WindowKeys();
// Drains the SDL event queue: a quit request or Escape returns true, a
// resize resizes the display, and keys and joystick buttons that went down
// are latched for the next poll. Every event is taken, whatever came first.
bool DrainEvents();
// The frame loop until the window is closed or Escape is held; returns 0.
// The match being played when it ends is kept as a replay.
int Run(const std::string& replay = "");
