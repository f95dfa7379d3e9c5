#pragma once

#include "frontend/Label.h"
#include "frontend/MenuScreen.h"

// The game's name over its main menu: the ways to play, training, the last
// match again, options, quit. Further
// ways to play join the table of entries in TitleScreen.cpp.
class TitleScreen : public MenuScreen {
public:
    static constexpr size_t NOTICE_WIDTH = 50;  // characters a line of the notice holds

    const char* Name() const override { return "title"; }
    TitleScreen(CaptionView& view, const Backdrop& backdrop);

    // A few lines under the title, until the menu opens again: why a replay
    // was refused or stopped. Empty for none.
    void Notice(const std::string& text);
    void Draw() override;

private:
    Label notice[3] = {Label(0.5f), Label(0.5f), Label(0.5f)};
};
