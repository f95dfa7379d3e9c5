#include "frontend/MainMenu.h"

#include "core/Display.h"
#include "core/System.h"
#include "frontend/Choice.h"
#include "render/Material.h"

namespace {

// Appends, whatever iteration of the registry was left half done. A
// material is only made once the display exists.
void Register(Material* m) {
    Display* display = System::instance()->display;
    display->materials.cursor = display->materials.count;
    display->materials.Add(m);
}

}  // namespace

MainMenu::MainMenu() {
    normalMaterial = new Material("materials/menutext1.mat");
    highlightMaterial = new Material("materials/menutext2.mat");
    Register(normalMaterial);
    Register(highlightMaterial);
    choices.Add(new Choice("Start", 200, 300, normalMaterial));
    choices.Add(new Choice("Quit", 200, 200, normalMaterial));
    selection = START;
}
