#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "anim/Anim.h"

KORVANTHE_FUZZ_TARGET(kaf) {
    FuzzScratch::Write("k/a.kaf", input);
    const Anim move("k", "a.kaf", 4);
}
