#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "check/DataCheck.h"
#include "core/DriverPreload.h"
#include "core/MainLoop.h"
#include "frontend/FolderCheck.h"

// Everything the game plays comes from the files in the working directory.
// "--check [folder]" reads a folder's files instead, without a window, and
// lists their problems; "--replay FILE" opens the game on a replay instead of
// its menu; any other argument is ignored.
int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--check") == 0) {
        return DataCheck::Run(argc > 2 ? argv[2] : "", std::cout, std::cerr);
    }
    // The game checks a fighter or an arena a player may choose by running
    // itself as a checker, which a broken folder can end without harm.
    if (const char* check = std::getenv(FolderCheck::VARIABLE)) return FolderCheck::Run(check);
    std::string replay;
    if (argc == 3 && std::strcmp(argv[1], "--replay") == 0) {
        // The game moves into its data folder: the file is named from here.
        replay = std::filesystem::absolute(argv[2]).string();
    } else if (argc > 1 && std::strcmp(argv[1], "--replay") == 0) {
        std::cerr << "usage: korvanthe [--replay FILE]" << std::endl;
        return 1;
    }
    DriverPreload::Start();  // while the video system starts
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    SDL_EnableKeyRepeat(0, 0);
    return Run(replay);
}
