#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "scene/Scene.h"

// An arena of one sun, whose flare is the file being fuzzed.
KORVANTHE_FUZZ_TARGET(lensflare) {
    static const bool ready = [] {
        FuzzScratch::StandInArena("lensflare", "s");
        FuzzScratch::Write("scenes/s/lights.txt", "AMBIENT 0.2 0.2 0.2 0\n");
        FuzzScratch::Write("scenes/s/sun.asc", FuzzScratch::Triangle());
        FuzzScratch::Write("scenes/s/scene.sdf",
                           "background.mat 400 -300 1 SUN N sun.asc 0 background.mat 0 900 0\n");
        return true;
    }();
    (void)ready;
    FuzzScratch::Write("scenes/s/lensflare.txt", input);
    const Scene scene("s");
}
