#pragma once

#include "math/Vector3.h"

class Material;

// The mouse, polled once a frame. In relative mode (the default) only the
// movement matters; in absolute mode the menus show a cursor that SetOff
// keeps inside the limits.
class Mouse {
public:
    Mouse();  // relative mode at (0, 0)

    void Update();  // take SDL's buttons and position for this frame
    // Takes one frame's buttons: SDL's mask plus the buttons latched since
    // the last frame.
    void SetButtons(unsigned char down);
    // SDL button `button` (1 left, 2 middle, 3 right) went down since the
    // last frame: it counts as down in the next one, even if already up.
    void Latch(int button);
    void Draw();    // the colour-cycling cross cursor, in absolute mode only

    void SetPos(int nx, int ny);  // move to (nx, ny); dx, dy the change
    void SetOff(int ox, int oy);  // move by (ox, oy), inside the limits in absolute mode
    void SetLimits(int minX, int minY, int maxX, int maxY);
    void ModeAbs() { absolute = true; }
    void ModeRel() { absolute = false; }
    bool LButton() const { return (buttons & 1) != 0; }
    bool RButton() const { return (buttons & 4) != 0; }
    // The left or right button went down this frame: a click.
    bool Clicked() const { return (buttons & ~oldButtons & 5) != 0; }
    void Still() { dx = dy = 0; }
    // Steps the cursor colour one frame round the hue circle and returns it.
    Vector3 NextColour();

    unsigned char buttons = 0;  // SDL's button mask this frame
    unsigned char oldButtons = 0;  // the previous frame's
    unsigned char latched = 0;     // went down since the last frame
    int x = 0, y = 0;           // window pixels, y down
    int dx = 0, dy = 0;         // change in the last update
    int minX = 0, minY = 0, maxX = 0, maxY = 0;  // absolute mode's rectangle
    bool absolute = false;
    float val = 0;    // position inside the current sixth of the hue circle, 0 to 1
    int huemode = 0;  // which sixth: 0 yellow to red, 1 red to magenta, ...
};

// The cursor's material, made on the first Draw and kept for the run.
extern Material* mat;
