#pragma once

#include "frontend/Sound.h"

// The sounds of the game's own events, which no keyframe carries: a bout's
// bell, the winner's sting, a ring-out's fall and landing, the menus'
// clicks. Each is a file in "sounds/", read when the first event is played.
class GameSounds {
public:
    enum Event {
        BELL,         // a bout begins
        WINNER,       // a bout is decided
        FALL,         // a fighter is knocked off the floor
        SPLASH,       // ... and lands in the water around it
        LAND,         // ... or on whatever lies below a floor without water
        MENU_MOVE,    // the menu's selection moves to another entry
        MENU_CHOICE,  // an entry is chosen
        EVENTS
    };

    static void Play(Event event);  // nothing without an audio device
    static const char* File(Event event);  // the event's file in "sounds/"
    // The player's volume, 0..100: heard at once and kept with the player's
    // options for the next run.
    static void SetVolume(int percent);

private:
    GameSounds();
    Sound sounds[EVENTS];
};
