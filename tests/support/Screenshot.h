#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Keeps the window for a person to look at when E2E_SHOTS names a folder.
inline void SaveShot(const std::string& name, int width, int height) {
    const char* dir = std::getenv("E2E_SHOTS");
    if (dir == nullptr || *dir == '\0') return;
    std::filesystem::create_directories(dir);
    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::ofstream out(std::string(dir) + "/" + name + ".ppm", std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (int y = height - 1; y >= 0; --y) {
        out.write(reinterpret_cast<const char*>(&rgb[static_cast<size_t>(y) * width * 3]),
                  width * 3);
    }
}

// The colour of one window pixel, y up.
struct Pixel {
    int r, g, b;
};
inline Pixel ReadPixel(int x, int y) {
    std::uint8_t rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}
