#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "anim/MoveTree.h"

KORVANTHE_FUZZ_TARGET(movetree) {
    static const bool ready = (FuzzScratch::StandInFighter("movetree", "f"), true);
    (void)ready;
    FuzzScratch::Write("characters/f/movetree.txt", input);
    const MoveTree tree("characters/f", 4, "characters/f", 4);
}
