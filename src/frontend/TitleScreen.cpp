#include "frontend/TitleScreen.h"

#include "frontend/CaptionView.h"

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

void TitleScreen::Notice(const std::string& text) {
    const std::vector<std::string> lines = Label::Wrap(text, NOTICE_WIDTH);
    for (size_t line = 0; line < 3; ++line) notice[line].Set(line < lines.size() ? lines[line] : "");
}

void TitleScreen::Draw() {
    MenuScreen::Draw();
    if (notice[0].words().empty()) return;
    view.Begin();
    for (int line = 0; line < 3; ++line) {
        notice[line].DrawCentred(CaptionView::CENTRE_X, 386.0f - 20 * line, view.captionMaterial);
    }
    view.End();
}
