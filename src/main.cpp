#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "check/DataCheck.h"
#include "core/MainLoop.h"
#include "frontend/FolderCheck.h"

// Everything the game plays comes from the files in the working directory.
// "--check [folder]" reads a folder's files instead, without a window, and
// lists their problems; any other argument is ignored.
int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--check") == 0) {
        return DataCheck::Run(argc > 2 ? argv[2] : "", std::cout, std::cerr);
    }
    // The game checks a fighter or an arena a player may choose by running
    // itself as a checker, which a broken folder can end without harm.
    if (const char* check = std::getenv(FolderCheck::VARIABLE)) return FolderCheck::Run(check);
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    SDL_EnableKeyRepeat(0, 0);
    return Run();
}
