#include "core/MainLoop.h"

#include <SDL.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "core/DataFolder.h"
#include "core/Display.h"
#include "core/DisplayOpts.h"
#include "core/Game.h"
#include "core/Preferences.h"
#include "core/System.h"
#include "core/Timer.h"
#include "core/UserDirs.h"
#include "frontend/Sound.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"

void init(const std::string& replay) {
    // Each step of the start-up is timed on the timer stream.
    Timer steps;
    steps.Start();
    DataFolder::Enter();
    // Said once: the player's own files are then looked for in vain, quietly.
    const std::string config = UserDirs::CheckConfig();
    if (!config.empty()) std::cerr << config << std::endl;
    const std::string options = Preferences::Path();
    if (!options.empty()) preferences.Load(options);
    dispopt = new DisplayOpts();
    if (!dispopt->LoadConfig()) {
        std::cerr << "There was an error in the device.cfg file, or it didn't exist!" << std::endl;
        std::cerr << dispopt->problem << std::endl;
        std::exit(-1);
    }
    preferences.ApplyDisplay(dispopt->width, dispopt->height, dispopt->fullscreen);
    steps.End("start-up, folders and options: ");
    steps.Start();
    System* const system = System::instance();
    steps.End("start-up, devices and controllers: ");
    steps.Start();
    system->displayOptions(dispopt);
    if (system->display == nullptr || system->display->surface == nullptr) {
        std::cerr << "Failed opening display" << std::endl;
        std::exit(-1);
    }
    steps.End("start-up, window and GL context: ");
    steps.Start();
    // Before the game loads its sounds: they are converted to the device's format.
    Sound::Manager* const audio = Sound::Manager::instance();
    audio->SetVolume(preferences.volume);
    audio->Open();
    steps.End("start-up, audio device: ");
    steps.Start();
    game = new Game(replay);
    steps.End("start-up, game: ");
}

void idle() {
    System* const system = System::instance();
    system->Update();
    WindowKeys();
    // M mutes and unmutes, in the menus as in a fight; no player's key is M.
    if (system->keyboard->Pressed(SDLK_m)) Sound::Manager::instance()->ToggleMute();
    game->RenderFrame();
}

void WindowKeys() {
    System* const system = System::instance();
    Keyboard* const keys = system->keyboard;
    Display* const display = system->display;
    if (keys->Pressed(SDLK_F8)) display->screenshotRequested = true;
    if (keys->Alt() && (keys->Pressed(SDLK_RETURN) || keys->Pressed(SDLK_KP_ENTER))) {
        display->SetFullScreen(!display->fullscreen);
        keys->Consume(SDLK_RETURN);
        keys->Consume(SDLK_KP_ENTER);
    }
}

bool DrainEvents() {
    System* const system = System::instance();
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit = true;
        } else if (event.type == SDL_VIDEORESIZE) {
            system->display->Resize(event.resize.w, event.resize.h);
        } else if (event.type == SDL_KEYDOWN) {
            // The keyboard is polled once a frame: a tap shorter than a frame
            // would fall between two polls.
            system->keyboard->Latch(event.key.keysym.sym);
            if (event.key.keysym.sym == SDLK_ESCAPE) quit = true;
        } else if (event.type == SDL_MOUSEBUTTONDOWN) {
            system->mouse->Latch(event.button.button);
        } else if (event.type == SDL_JOYBUTTONDOWN && event.jbutton.which < 2) {
            system->joystick[event.jbutton.which]->Latch(event.jbutton.button);
        }
    }
    return quit;
}

int Run(const std::string& replay) {
    // How long the player waits: for the menu after launch, and for the
    // match after the choices that start one.
    Timer waits;
    waits.Start();
    bool menuShown = false;
    bool matchStarting = false;
    init(replay);
    SDL_ShowCursor(SDL_DISABLE);
    bool quit = false;
    while (!quit) {
        const bool inMenu = game->showing != nullptr;
        // Any frame of a menu may be the one in which the player starts a
        // match: the wait counts from its start, the choice and the loading
        // it sets off included.
        if (inMenu && menuShown) {
            waits = Timer();
            waits.Start();
        }
        idle();
        if (!menuShown) {
            waits.End("launch to first menu frame: ");
            menuShown = true;
        } else if (matchStarting) {
            waits.End("start to first match frame: ");
            matchStarting = false;
        }
        if (inMenu && game->showing == nullptr) matchStarting = true;
        quit = DrainEvents();
        // Escape is read straight from SDL, so it works whatever the game is doing.
        if (SDL_GetKeyState(nullptr)[SDLK_ESCAPE] || game->quit) quit = true;
    }
    game->EndMatch();
    SDL_ShowCursor(SDL_ENABLE);
    SDL_Quit();
    return 0;
}
