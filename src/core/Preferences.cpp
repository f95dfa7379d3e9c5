#include "core/Preferences.h"

#include <SDL_keysym.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "core/Trace.h"
#include "core/UserDirs.h"
#include "core/WordReader.h"
#include "input/KeyName.h"

Preferences preferences;

const char* const Preferences::ACTION_NAMES[ACTIONS] = {
    "right", "left", "up", "down", "punch", "kick", "guard", "throw", "sidestep_o", "sidestep_i"};

const Preferences::Size Preferences::SIZES[WINDOW_SIZES] = {
    {640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1280, 1024}, {1920, 1080}};

namespace {

// Both players share the keyboard: the letters around the left hand, and
// the arrows with the block above them.
const int DEFAULT_KEYS[2][Preferences::ACTIONS] = {
    {SDLK_d, SDLK_a, SDLK_w, SDLK_s, SDLK_g, SDLK_h, SDLK_t, SDLK_y, SDLK_j, SDLK_u},
    {SDLK_RIGHT, SDLK_LEFT, SDLK_UP, SDLK_DOWN, SDLK_DELETE, SDLK_END, SDLK_INSERT, SDLK_HOME,
     SDLK_PAGEDOWN, SDLK_PAGEUP},
};

// The whole-number options: the word that names each, and its range or,
// where only some values make sense, the values.
struct IntOption {
    const char* name;
    int Preferences::*field;
    int min, max;
    const int* values = nullptr;  // null: any whole number in range
    int valueCount = 0;
};
const int ROUNDS[] = {1, 3, 5};
const int TIMERS[] = {0, 30, 60, 99};
const IntOption INT_OPTIONS[] = {
    {"skill", &Preferences::skill, 0, 6},
    {"volume", &Preferences::volume, 0, 100},
    {"rounds", &Preferences::rounds, 1, 5, ROUNDS, 3},
    {"timer", &Preferences::timer, 0, 99, TIMERS, 4},
    {"stencil_shadows", &Preferences::stencilShadows, 0, 1},
    {"fullscreen", &Preferences::fullscreen, 0, 2},
    {"window", &Preferences::window, 0, Preferences::WINDOW_SIZES},
};

const IntOption* Find(const std::string& name) {
    for (const IntOption& option : INT_OPTIONS) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

// The allowed value nearest to `value`, the lower one between two.
int Nearest(const IntOption& option, int value) {
    if (option.values == nullptr) return value < option.min ? option.min : value > option.max ? option.max : value;
    int best = option.values[0];
    for (int i = 1; i < option.valueCount; ++i) {
        if (std::abs(option.values[i] - value) < std::abs(best - value)) best = option.values[i];
    }
    return best;
}

std::string KeyOption(int player, int action) {
    return "p" + std::to_string(player + 1) + "_" + Preferences::ACTION_NAMES[action];
}

// "p2_punch" as player 1 and action PUNCH; false for any other word.
bool FindKeyOption(const std::string& name, int& player, int& action) {
    for (player = 0; player < 2; ++player) {
        for (action = 0; action < Preferences::ACTIONS; ++action) {
            if (name == KeyOption(player, action)) return true;
        }
    }
    return false;
}

const char* Shown(int key) {
    const char* name = KeyName::Of(key);
    return name != nullptr ? name : "?";
}

}  // namespace

Preferences::Preferences() {
    for (int player = 0; player < 2; ++player) {
        for (int action = 0; action < ACTIONS; ++action) keys[player][action] = DEFAULT_KEYS[player][action];
    }
}

std::string Preferences::Path() {
    const std::string dir = UserDirs::Config();
    return dir.empty() ? "" : dir + "/options.txt";
}

bool Preferences::Load(const std::string& path) {
    WordReader reader(path);
    if (!reader.isOpen()) {
        debug << path << ": cannot be read; the options are the defaults" << std::endl;
        return false;
    }
    Preferences read;
    int version = 0;
    if (!reader.Expect("version") || !reader.Int(version)) {
        // The reader has recorded what it found.
    } else if (version != VERSION) {
        reader.Fail("expected version " + std::to_string(VERSION) + ", found " +
                    std::to_string(version));
    }
    std::string name, value;
    int player = 0, action = 0;
    while (!reader.failed() && reader.Word(name, 40)) {
        const IntOption* option = Find(name);
        int number = 0;
        if (FindKeyOption(name, player, action)) {
            reader.Word(value, 40);
            const int key = KeyName::Find(value);
            if (key < 0) {
                reader.Fail("expected a key name after " + name + ", found '" + value + "'");
            } else if (Reserved(key)) {
                reader.Fail(name + " is '" + value + "', which the game keeps for itself");
            } else {
                read.keys[player][action] = key;
            }
        } else if (option == nullptr) {
            reader.Fail("expected an option name, found '" + name + "'");
        } else if (reader.Int(number)) {
            const int kept = Nearest(*option, number);
            if (kept != number) {
                debug << reader.name() << ':' << reader.line() << ": " << name << ' ' << number
                      << " is not one of its values; " << kept << " is used" << std::endl;
            }
            read.*(option->field) = kept;
        }
    }
    std::string problem = reader.problem();
    if (problem.empty() && !read.Duplicate().empty()) problem = path + ": " + read.Duplicate();
    if (!problem.empty()) {
        debug << problem << "; the options are the defaults" << std::endl;
        *this = Preferences();
        return false;
    }
    *this = read;
    return true;
}

bool Preferences::Save(const std::string& path) const {
    // Written beside the old file and moved over it, so that a failed write
    // never leaves half a file behind.
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "version " << VERSION << '\n';
        for (const IntOption& option : INT_OPTIONS) out << option.name << ' ' << this->*(option.field) << '\n';
        for (int player = 0; player < 2; ++player) {
            for (int action = 0; action < ACTIONS; ++action)
                out << KeyOption(player, action) << ' ' << Shown(keys[player][action]) << '\n';
        }
        if (!out.flush()) {
            debug << temporary << ": cannot be written" << std::endl;
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        debug << path << ": cannot be replaced" << std::endl;
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

bool Preferences::SaveInConfig() const {
    return UserDirs::Make(UserDirs::Config()) && Save(Path());
}

void Preferences::ApplyDisplay(int& width, int& height, bool& full) const {
    if (window > 0) {
        width = SIZES[window - 1].width;
        height = SIZES[window - 1].height;
    }
    if (fullscreen > 0) full = fullscreen == 2;
}

bool Preferences::Reserved(int key) {
    return key == SDLK_ESCAPE || key == SDLK_p || key == SDLK_m || (key >= SDLK_F1 && key <= SDLK_F15);
}

std::string Preferences::Refusal(int player, int action, int key) const {
    if (KeyName::Of(key) == nullptr) return "that key cannot be used";
    if (key == SDLK_ESCAPE) return "escape quits the game";
    if (key == SDLK_p) return "p pauses the game";
    if (key == SDLK_m) return "m turns the sound off and on";
    if (Reserved(key)) return std::string(Shown(key)) + " is a game key";
    for (int p = 0; p < 2; ++p) {
        for (int a = 0; a < ACTIONS; ++a) {
            if ((p != player || a != action) && keys[p][a] == key)
                return std::string(Shown(key)) + " is player " + std::to_string(p + 1) + " " + ACTION_NAMES[a];
        }
    }
    return "";
}

std::string Preferences::Duplicate() const {
    for (int player = 0; player < 2; ++player) {
        for (int action = 0; action < ACTIONS; ++action) {
            for (int p = player; p < 2; ++p) {
                for (int a = p == player ? action + 1 : 0; a < ACTIONS; ++a) {
                    if (keys[p][a] == keys[player][action])
                        return KeyOption(player, action) + " and " + KeyOption(p, a) + " are both '" +
                               Shown(keys[p][a]) + "'";
                }
            }
        }
    }
    return "";
}
