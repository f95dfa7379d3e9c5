#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "scene/Scene.h"

KORVANTHE_FUZZ_TARGET(scenesdf) {
    static const bool ready = [] {
        FuzzScratch::StandInArena("scenesdf", "s");
        FuzzScratch::Write("scenes/s/lights.txt", "AMBIENT 0.2 0.2 0.2 0\n");
        return true;
    }();
    (void)ready;
    FuzzScratch::Write("scenes/s/scene.sdf", input);
    const Scene scene("s");
}
