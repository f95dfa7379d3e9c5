#include "frontend/Roster.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "character/Person.h"
#include "core/Trace.h"
#include "scene/Scene.h"

namespace {

// The entry named `name`, or null; const or not as the list is.
template <class Entries>
auto Find(Entries& entries, const std::string& name) -> decltype(&entries[0]) {
    for (auto& e : entries) {
        if (e.name == name) return &e;
    }
    return nullptr;
}

// A folder that has loaded is ready, listed or not yet.
Roster::Entry& Ready(std::vector<Roster::Entry>& entries, const std::string& name) {
    Roster::Entry* e = Find(entries, name);
    if (e == nullptr) {
        entries.emplace_back(name);
        e = &entries.back();
    }
    e->state = Roster::Entry::READY;
    e->check.reset();
    return *e;
}

}  // namespace

void Roster::Scan(std::vector<Entry>& entries, const char* folder, const char* file, const char* kind) {
    std::error_code error;
    std::vector<std::string> names;
    for (const auto& dir : std::filesystem::directory_iterator(folder, error)) {
        if (std::filesystem::is_regular_file(dir.path() / file, error)) names.push_back(dir.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::vector<Entry> scanned;
    for (const std::string& name : names) {
        Entry* known = Find(entries, name);
        if (known != nullptr) {
            scanned.push_back(std::move(*known));
            continue;
        }
        Entry fresh(name);
        // A name with white space could not be told to the checker, nor
        // written in settings.txt.
        if (name.find_first_of(" \t\n") != std::string::npos) {
            fresh.state = Entry::BROKEN;
            fresh.problem = "its folder name has a space in it";
        } else {
            fresh.check = std::make_unique<FolderCheck>(std::string(kind) + " " + name);
        }
        scanned.push_back(std::move(fresh));
    }
    entries = std::move(scanned);
}

Roster::Roster() = default;
Roster::~Roster() = default;

void Roster::Scan() {
    Scan(fighters, "characters", "low.bdf", "fighter");
    Scan(arenas, "scenes", "scene.sdf", "arena");
}

void Roster::Poll() {
    for (std::vector<Entry>* list : {&fighters, &arenas}) {
        for (Entry& e : *list) {
            if (e.state != Entry::CHECKING || e.check == nullptr || !e.check->Done()) continue;
            e.state = e.check->ok ? Entry::READY : Entry::BROKEN;
            e.problem = e.check->problem;
            e.check.reset();
            if (e.state == Entry::BROKEN) debug << e.name << " cannot be chosen: " << e.problem << std::endl;
        }
    }
}

Person* Roster::Fighter(const std::string& name, int copy) {
    Ptr<Person>& body = bodies[copy][name];
    if (body == nullptr) {
        body = new Person(name, 1);
        Ready(fighters, name);
    }
    return body;
}

Scene* Roster::Arena(const std::string& name) {
    std::unique_ptr<Scene>& scene = scenes[name];
    if (scene == nullptr) {
        scene = std::make_unique<Scene>(name);
        Ready(arenas, name);
    }
    scene->Activate();
    return scene.get();
}

const Roster::Entry* Roster::FindFighter(const std::string& name) const {
    return Find(fighters, name);
}

const Roster::Entry* Roster::FindArena(const std::string& name) const {
    return Find(arenas, name);
}
