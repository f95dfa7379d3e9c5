#include "frontend/ResultsScreen.h"

ResultsScreen::ResultsScreen(CaptionView& view, const Backdrop& backdrop)
    : MenuScreen(view, backdrop, "WINNER",
                 {{"REMATCH", REMATCH}, {"CHOOSE FIGHTERS", CHOOSE_FIGHTERS}, {"MAIN MENU", MAIN_MENU}}) {}

void ResultsScreen::SetResult(const std::string& winner, int won, int lost) {
    SetSubtitle(winner + " wins " + std::to_string(won) + " to " + std::to_string(lost));
}
