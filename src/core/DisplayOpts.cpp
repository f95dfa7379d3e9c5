#include "core/DisplayOpts.h"

#include "core/Trace.h"
#include "core/UserDirs.h"
#include "core/WordReader.h"

DisplayOpts* dispopt = nullptr;

namespace {

// Large enough for any real screen, small enough that the window system
// never sees a size it would refuse with an X error.
const int MAX_WINDOW_SIZE = 16384;
const int MAX_COLOUR_DEPTH = 32;
const size_t MAX_DRIVER_LENGTH = 99;

// The keyword of each line and the trace message when it is missing. The
// filter and windowed messages both say line 7; modders' tools may match on them.
struct Line {
    const char* keyword;
    const char* missing;
};
const Line LINES[] = {
    {"driver", "Expected 'driver' line 1 in device.cfg"},
    {"acceleration", "Expected 'acceleration' line 2 in device.cfg"},
    {"size", "Expected 'size' line 3 in device.cfg"},
    {"dblbuff", "Expected 'dblbuff' line 4 in device.cfg"},
    {"zbuff", "Expected 'zbuff' line 5 in device.cfg"},
    {"dither", "Expected 'dither' line 6 in device.cfg"},
    {"filter", "Expected 'filter' line 7 in device.cfg"},
    {"windowed", "Expected 'windowed' line 7 in device.cfg"},
};

}  // namespace

bool DisplayOpts::LoadConfig() {
    WordReader reader(UserDirs::Own("device.cfg"));
    if (!reader.isOpen()) {
        problem = "device.cfg: cannot be opened";
        return false;
    }
    return Read(reader);
}

bool DisplayOpts::Read(WordReader& reader) {
    int windowed = 0;
    int* const values[] = {nullptr, &acceleration, &width, &dblbuff, &zbuff,
                           &dither, &filter, &windowed};
    for (int i = 0; i < 8; ++i) {
        if (!reader.Expect(LINES[i].keyword)) {
            debug << LINES[i].missing << std::endl;
            problem = reader.problem();
            return false;
        }
        if (i == 0) {
            reader.RestOfLine(driver, MAX_DRIVER_LENGTH);
        } else if (i == 2) {
            // A malformed number fails the reader; the next keyword then reports it.
            if (reader.Int(width) && reader.Int(height) && reader.Int(depth)) {
                if (width < 1 || width > MAX_WINDOW_SIZE || height < 1 ||
                    height > MAX_WINDOW_SIZE || depth < 0 || depth > MAX_COLOUR_DEPTH) {
                    debug << "Window size out of range line 3 in device.cfg" << std::endl;
                    reader.Fail("expected a window of 1 to " + std::to_string(MAX_WINDOW_SIZE) +
                                " pixels a side and a colour depth of 0 to " +
                                std::to_string(MAX_COLOUR_DEPTH) + " bits, found " +
                                std::to_string(width) + " " + std::to_string(height) + " " +
                                std::to_string(depth));
                    problem = reader.problem();
                    return false;
                }
            }
        } else {
            reader.Int(*values[i]);
        }
    }
    if (reader.failed()) {
        // The last number was malformed: nothing follows it to stumble on.
        problem = reader.problem();
        return false;
    }
    fullscreen = windowed == 0;
    problem.clear();
    return true;
}
