#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "character/Person.h"
#include "frontend/FolderCheck.h"
#include "math/Ptr.h"

class Scene;

// The fighters under "characters/" (every folder with a "low.bdf") and the
// arenas under "scenes/" (every folder with a "scene.sdf"), whether each
// loads, and those loaded. Folders are checked in the background by
// FolderCheck; only one that passed is ever loaded into the game, and once
// loaded it is kept for the rest of the run, as everything the game loads is.
class Roster {
public:
    struct Entry {
        enum State { CHECKING, READY, BROKEN };
        explicit Entry(const std::string& folder) : name(folder) {}
        std::string name;
        State state = CHECKING;
        std::string problem;                 // why a broken one does not load
        std::unique_ptr<FolderCheck> check;  // while CHECKING
    };

    Roster();
    ~Roster();  // the arenas loaded go with it
    Roster(const Roster&) = delete;
    Roster& operator=(const Roster&) = delete;

    // Lists the folders, keeping what is known of those listed before, and
    // starts checking the new ones.
    void Scan();
    void Poll();  // takes the results of checks that have ended

    // Fighter `name`, loaded on first use. Copy 0 or 1: both players may
    // take the same fighter, and each needs a body of its own. One that has
    // loaded needs no check.
    Person* Fighter(const std::string& name, int copy);
    Scene* Arena(const std::string& name);  // loaded on first use; made the active scene

    const Entry* FindFighter(const std::string& name) const;
    const Entry* FindArena(const std::string& name) const;

    std::vector<Entry> fighters;  // in name order
    std::vector<Entry> arenas;

private:
    static void Scan(std::vector<Entry>& entries, const char* folder, const char* file, const char* kind);
    // Held, so that a fighter outlives the matches that let go of it.
    std::map<std::string, Ptr<Person>> bodies[2];
    std::map<std::string, std::unique_ptr<Scene>> scenes;
};
