#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "scene/Scene.h"

KORVANTHE_FUZZ_TARGET(lights) {
    static const bool ready = [] {
        FuzzScratch::StandInArena("lights", "s");
        FuzzScratch::Write("scenes/s/scene.sdf", "background.mat 400 -300 0\n");
        return true;
    }();
    (void)ready;
    FuzzScratch::Write("scenes/s/lights.txt", input);
    const Scene scene("s");
}
