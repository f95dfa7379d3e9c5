#include "core/Settings.h"

#include <ostream>

#include "core/DataProblems.h"
#include "core/Trace.h"
#include "core/WordReader.h"

namespace {
const size_t MAX_WORD = 111;
}  // namespace

void Settings::Load(const std::string& path) {
    WordReader reader(path);
    if (!reader.isOpen()) {
        debug << "no settings file" << std::endl;
        DataProblems::Abandon(path + ": cannot be opened", UNUSABLE);
    }
    Read(reader);
}

void Settings::Read(WordReader& reader) {
    std::string label;
    std::string* const values[] = {&scene, &fighters[0], &fighters[1]};
    for (std::string* value : values) {
        if (!reader.Word(label, MAX_WORD) || !reader.Word(*value, MAX_WORD)) {
            debug << "no settings file" << std::endl;
            DataProblems::Abandon(reader.name() + ':' + std::to_string(reader.line()) +
                                      ": expected a scene and two fighters, each after its label",
                                  UNUSABLE);
        }
    }
}
