// Writes Korvanthe's default data directory, make_content DATA-DIR, or the
// desktop icons, make_content --icons ICON-DIR.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "content/Content.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        content::WriteIcons(argv[2]);
        return 0;
    }
    if (argc != 2) {
        std::cerr << "usage: make_content DATA-DIR | make_content --icons ICON-DIR" << std::endl;
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    std::filesystem::current_path(argv[1]);

    // The folders the generator owns start empty, so that a mesh an earlier
    // version wrote and this one no longer does cannot linger beside the
    // new ones. Everything else in the folder (a modder's own fighter or
    // arena) is left alone.
    std::filesystem::remove_all("letters");
    std::filesystem::remove_all(std::string("scenes/") + content::ARENA_NAME);
    for (const char* fighter : content::FIGHTER_NAMES)
        std::filesystem::remove_all(std::string("characters/") + fighter);

    content::WriteShared();
    content::WriteArena();
    content::WriteFighters();
    content::WriteSounds();

    std::ofstream("settings.txt") << "scene " << content::ARENA_NAME << "\n"
                                  << "player1 " << content::FIGHTER_NAMES[0] << "\n"
                                  << "player2 " << content::FIGHTER_NAMES[1] << "\n";
    return 0;
}
