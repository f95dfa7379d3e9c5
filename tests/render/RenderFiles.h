#pragma once

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/Display.h"
#include "core/System.h"
#include "core/Trace.h"
#include "render/Texture.h"
#include "support/ScratchDir.h"
#include "support/TraceCapture.h"

// A scratch working directory with "materials/" and "images/" (the paths in
// material files are relative), and a display of its own whose texture list
// starts empty, so that no test reuses another test's images. Both are undone
// on destruction.
class RenderScratch {
public:
    RenderScratch() : savedDisplay(System::instance()->display) {
        System::instance()->display = new Display();
        std::filesystem::create_directory("materials");
        std::filesystem::create_directory("images");
    }
    ~RenderScratch() {
        Display* display = System::instance()->display;
        for (int i = 0; i < display->textures.count; ++i) {
            SDL_FreeSurface(display->textures[i]->surface);
            delete display->textures[i];
        }
        delete display;
        System::instance()->display = savedDisplay;
    }
    RenderScratch(const RenderScratch&) = delete;
    RenderScratch& operator=(const RenderScratch&) = delete;

private:
    ScratchDir dir;  // entered first, left last
    Display* savedDisplay;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

// Writes an uncompressed BMP of 1, 4, 8, 24 or 32 bits a pixel. `pixels` holds
// the rows top row first, each packed to (width × bits + 7) / 8 bytes in file
// byte order (blue, green, red); the file keeps them bottom-up, padded to four
// bytes. Palette entries are 0xRRGGBB; images of 8 bits or fewer get a grey
// ramp when none is given.
inline void WriteBmp(const std::string& path, int width, int height, int bits,
                     const std::vector<std::uint8_t>& pixels,
                     std::vector<std::uint32_t> palette = {}) {
    if (bits <= 8 && palette.empty()) {
        const int colours = 1 << bits;
        for (int i = 0; i < colours; ++i) {
            const std::uint32_t grey = i * 255 / (colours - 1);
            palette.push_back(grey << 16 | grey << 8 | grey);
        }
    }
    const int rowBytes = (width * bits + 7) / 8;
    const int stride = (rowBytes + 3) & ~3;
    const int offset = 14 + 40 + 4 * static_cast<int>(palette.size());
    std::vector<std::uint8_t> out;
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back((value >> (8 * i)) & 0xFF);
    };
    out.push_back('B');
    out.push_back('M');
    put(offset + stride * height, 4);
    put(0, 4);
    put(offset, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(bits, 2);
    put(0, 4);  // uncompressed
    put(stride * height, 4);
    put(2835, 4);
    put(2835, 4);
    put(static_cast<std::uint32_t>(palette.size()), 4);
    put(0, 4);
    for (std::uint32_t colour : palette) put(colour, 4);
    for (int y = height - 1; y >= 0; --y) {
        out.insert(out.end(), pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
        out.insert(out.end(), stride - rowBytes, 0);
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}
