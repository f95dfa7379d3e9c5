#include "frontend/ControlsScreen.h"

#include <SDL.h>

#include "core/Preferences.h"
#include "core/System.h"
#include "frontend/Backdrop.h"
#include "frontend/CaptionView.h"
#include "input/JoyController.h"
#include "input/Joystick.h"
#include "input/KeyName.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "render/Material.h"

namespace {

const float LINE_SCALE = 0.6f;
const float LINE_SPACING = 30;
const float TOP_LINE = 405;
const size_t LINES_PER_COLUMN = 12;
const float COLUMN_X[2] = {-60, 345};
const float SHADE = 0.8f;

// Letters are all as wide: spaces after the first column line up the second.
std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

}  // namespace

ControlsScreen::ControlsScreen(CaptionView& view_, const Backdrop& backdrop_)
    : view(view_), backdrop(backdrop_), title(2.0f), hint(0.7f), legend{Label(0.65f), Label(0.65f)} {
    hint.Set("left right pages   return back");
}

void ControlsScreen::SetFighters(const std::string (&names)[2], const MTNode* const (&roots)[2]) {
    for (int i = 0; i < 2; ++i) {
        fighters[i] = names[i];
        moves[i] = MoveList::Of(names[i], roots[i]);
    }
    // The same fighter on both sides has one page of moves.
    pages = names[0] == names[1] ? 2 : 3;
}

void ControlsScreen::Open() { page = 0; }

Screen::Event ControlsScreen::Update() {
    const System* system = System::instance();
    const Keyboard* keyboard = system->keyboard;
    if (keyboard->Pressed(SDLK_RETURN) || keyboard->Pressed(SDLK_KP_ENTER) || keyboard->Pressed(SDLK_BACKSPACE) ||
        system->mouse->Clicked())
        return BACK;
    for (int j = 0; j < 2; ++j) {
        if (system->joystick[j]->ButtonPress(0) || system->joystick[j]->ButtonPress(1)) return BACK;
    }
    if (keyboard->Pressed(SDLK_RIGHT)) page = (page + 1) % pages;
    if (keyboard->Pressed(SDLK_LEFT)) page = (page + pages - 1) % pages;
    return NONE;
}

std::string ControlsScreen::Binding(int player, int action) {
    if (dynamic_cast<JoyController*>(System::instance()->controller[player]) != nullptr) {
        if (action < Preferences::PUNCH) return "stick";
        const auto* joy = static_cast<JoyController*>(System::instance()->controller[player]);
        return "button " + std::to_string(joy->action[action - Preferences::PUNCH] + 1);
    }
    const char* name = KeyName::Of(preferences.keys[player][action]);
    return name != nullptr ? name : "?";
}

void ControlsScreen::Draw() {
    backdrop.Draw(SHADE);
    view.Begin();
    linesUsed = 0;
    if (page == 0) {
        DrawKeys();
    } else {
        DrawMoves(page - 1);
    }
    hint.DrawCentred(CaptionView::CENTRE_X, -85, view.normalMaterial);
    view.End();
}

void ControlsScreen::DrawKeys() {
    title.Set("CONTROLS");
    title.DrawCentred(CaptionView::CENTRE_X, 495, view.captionMaterial);
    for (int player = 0; player < 2; ++player) {
        std::vector<std::string> rows{"player " + std::to_string(player + 1)};
        for (int action = 0; action < Preferences::ACTIONS; ++action)
            rows.push_back(Padded(Preferences::ACTION_NAMES[action], 11) + Binding(player, action));
        DrawLines(rows, COLUMN_X[player], TOP_LINE + 10, 0, rows.size());
    }
    legend[0].Set("p pause   escape quit   f2 shadows");
    legend[1].Set("f3 freeze   f5 slow   f12 camera");
    legend[0].DrawCentred(CaptionView::CENTRE_X, 25, view.captionMaterial);
    legend[1].DrawCentred(CaptionView::CENTRE_X, -10, view.captionMaterial);
}

void ControlsScreen::DrawMoves(int fighter) {
    title.Set(fighters[fighter] + " moves");
    title.DrawCentred(CaptionView::CENTRE_X, 495, view.captionMaterial);
    std::vector<std::string> rows;
    for (const MoveList::Move& move : moves[fighter]) rows.push_back(Padded(move.command, 7) + move.name);
    if (rows.empty()) rows.push_back("no moves found");
    for (size_t column = 0; column < 2; ++column) {
        DrawLines(rows, COLUMN_X[column], TOP_LINE, column * LINES_PER_COLUMN, LINES_PER_COLUMN);
    }
    legend[0].Set("f toward  a away  u up  d down  p punch");
    legend[1].Set("k kick  g guard  t throw  i o sidesteps");
    legend[0].DrawCentred(CaptionView::CENTRE_X, 25, view.captionMaterial);
    legend[1].DrawCentred(CaptionView::CENTRE_X, -10, view.captionMaterial);
}

void ControlsScreen::DrawLines(const std::vector<std::string>& rows, float x, float top, size_t first, size_t count) {
    view.normalMaterial->current(true);
    for (size_t i = first; i < rows.size() && i < first + count; ++i) {
        if (linesUsed == lines.size()) lines.emplace_back(LINE_SCALE);
        Label& line = lines[linesUsed++];
        line.Set(rows[i]);
        line.Draw(x, top - LINE_SPACING * static_cast<float>(i - first));
    }
}
