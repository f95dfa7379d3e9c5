#pragma once

#include "frontend/Menu.h"

// The game's menu: a match against the computer, a match of two players, a
// demo of the computer against itself, the computer's skill level, and
// "quit"; the first is selected.
class MainMenu : public virtual Menu {
public:
    // The entries' places in `choices`: what `selection` holds once activated.
    enum Entry { ONE_PLAYER = 0, TWO_PLAYERS = 1, DEMO = 2, SKILL = 3, QUIT = 4 };

    // Loads the menu text materials (a missing one ends the program); the
    // skill entry reads `skill` until SetSkill changes it.
    explicit MainMenu(const char* skill = "skill");

    void SetSkill(const char* text);  // what the skill entry reads
};
