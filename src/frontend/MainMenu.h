#pragma once

#include "frontend/Menu.h"

// The game's menu: "Start" above "Quit", with "Start" selected.
class MainMenu : public virtual Menu {
public:
    // The entries' places in `choices`: what `selection` holds once activated.
    enum Entry { START = 0, QUIT = 1 };

    MainMenu();  // loads the menu text materials; a missing one ends the program
};
