#include "frontend/MainMenu.h"

#include "core/Display.h"
#include "core/System.h"
#include "frontend/Choice.h"
#include "render/Material.h"

namespace {

// Five entries of up to thirteen letters fit the caption camera's view at
// this scale, one under the other.
const float TEXT_SCALE = 1.6f;
const int LEFT = 30;
const int TOP = 440;
const int SPACING = 90;

// Appends, whatever iteration of the registry was left half done. A
// material is only made once the display exists.
void Register(Material* m) {
    Display* display = System::instance()->display;
    display->materials.cursor = display->materials.count;
    display->materials.Add(m);
}

}  // namespace

MainMenu::MainMenu(const char* skill) {
    normalMaterial = new Material("materials/menutext1.mat");
    highlightMaterial = new Material("materials/menutext2.mat");
    Register(normalMaterial);
    Register(highlightMaterial);
    const char* const texts[] = {"one player", "two players", "demo", skill, "quit"};
    for (int i = 0; i < 5; ++i) {
        choices.Add(new Choice(texts[i], LEFT, TOP - SPACING * i, normalMaterial, TEXT_SCALE));
    }
    selection = ONE_PLAYER;
}

void MainMenu::SetSkill(const char* text) { choices[SKILL]->SetText(text); }
