#include "core/MainLoop.h"

#include <SDL.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "core/Display.h"
#include "core/DisplayOpts.h"
#include "core/Game.h"
#include "core/Preferences.h"
#include "core/System.h"

void init() {
    const std::string options = Preferences::Path();
    if (!options.empty()) preferences.Load(options);
    dispopt = new DisplayOpts();
    if (!dispopt->LoadConfig()) {
        std::cerr << "There was an error in the device.cfg file, or it didn't exist!" << std::endl;
        std::cerr << dispopt->problem << std::endl;
        std::exit(-1);
    }
    System* const system = System::instance();
    system->displayOptions(dispopt);
    if (system->display == nullptr || system->display->surface == nullptr) {
        std::cerr << "Failed opening display" << std::endl;
        std::exit(-1);
    }
    game = new Game();
}

void idle() {
    System* const system = System::instance();
    system->Update();
    game->RenderFrame();
}

bool DrainEvents() {
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit = true;
        } else if (event.type == SDL_VIDEORESIZE) {
            System::instance()->display->Resize(event.resize.w, event.resize.h);
        }
    }
    return quit;
}

int Run() {
    init();
    SDL_ShowCursor(SDL_DISABLE);
    bool quit = false;
    while (!quit) {
        idle();
        quit = DrainEvents();
        // Escape is read straight from SDL, so it works whatever the game is doing.
        if (SDL_GetKeyState(nullptr)[SDLK_ESCAPE] || game->quit) quit = true;
    }
    SDL_ShowCursor(SDL_ENABLE);
    SDL_Quit();
    return 0;
}
