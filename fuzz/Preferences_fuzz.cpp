#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "core/Preferences.h"

KORVANTHE_FUZZ_TARGET(options) {
    FuzzScratch::Write("options.txt", input);
    Preferences options;
    options.Load("options.txt");
}
