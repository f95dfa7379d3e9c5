#pragma once

#include "frontend/KeysScreen.h"
#include "frontend/Label.h"
#include "frontend/Menu.h"
#include "frontend/Screen.h"

class Backdrop;
class CaptionView;

// The player's options: the computer's skill, rounds, the round timer, the
// shadow method, sound volume, full screen or window, the window's size,
// and each player's keys. Left and right (or Return, or a click) change the
// option under the cursor; every change is saved in the player's options
// at once, and the display takes a new size or full screen at once.
class OptionsScreen : public Screen {
public:
    const char* Name() const override { return "options"; }
    // The entries, top to bottom.
    enum Row { SKILL, ROUNDS, TIMER, SHADOWS, VOLUME, FULL_SCREEN, WINDOW, KEYS_1, KEYS_2, CONTROLS_ROW, BACK_ROW, ROWS };

    OptionsScreen(CaptionView& view, const Backdrop& backdrop);

    void Open() override;
    Event Update() override;  // CONTROLS, or BACK once done
    void Draw() override;

    void Change(int row, int step);  // the option of `row` one value on (1) or back (-1)

private:
    void Refresh();  // the entries show the options as they are

    CaptionView& view;
    const Backdrop& backdrop;
    Menu menu;
    KeysScreen keys;
    bool changingKeys = false;
    Label title, hints[2];
};
