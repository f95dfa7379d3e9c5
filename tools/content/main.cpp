// Writes Korvanthe's default data directory: make_content DATA-DIR
#include <filesystem>
#include <fstream>
#include <iostream>

#include "content/Content.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_content DATA-DIR" << std::endl;
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    std::filesystem::current_path(argv[1]);

    content::WriteShared();
    content::WriteArena();
    content::WriteFighters();

    std::ofstream("settings.txt") << "scene " << content::ARENA_NAME << "\n"
                                  << "player1 " << content::FIGHTER_NAMES[0] << "\n"
                                  << "player2 " << content::FIGHTER_NAMES[1] << "\n";
    return 0;
}
