#include "frontend/KeysScreen.h"

#include <SDL.h>

#include <string>

#include "core/Preferences.h"
#include "core/System.h"
#include "core/Trace.h"
#include "frontend/Backdrop.h"
#include "frontend/CaptionView.h"
#include "frontend/Choice.h"
#include "input/KbdController.h"
#include "input/KeyName.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"

namespace {

const float ENTRY_SCALE = 1.1f;
const int FIRST_Y = 410;
const int SPACING = 43;
const int LEFT = 20;
const int BACK_ENTRY = Preferences::ACTIONS;
const float SHADE = 0.75f;

std::string Entry(int player, int action) {
    std::string label = Preferences::ACTION_NAMES[action];
    label.resize(12, ' ');
    const char* key = KeyName::Of(preferences.keys[player][action]);
    return label + (key != nullptr ? key : "?");
}

}  // namespace

KeysScreen::KeysScreen(CaptionView& view_, const Backdrop& backdrop_)
    : view(view_), backdrop(backdrop_), title(2.0f), message(0.75f) {
    menu.normalMaterial = view.normalMaterial;
    menu.highlightMaterial = view.highlightMaterial;
    menu.camera = &view.camera;
    for (int action = 0; action <= BACK_ENTRY; ++action) {
        menu.choices.Add(new Choice("", LEFT, FIRST_Y - action * SPACING, view.normalMaterial, ENTRY_SCALE));
    }
}

void KeysScreen::Open(int player_) {
    player = player_;
    waiting = -1;
    title.Set("player " + std::to_string(player + 1) + " keys");
    debug << "screen: player " << player + 1 << " keys" << std::endl;
    message.Set("return then press the new key");
    Refresh();
    menu.Open();
}

void KeysScreen::Refresh() {
    for (int action = 0; action < Preferences::ACTIONS; ++action) menu.choices[action]->SetLabel(Entry(player, action).c_str());
    menu.choices[BACK_ENTRY]->SetLabel("back");
}

int KeysScreen::NewKey() {
    const Keyboard* keyboard = System::instance()->keyboard;
    for (int key = 0; key < Keyboard::KEY_COUNT; ++key) {
        if (keyboard->Pressed(key)) return key;
    }
    return -1;
}

Screen::Event KeysScreen::Update() {
    if (waiting >= 0) {
        if (System::instance()->mouse->Clicked()) {
            waiting = -1;
            message.Set("unchanged");
            return NONE;
        }
        const int key = NewKey();
        if (key >= 0) Take(key);
        return NONE;
    }
    if (System::instance()->keyboard->Pressed(SDLK_BACKSPACE)) return BACK;
    menu.Update();
    if (!menu.activated) return NONE;
    menu.activated = false;
    if (menu.selection == BACK_ENTRY) return BACK;
    waiting = menu.selection;
    message.Set(std::string("press the new key for ") + Preferences::ACTION_NAMES[waiting]);
    return NONE;
}

void KeysScreen::Take(int key) {
    const int action = waiting;
    waiting = -1;
    if (key == preferences.keys[player][action]) {
        message.Set("unchanged");
        return;
    }
    const std::string refusal = preferences.Refusal(player, action, key);
    if (!refusal.empty()) {
        message.Set("refused  " + refusal);
        return;
    }
    preferences.keys[player][action] = key;
    preferences.SaveInConfig();
    if (auto* keyboardPlayer = dynamic_cast<KbdController*>(System::instance()->controller[player]))
        keyboardPlayer->Bind(preferences.keys[player]);
    message.Set(std::string(Preferences::ACTION_NAMES[action]) + " is now " + KeyName::Of(key));
    debug << "player " << player + 1 << ' ' << Preferences::ACTION_NAMES[action] << " is now " << KeyName::Of(key)
          << std::endl;
    Refresh();
}

void KeysScreen::Draw() {
    backdrop.Draw(SHADE);
    view.Begin();
    title.DrawCentred(CaptionView::CENTRE_X, 490, view.captionMaterial);
    menu.Draw();
    message.DrawCentred(CaptionView::CENTRE_X, -75, view.captionMaterial);
    view.End();
}
