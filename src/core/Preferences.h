#pragma once

#include <string>

// The player's own options, kept between runs in "options.txt" in the
// player's config directory: one "name value" line each after a version
// line. A missing, unreadable or malformed file leaves the defaults (with a
// trace line saying why) and is written whole at the next save.
class Preferences {
public:
    static constexpr int VERSION = 1;

    static std::string Path();  // options.txt in the player's config directory

    // True when the file was read; otherwise every option keeps its default.
    // A number outside its option's range is brought into it, with a trace line.
    bool Load(const std::string& path);
    bool Save(const std::string& path) const;  // false, with a trace line, when it cannot

    int skill = 3;    // the computer opponent's level, 0 (weakest) .. 6
    int volume = 80;  // sound, 0 (silent) .. 100
};

extern Preferences preferences;  // read at start-up
