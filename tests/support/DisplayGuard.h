#pragma once

#include <SDL.h>

#include "core/Display.h"
#include "core/System.h"
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
