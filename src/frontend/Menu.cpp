#include "frontend/Menu.h"

#include <SDL.h>

#include <ostream>

#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "frontend/Choice.h"
#include "frontend/GameSounds.h"
#include "frontend/String3D.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "render/Material.h"

namespace {

// The mouse rectangle of an entry is shifted by this much from its layout
// rectangle, up and to the left.
const int MOUSE_SHIFT = 45;

// A stick counts as pushed beyond half its travel.
const float STICK_THRESHOLD = 0.5f;

}  // namespace

Menu::~Menu() {
    for (int i = 0; i < choices.count; ++i) delete choices[i];
}

void Menu::Update() {
    UpdateMouse();
    UpdateKeyboard();
    UpdateJoysticks();
}

// A still mouse leaves the keyboard and sticks in charge; one that moves
// takes over and shows its cursor until a key, stick or button is used.
void Menu::UpdateMouse() {
    Mouse* mouse = System::instance()->mouse;
    if (!mouse->absolute) {
        if (mouse->dx == 0 && mouse->dy == 0) {
            if (selection < 0 && choices.count > 0) selection = 0;
        } else {
            mouse->ModeAbs();
        }
    }
    if (!mouse->absolute) return;

    // Layout units have y upwards, the mouse has it downwards.
    const Display* display = System::instance()->display;
    const int height = display != nullptr ? display->height : 0;
    const int before = selection;
    selection = -1;
    for (int i = 0; i < choices.count; ++i) {
        const Choice& c = *choices[i];
        if (c.left - MOUSE_SHIFT < mouse->x && mouse->x < c.right - MOUSE_SHIFT &&
            height - c.top - MOUSE_SHIFT < mouse->y && mouse->y < height - c.bottom - MOUSE_SHIFT) {
            selection = i;
        }
    }
    if (HasSelection() && selection != before) GameSounds::Play(GameSounds::MENU_MOVE);
    if (HasSelection() && (mouse->LButton() || mouse->RButton())) {
        if (mouse->LButton()) debug << "MENU: Pressed L Mouse button" << std::endl;
        if (mouse->RButton()) debug << "MENU: Pressed R Mouse button" << std::endl;
        activated = true;
        GameSounds::Play(GameSounds::MENU_CHOICE);
    }
}

// With the mouse pointing between entries nothing is selected, and a key or
// button then chooses nothing: the owner only ever sees a real entry.
void Menu::UpdateKeyboard() {
    const Keyboard* keyboard = System::instance()->keyboard;
    if (keyboard->Pressed(SDLK_UP)) Up();
    if (keyboard->Pressed(SDLK_DOWN)) Down();
    if (HasSelection() && (keyboard->Pressed(SDLK_KP_ENTER) || keyboard->Pressed(SDLK_RETURN))) {
        debug << "MENU:  Pressed keyboard key" << std::endl;
        Activate();
    }
}

// A held stick moves the selection in every frame, not once per push.
void Menu::UpdateJoysticks() {
    const Joystick* const sticks[2] = {System::instance()->joystick[0],
                                       System::instance()->joystick[1]};
    if (sticks[0]->y < -STICK_THRESHOLD || sticks[1]->y < -STICK_THRESHOLD) Up();
    if (sticks[0]->y > STICK_THRESHOLD || sticks[1]->y > STICK_THRESHOLD) Down();
    if (!HasSelection()) return;
    bool pressed = false;
    for (int j = 0; j < 2; ++j) {
        if (sticks[j]->buttons != 0) {
            debug << "MENU:  Pressed joystick " << j << " button" << std::endl;
            pressed = true;
        }
    }
    if (pressed) Activate();
}

void Menu::Up() {
    System::instance()->mouse->ModeRel();
    if (selection > 0) {
        --selection;
        GameSounds::Play(GameSounds::MENU_MOVE);
    }
    debug << "MENU: selection " << selection << std::endl;
}

void Menu::Down() {
    System::instance()->mouse->ModeRel();
    if (selection < choices.count - 1) {
        ++selection;
        GameSounds::Play(GameSounds::MENU_MOVE);
    }
    debug << "MENU: selection " << selection << std::endl;
}

void Menu::Activate() {
    activated = true;
    GameSounds::Play(GameSounds::MENU_CHOICE);
    System::instance()->mouse->ModeRel();
}

bool Menu::HasSelection() const { return selection >= 0 && selection < choices.count; }

void Menu::Draw() {
    if (normalMaterial != nullptr) normalMaterial->current(true);
    for (int i = 0; i < choices.count; ++i) {
        String3D* text = choices[i]->text;
        text->SetPosition(Vector3(static_cast<float>(choices[i]->left),
                                  static_cast<float>(choices[i]->top), 0));
        text->Update();
        if (i == selection && highlightMaterial != nullptr) {
            highlightMaterial->current(true);
            text->Draw();
            if (normalMaterial != nullptr) normalMaterial->current(true);
        } else {
            text->Draw();
        }
    }
}
