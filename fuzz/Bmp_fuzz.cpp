#include <SDL.h>

#include "FuzzScratch.h"
#include "FuzzTarget.h"
#include "render/Texture.h"

KORVANTHE_FUZZ_TARGET(bmp) {
    FuzzScratch::Write("t.bmp", input);
    Texture texture;
    texture.Load("t.bmp");
    if (texture.surface != nullptr) SDL_FreeSurface(texture.surface);
}
