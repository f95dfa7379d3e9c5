#include "check/DataCheck.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "anim/Anim.h"
#include "anim/MoveTree.h"
#include "anim/Sequencer.h"
#include "character/Person.h"
#include "core/DataProblems.h"
#include "core/DisplayOpts.h"
#include "core/Settings.h"
#include "core/System.h"
#include "core/WordReader.h"
#include "frontend/Sound.h"
#include "input/Controller.h"
#include "input/Joystick.h"
#include "render/Material.h"
#include "render/Mesh3DS.h"
#include "render/Texture.h"
#include "scene/Scene.h"

namespace fs = std::filesystem;

namespace {

// Runs one loading step. A file the game could not use ends only that step:
// its problem has been collected, and the check goes on.
void Step(const std::function<void()>& load) {
    try {
        load();
    } catch (const DataProblems::Abandoned&) {
    }
}

// The names of the entries of dir that pass `keep`, in order.
std::vector<std::string> Entries(const fs::path& dir, bool (*keep)(const fs::directory_entry&)) {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) {
        if (keep(entry)) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool IsFolder(const fs::directory_entry& entry) { return entry.is_directory(); }
bool IsFile(const fs::directory_entry& entry) { return entry.is_regular_file(); }

bool EndsWith(const std::string& name, const std::string& extension) {
    return name.size() > extension.size() &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

// Enters a folder for the life of the object: the readers take their paths
// from the data folder, as the game does.
class Entered {
public:
    explicit Entered(const fs::path& dir) : previous(fs::current_path()) { fs::current_path(dir); }
    ~Entered() { fs::current_path(previous); }
    Entered(const Entered&) = delete;
    Entered& operator=(const Entered&) = delete;

private:
    fs::path previous;
};

}  // namespace

int DataCheck::Run(const std::string& folder, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> found = Problems(folder);
    for (const std::string& problem : found) out << problem << '\n';
    out.flush();
    const std::string where = folder.empty() ? "the working directory" : folder;
    if (found.empty()) {
        err << "korvanthe --check: no problems in " << where << std::endl;
        return 0;
    }
    err << "korvanthe --check: " << found.size() << (found.size() == 1 ? " problem" : " problems")
        << " in " << where << std::endl;
    return 1;
}

std::vector<std::string> DataCheck::Problems(const std::string& folder) {
    const fs::path dir = fs::absolute(folder.empty() ? fs::path(".") : fs::path(folder));
    DataProblems problems;
    if (!fs::is_directory(dir)) {
        DataProblems::Note(folder + ": expected a folder, found none");
        return problems.problems();
    }
    System::Offline();
    DataCheck check;
    // A fighter or an arena is read from the data folder two levels up, by name.
    const fs::path canonical = fs::canonical(dir);
    const std::string parent = canonical.parent_path().filename().string();
    const std::string name = canonical.filename().string();
    if (parent == "characters" || fs::exists(canonical / "low.bdf")) {
        Entered entered(canonical.parent_path().parent_path());
        check.Fighter(name, {name});
    } else if (parent == "scenes" || fs::exists(canonical / "scene.sdf") ||
               fs::exists(canonical / "lights.txt")) {
        Entered entered(canonical.parent_path().parent_path());
        check.Arena(name);
    } else {
        Entered entered(canonical);
        check.Everything();
    }
    return problems.problems();
}

void DataCheck::Everything() {
    Step([] {
        DisplayOpts options;
        if (!options.LoadConfig()) DataProblems::Note(options.problem);
    });
    Step([] {
        WordReader reader("controllers.txt");
        if (!reader.isOpen()) {
            DataProblems::Note("controllers.txt: cannot be opened");
            return;
        }
        // Whether a joystick is plugged in is not the files' concern.
        Joystick first(0), second(1);
        first.present = second.present = true;
        Joystick* const sticks[2] = {&first, &second};
        Controller* made[2] = {};
        bool computer[2] = {};
        try {
            System::ReadControllers(reader, sticks, made, computer);
        } catch (const DataProblems::Abandoned&) {
        }
        for (Controller* controller : made) delete controller;
    });

    const std::vector<std::string> fighters = Entries("characters", IsFolder);
    const std::vector<std::string> arenas = Entries("scenes", IsFolder);
    Step([&] {
        Settings settings;
        settings.Load("settings.txt");
        if (std::find(arenas.begin(), arenas.end(), settings.scene) == arenas.end()) {
            DataProblems::Note("settings.txt: expected an arena under scenes/, found '" +
                               settings.scene + "'");
        }
        for (const std::string& fighter : settings.fighters) {
            if (std::find(fighters.begin(), fighters.end(), fighter) == fighters.end()) {
                DataProblems::Note("settings.txt: expected a fighter under characters/, found '" +
                                   fighter + "'");
            }
        }
    });

    Files("materials", ".mat", [](const std::string& path) { Material material(path); });
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        Mesh3DS mesh(std::string("letters/") + letter + ".asc", false);
    }
    Files("images", ".bmp", [](const std::string& path) {
        Texture texture;
        texture.Load(path.c_str());
    });
    Files("sounds", ".wav", [](const std::string& path) {
        Sound sound;
        sound.Load(path.c_str());
    });
    for (const std::string& fighter : fighters) Fighter(fighter, fighters);
    for (const std::string& arena : arenas) Arena(arena);
}

int DataCheck::Body(const std::string& name) {
    const auto known = bodies.find(name);
    if (known != bodies.end()) return known->second;
    int bones = -1;
    Step([&] {
        Person* const person = new Person(name, 1);
        bones = person->nbones;
        delete person;
    });
    if (bones > Sequencer::MAX_BONES) {
        DataProblems::Note("characters/" + name + "/low.bdf: expected at most " +
                           std::to_string(Sequencer::MAX_BONES) + " bones, found " +
                           std::to_string(bones));
    }
    bodies[name] = bones;
    return bones;
}

void DataCheck::Fighter(const std::string& name, const std::vector<std::string>& opponents) {
    const std::string dir = "characters/" + name;
    const int bones = Body(name);
    if (bones < 0) return;
    // The reactions a move tree names are played by the opponent, from the
    // opponent's folder: every fighter may meet every other.
    for (const std::string& opponent : opponents) {
        const int theirs = Body(opponent);
        if (theirs < 0) continue;
        Step([&] { MoveTree tree(dir, bones, "characters/" + opponent, theirs); });
    }
    // Files the body and the tree do not name are checked all the same: a
    // modder adds them to use them.
    Files(dir, ".kaf", [&](const std::string& path) {
        Anim move(dir, fs::path(path).filename().string(), bones);
    });
    Files(dir + "/materials", ".mat", [](const std::string& path) { Material material(path); });
    for (const std::string& sub : Entries(dir, IsFolder)) {
        Files(dir + "/" + sub, ".asc", [](const std::string& path) { Mesh3DS mesh(path, false); });
    }
}

void DataCheck::Arena(const std::string& name) {
    const std::string dir = "scenes/" + name;
    Step([&] { Scene scene(name); });
    Files(dir + "/materials", ".mat", [](const std::string& path) { Material material(path); });
    Files(dir, ".asc", [](const std::string& path) { Mesh3DS mesh(path, false); });
}

void DataCheck::Files(const std::string& dir, const std::string& extension,
                      const std::function<void(const std::string&)>& load) {
    for (const std::string& file : Entries(dir, IsFile)) {
        if (EndsWith(file, extension)) Step([&] { load(dir + "/" + file); });
    }
}
