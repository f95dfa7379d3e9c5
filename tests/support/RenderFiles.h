#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "math/Vector3.h"
#include "support/DisplayGuard.h"
#include "support/ScratchDir.h"

// A scratch working directory and a display of its own: the files a test
// writes are the only ones the loaders see, and the textures and materials
// it registers go with it.
struct RenderScratch {
    ScratchDir dir;  // entered first, left last
    DisplayGuard display;
};

// An untextured material in the short form: `colour` lit, `glow` emitted.
inline std::string ColourMaterial(const Vector3& colour, const Vector3& glow = {}) {
    std::ostringstream out;
    out << "- 1 1 ambi " << colour.x * 0.2f << ' ' << colour.y * 0.2f << ' ' << colour.z * 0.2f
        << " diff " << colour.x << ' ' << colour.y << ' ' << colour.z << " emis " << glow.x << ' '
        << glow.y << ' ' << glow.z << " spec 0 0 0 shine 0\n";
    return out.str();
}

// A long-form material that keeps the meshes' own texture coordinates and is
// lit by its emission alone, so that it shows its image (or, untextured, the
// emission colour) unchanged.
inline std::string FlatMaterial(const std::string& image, const Vector3& emission = {1, 1, 1}) {
    std::ostringstream out;
    out << image << " 1 1 0 0 NONE false false ambi 0 0 0 diff 0 0 0 emis " << emission.x << ' '
        << emission.y << ' ' << emission.z << " spec 0 0 0 shine 0";
    return out.str();
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
    std::vector<std::uint8_t> out = {'B', 'M'};
    auto put = [&out](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back((value >> (8 * i)) & 0xFF);
    };
    // The file header, then the 40-byte header of an uncompressed image.
    put(offset + stride * height, 4); put(0, 4); put(offset, 4); put(40, 4);
    put(width, 4); put(height, 4); put(1, 2); put(bits, 2); put(0, 4);
    put(stride * height, 4); put(2835, 4); put(2835, 4); put(palette.size(), 4); put(0, 4);
    for (std::uint32_t colour : palette) put(colour, 4);
    for (int y = height - 1; y >= 0; --y) {
        out.insert(out.end(), pixels.begin() + y * rowBytes, pixels.begin() + (y + 1) * rowBytes);
        out.insert(out.end(), stride - rowBytes, 0);
    }
    WriteFile(path, "");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
}

// A 2 × 2 image of one colour in "images/".
inline void WriteSolidBmp(const std::string& name, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 4; ++i) pixels.insert(pixels.end(), {b, g, r});
    WriteBmp("images/" + name, 2, 2, 24, pixels);
}
