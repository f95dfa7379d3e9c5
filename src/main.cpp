#include <SDL.h>

#include "core/MainLoop.h"

// Korvanthe takes no arguments: everything comes from the files in the
// working directory.
int main(int, char**) {
    SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    SDL_EnableKeyRepeat(0, 0);
    return Run();
}
