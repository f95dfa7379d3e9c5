#include "frontend/ResultsScreen.h"

ResultsScreen::ResultsScreen(CaptionView& view, const Backdrop& backdrop)
    : MenuScreen(view, backdrop, "WINNER",
                 {{"REMATCH", REMATCH}, {"CHOOSE FIGHTERS", CHOOSE_FIGHTERS}, {"MAIN MENU", MAIN_MENU}}) {}

void ResultsScreen::SetResult(const std::string& winner, int wins0, int wins1) {
    SetSubtitle(winner + "  " + std::to_string(wins0) + " " + std::to_string(wins1));
}
