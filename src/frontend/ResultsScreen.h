#pragma once

#include <string>

#include "frontend/MenuScreen.h"

// The end of a match, over its last moment: who won and by how many
// rounds; then a rematch, new fighters or the main menu.
class ResultsScreen : public MenuScreen {
public:
    const char* Name() const override { return "results"; }
    ResultsScreen(CaptionView& view, const Backdrop& backdrop);

    // The winner's name ("lyse"), the rounds the winner won and those the other won.
    void SetResult(const std::string& winner, int won, int lost);
};
