#pragma once

#include <SDL.h>

#include <vector>

#include "core/Display.h"
#include "core/System.h"
#include "render/Material.h"
#include "render/Texture.h"

// A display of the test's own, the size of the test window, so that its
// registries start empty; the display before it comes back afterwards. The
// textures made while it lived go with it, so that no test reuses another
// test's images.
class DisplayGuard {
public:
    explicit DisplayGuard(int width = 64, int height = 64)
        : saved(System::instance()->display), display(new Display()) {
        display->width = width;
        display->height = height;
        System::instance()->display = display;
    }
    ~DisplayGuard() {
        for (int i = 0; i < display->textures.count; ++i) {
            SDL_FreeSurface(display->textures[i]->surface);
            delete display->textures[i];
        }
        // The game keeps the materials registered on its display until it
        // ends; a test's go on living too, as a fixture that outlives this
        // display may still draw with them. (Never destroyed: the leak check
        // runs after the destructors of statics.)
        static auto* const keptUntilExit = new std::vector<Material*>;
        for (int i = 0; i < display->materials.count; ++i) keptUntilExit->push_back(display->materials[i]);
        delete display;
        System::instance()->display = saved;
    }
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    Display* operator->() const { return display; }
    Display& operator*() const { return *display; }

private:
    Display* saved;
    Display* display;
};
