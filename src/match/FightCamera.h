#pragma once

#include "math/Camera.h"
#include "math/Vector3.h"

class Person;

// The camera that views the fight. Automatic, it stays beside the fighters
// and backs away and rises as they part; the three orbit cameras (F12)
// turn around fighter 0, fighter 1 or the middle under the mouse, and start
// where the whole fighter, or both, are in view; the victory camera rises
// and backs away from the winner. No camera ever stands inside a fighter.
class FightCamera {
public:
    enum Mode { AUTOMATIC, ORBIT_0, ORBIT_1, ORBIT_MIDDLE, VICTORY };

    // The automatic camera's distance r from the fighters and its height h,
    // for fighters d apart, t ms into the victory (0 outside it).
    static void AutoCamera(float d, float t, float& r, float& h);

    FightCamera();

    void NextMode();  // F12: automatic, orbit 0, orbit 1, orbit the middle, automatic ...
    void Victory(int now);  // the winner's slow rise, from game time `now`
    void Automatic();       // back to the automatic camera
    // Mouse drag: dx, dy turn the orbit with the left button, dy moves it
    // nearer or farther with the right.
    void Drag(int dx, int dy, bool turn, bool zoom);
    // Places the camera for this frame around the fighters.
    void Update(const Person& p0, const Person& p1, int now);

    Camera camera;
    Mode mode = AUTOMATIC;
    float orbitElevation = 0;    // degrees, within -90 .. 90
    float orbitAzimuth = 90;     // degrees
    float orbitDistance = 100;   // at least 1
    int victoryStart = -1;       // game time the victory began

private:
    void Frame(const Person& p0, const Person& p1);  // an orbit's start: its fighters in full view
    bool framed = false;  // the current orbit has been framed
};
