#include "core/Preferences.h"

#include <cstdio>
#include <fstream>

#include "core/Trace.h"
#include "core/UserDirs.h"
#include "core/WordReader.h"

Preferences preferences;

namespace {

// The whole-number options: the word that names each, and its range.
struct IntOption {
    const char* name;
    int Preferences::*field;
    int min, max;
};
const IntOption INT_OPTIONS[] = {
    {"skill", &Preferences::skill, 0, 6},
    {"volume", &Preferences::volume, 0, 100},
};

const IntOption* Find(const std::string& name) {
    for (const IntOption& option : INT_OPTIONS) {
        if (name == option.name) return &option;
    }
    return nullptr;
}

}  // namespace

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
    std::string name;
    while (!reader.failed() && reader.Word(name, 40)) {
        const IntOption* option = Find(name);
        int value = 0;
        if (option == nullptr) {
            reader.Fail("expected an option name, found '" + name + "'");
        } else if (reader.Int(value)) {
            if (value < option->min || value > option->max) {
                const int kept = value < option->min ? option->min : option->max;
                debug << reader.name() << ':' << reader.line() << ": " << name << ' ' << value
                      << " is outside " << option->min << ".." << option->max << "; " << kept
                      << " is used" << std::endl;
                value = kept;
            }
            read.*(option->field) = value;
        }
    }
    if (reader.failed()) {
        debug << reader.problem() << "; the options are the defaults" << std::endl;
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
