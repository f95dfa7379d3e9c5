#pragma once

#include "frontend/MenuScreen.h"

// The game's name over its main menu: the ways to play, training, the last
// match again, options, quit. Further
// ways to play join the table of entries in TitleScreen.cpp.
class TitleScreen : public MenuScreen {
public:
    const char* Name() const override { return "title"; }
    TitleScreen(CaptionView& view, const Backdrop& backdrop);
};
