#include <sstream>

#include "FuzzTarget.h"
#include "core/DisplayOpts.h"
#include "core/WordReader.h"

KORVANTHE_FUZZ_TARGET(devicecfg) {
    std::istringstream in(input);
    WordReader reader(in, "device.cfg");
    DisplayOpts options;
    options.Read(reader);
}
