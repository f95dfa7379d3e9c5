#include "frontend/Menu.h"

#include <SDL.h>

#include <algorithm>
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
#include "math/Camera.h"
#include "render/Material.h"

namespace {

// A stick counts as pushed beyond half its travel.
const float STICK_THRESHOLD = 0.5f;

}  // namespace

Menu::~Menu() {
    for (int i = 0; i < choices.count; ++i) delete choices[i];
}

void Menu::Open() {
    selection = -1;
    Select(0);
    activated = false;
    pointerKnown = false;
    System::instance()->mouse->ModeRel();
}

void Menu::Update() {
    UpdateMouse();
    UpdateKeyboard();
    UpdateJoysticks();
}

// A still mouse leaves the keyboard and sticks in charge; one that moves or
// clicks takes over and shows its cursor until a key, stick or button is
// used. Where the pointer rested when the menu opened chooses nothing.
void Menu::UpdateMouse() {
    Mouse* mouse = System::instance()->mouse;
    if (!pointerKnown) {
        pointerX = mouse->x;
        pointerY = mouse->y;
        pointerKnown = true;
    }
    const bool moved = mouse->x != pointerX || mouse->y != pointerY;
    pointerX = mouse->x;
    pointerY = mouse->y;
    if (!mouse->absolute && (moved || mouse->Clicked())) mouse->ModeAbs();
    if (!mouse->absolute) {
        if (selection < 0) Select(0);
        return;
    }
    const int pointed = Hit(mouse->x, mouse->y);
    if (pointed != selection && pointed >= 0) debug << "MENU: pointer on " << choices[pointed]->label << std::endl;
    if (pointed >= 0 && pointed != selection) GameSounds::Play(GameSounds::MENU_MOVE);
    selection = pointed;
    // A click, not a held button: the press that chose an entry of one
    // menu must not choose in the next one too.
    if (HasSelection() && mouse->Clicked()) {
        if (mouse->LButton()) debug << "MENU: Pressed L Mouse button" << std::endl;
        if (mouse->RButton()) debug << "MENU: Pressed R Mouse button" << std::endl;
        activated = true;
        GameSounds::Play(GameSounds::MENU_CHOICE);
    }
}

// Entries are laid out in the caption camera's space: the pointer is tested
// against each entry's letters as that camera puts them on the window.
int Menu::Hit(int x, int y) const {
    const Display* display = System::instance()->display;
    if (camera == nullptr || display == nullptr) return -1;
    for (int i = 0; i < choices.count; ++i) {
        const Choice::Rect r = choices[i]->Letters();
        const Vector3 a = display->WorldToScreen(*camera, Vector3(r.left, r.bottom, 0));
        const Vector3 b = display->WorldToScreen(*camera, Vector3(r.right, r.top, 0));
        const Choice::Rect onScreen{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                                    std::max(a.y, b.y)};
        if (onScreen.Contains(static_cast<float>(x), static_cast<float>(y))) return i;
    }
    return -1;
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

// A held stick moves the selection in every frame, not once per push. A
// button chooses in the frame it goes down: one held on from the last menu
// chooses nothing here.
void Menu::UpdateJoysticks() {
    const Joystick* const sticks[2] = {System::instance()->joystick[0],
                                       System::instance()->joystick[1]};
    if (sticks[0]->y < -STICK_THRESHOLD || sticks[1]->y < -STICK_THRESHOLD) Up();
    if (sticks[0]->y > STICK_THRESHOLD || sticks[1]->y > STICK_THRESHOLD) Down();
    if (!HasSelection()) return;
    bool pressed = false;
    for (int j = 0; j < 2; ++j) {
        if ((sticks[j]->buttons & ~sticks[j]->oldButtons) != 0) {
            debug << "MENU:  Pressed joystick " << j << " button" << std::endl;
            pressed = true;
        }
    }
    if (pressed) Activate();
}

void Menu::Up() {
    System::instance()->mouse->ModeRel();
    if (selection > 0) {
        Select(selection - 1);
        GameSounds::Play(GameSounds::MENU_MOVE);
    }
    debug << "MENU: selection " << selection << std::endl;
}

void Menu::Down() {
    System::instance()->mouse->ModeRel();
    if (selection < choices.count - 1) {
        Select(selection + 1);
        GameSounds::Play(GameSounds::MENU_MOVE);
    }
    debug << "MENU: selection " << selection << std::endl;
}

void Menu::Select(int i) {
    if (i < 0 || i >= choices.count || i == selection) return;
    selection = i;
    debug << "MENU: at " << choices[i]->label << std::endl;
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
