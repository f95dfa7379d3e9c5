#include <filesystem>
#include <sstream>

#include "FuzzTarget.h"
#include "replay/Replay.h"
#include "replay/ReplayReader.h"

// The fighters and the arena the seeds name are installed (empty folders are
// enough for the reader), so that the fuzzer reaches the frames and checks.
KORVANTHE_FUZZ_TARGET(replay) {
    for (const char* folder : {"characters/bront", "characters/lyse", "scenes/lakeshrine"}) {
        std::filesystem::create_directories(folder);
    }
    std::istringstream in(input);
    ReplayReader reader(in, "replay.txt");
    Replay replay;
    reader.Read(replay);
}
