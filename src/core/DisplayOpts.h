#pragma once

#include <string>

class WordReader;

// The display configuration of device.cfg: eight keyword lines in a fixed order.
class DisplayOpts {
public:
    bool LoadConfig();             // the player's device.cfg, else the data folder's; false when missing or malformed
    bool Read(WordReader& reader); // the eight lines from any reader

    std::string driver;        // rest of line 1, at most 99 characters; not consulted
    int acceleration = 0;      // not consulted
    int width = 0;             // window size in pixels
    int height = 0;
    int depth = 0;             // colour depth handed to SDL
    int dblbuff = 0;           // not consulted
    int zbuff = 0;             // not consulted
    int dither = 0;            // not consulted
    int filter = 0;            // non-zero: bilinear texture filtering
    bool fullscreen = false;   // the windowed value was 0

    // What went wrong, as "device.cfg:3: expected 'size', found 'sise'";
    // empty after a successful load.
    std::string problem;
};

extern DisplayOpts* dispopt;  // the options read at start-up
