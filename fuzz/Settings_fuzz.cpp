#include <sstream>

#include "FuzzTarget.h"
#include "core/Settings.h"
#include "core/WordReader.h"

KORVANTHE_FUZZ_TARGET(settings) {
    std::istringstream in(input);
    WordReader reader(in, "settings.txt");
    Settings settings;
    settings.Read(reader);
}
