#include "frontend/TitleScreen.h"

namespace {

const std::vector<MenuScreen::Entry> ENTRIES = {
    {"ONE PLAYER", Screen::ONE_PLAYER},
    {"TWO PLAYERS", Screen::TWO_PLAYERS},
    {"DEMO", Screen::DEMO},
    {"TRAINING", Screen::TRAINING},
    {"WATCH REPLAY", Screen::WATCH_REPLAY},
    {"OPTIONS", Screen::OPTIONS},
    {"QUIT", Screen::QUIT},
};

}  // namespace

TitleScreen::TitleScreen(CaptionView& view, const Backdrop& backdrop)
    : MenuScreen(view, backdrop, "KORVANTHE", ENTRIES) {}
