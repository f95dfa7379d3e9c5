#include <SDL.h>

#include <cstdlib>

#include "core/MainLoop.h"
#include "frontend/FolderCheck.h"

// Korvanthe takes no arguments: everything comes from the files in the
// working directory.
int main(int, char**) {
    // The game checks a fighter or an arena a player may choose by running
    // itself as a checker, which a broken folder can end without harm.
    if (const char* check = std::getenv(FolderCheck::VARIABLE)) return FolderCheck::Run(check);
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    SDL_EnableKeyRepeat(0, 0);
    return Run();
}
