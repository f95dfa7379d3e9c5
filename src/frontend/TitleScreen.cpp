#include "frontend/TitleScreen.h"

namespace {

const std::vector<MenuScreen::Entry> ENTRIES = {
    {"TWO PLAYERS", Screen::TWO_PLAYERS},
    {"OPTIONS", Screen::OPTIONS},
    {"QUIT", Screen::QUIT},
};

}  // namespace

TitleScreen::TitleScreen(CaptionView& view, const Backdrop& backdrop)
    : MenuScreen(view, backdrop, "KORVANTHE", ENTRIES) {}
