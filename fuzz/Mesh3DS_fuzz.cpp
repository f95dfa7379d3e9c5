#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "render/Mesh3DS.h"

KORVANTHE_FUZZ_TARGET(mesh) {
    FuzzScratch::Write("m.asc", input);
    const Mesh3DS mesh("m.asc", input.size() % 2 == 1);
}
