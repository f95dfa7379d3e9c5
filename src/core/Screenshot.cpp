#include "core/Screenshot.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <vector>

#include "core/Trace.h"
#include "core/UserDirs.h"

std::string Screenshot::FileName(const std::tm& when) {
    char name[64];
    std::strftime(name, sizeof name, "korvanthe-%Y-%m-%d_%H-%M-%S.bmp", &when);
    return name;
}

std::string Screenshot::FreePath(const std::string& dir, const std::tm& when) {
    const std::string name = FileName(when);
    const std::string stem = dir + "/" + name.substr(0, name.size() - 4);
    std::string path = stem + ".bmp";
    std::error_code error;
    for (int n = 2; std::filesystem::exists(path, error); ++n) {
        path = stem + "-" + std::to_string(n) + ".bmp";
    }
    return path;
}

std::string Screenshot::Take(int width, int height) {
    const std::string dir = UserDirs::Pictures();
    if (!UserDirs::Make(dir)) {
        std::cerr << "screenshot not saved: " << (dir.empty() ? "no home directory" : dir)
                  << " cannot be made" << std::endl;
        return "";
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string path = FreePath(dir, local);

    // GL's rows run bottom-up and SDL's top-down.
    std::vector<Uint8> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
    const Uint32 red = 0x0000FF, green = 0x00FF00, blue = 0xFF0000;
#else
    const Uint32 red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;
#endif
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, red, green, blue, 0);
    if (image == nullptr) {
        std::cerr << "screenshot not saved: " << SDL_GetError() << std::endl;
        return "";
    }
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        std::memcpy(static_cast<Uint8*>(image->pixels) + static_cast<size_t>(y) * image->pitch,
                    &rgb[(height - 1 - y) * row], row);
    }
    const bool saved = SDL_SaveBMP(image, path.c_str()) == 0;
    SDL_FreeSurface(image);
    if (!saved) {
        std::cerr << "screenshot not saved: " << path << ": " << SDL_GetError() << std::endl;
        return "";
    }
    debug << "screenshot " << path << std::endl;
    return path;
}
