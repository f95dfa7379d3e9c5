#pragma once

// Procedural images written as the BMP files Texture loads:
// 8-bit greyscale (a grey ramp palette, so each byte is its own grey level)
// or 24-bit colour. Sizes should be powers of two.
//
// Rows are addressed from the TOP of the picture (y = 0 is the top edge,
// texture v = 0 in the game); the file stores them bottom-up as BMP wants.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace content {

struct Image {
    Image(int w, int h, bool colour)
        : width(w), height(h), channels(colour ? 3 : 1),
          pixels(static_cast<size_t>(w) * h * channels, 0) {}

    // Sets a pixel from floats in 0..1 (clamped); a grey image keeps r.
    void Set(int x, int y, float r, float g, float b) {
        uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * channels];
        p[0] = Byte(r);
        if (channels == 3) {
            p[1] = Byte(g);
            p[2] = Byte(b);
        }
    }
    void Set(int x, int y, float grey) { Set(x, y, grey, grey, grey); }
    // Channel c (0 red/grey, 1 green, 2 blue) as 0..1.
    float Get(int x, int y, int c = 0) const {
        return pixels[(static_cast<size_t>(y) * width + x) * channels + c] / 255.0f;
    }

    bool Write(const std::string& path) const {
        std::ofstream out(path, std::ios::binary);
        if (!out) return false;
        const uint32_t rowBytes = (static_cast<uint32_t>(width) * channels + 3) & ~3u;
        const uint32_t paletteBytes = channels == 1 ? 256 * 4 : 0;
        const uint32_t offset = 14 + 40 + paletteBytes;
        const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
        Put16(out, 0x4D42);  // "BM"
        Put32(out, offset + imageBytes);
        Put32(out, 0);
        Put32(out, offset);
        Put32(out, 40);
        Put32(out, static_cast<uint32_t>(width));
        Put32(out, static_cast<uint32_t>(height));  // positive: bottom-up rows
        Put16(out, 1);
        Put16(out, static_cast<uint16_t>(channels * 8));
        Put32(out, 0);  // no compression
        Put32(out, imageBytes);
        Put32(out, 2835);  // 72 dpi
        Put32(out, 2835);
        Put32(out, channels == 1 ? 256 : 0);
        Put32(out, 0);
        if (channels == 1)
            for (int i = 0; i < 256; ++i) Put32(out, static_cast<uint32_t>(i * 0x010101));
        std::vector<char> row(rowBytes, 0);
        for (int y = height - 1; y >= 0; --y) {
            const uint8_t* src = &pixels[static_cast<size_t>(y) * width * channels];
            for (int x = 0; x < width; ++x) {
                if (channels == 1) {
                    row[x] = static_cast<char>(src[x]);
                } else {  // BMP keeps blue, green, red
                    row[3 * x] = static_cast<char>(src[3 * x + 2]);
                    row[3 * x + 1] = static_cast<char>(src[3 * x + 1]);
                    row[3 * x + 2] = static_cast<char>(src[3 * x]);
                }
            }
            out.write(row.data(), static_cast<std::streamsize>(row.size()));
        }
        return static_cast<bool>(out);
    }

    int width, height;
    int channels;                 // 1 grey, 3 red-green-blue
    std::vector<uint8_t> pixels;  // top row first, channels interleaved

private:
    static uint8_t Byte(float v) {
        return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f);
    }
    static void Put16(std::ofstream& out, uint16_t v) {
        const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
        out.write(b, 2);
    }
    static void Put32(std::ofstream& out, uint32_t v) {
        const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
        out.write(b, 4);
    }
};

// Smooth value noise in 0..1, tiling with period `period` (cells), for
// stone, sand and water textures.
inline float Noise(float x, float y, int period, unsigned seed) {
    auto hash = [&](int i, int j) {
        i = ((i % period) + period) % period;
        j = ((j % period) + period) % period;
        uint32_t h = static_cast<uint32_t>(i) * 374761393u + static_cast<uint32_t>(j) * 668265263u +
                     seed * 2246822519u;
        h = (h ^ (h >> 13)) * 1274126177u;
        return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
    };
    const int i = static_cast<int>(std::floor(x)), j = static_cast<int>(std::floor(y));
    const float fx = x - i, fy = y - j;
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = hash(i, j) + (hash(i + 1, j) - hash(i, j)) * sx;
    const float bottom = hash(i, j + 1) + (hash(i + 1, j + 1) - hash(i, j + 1)) * sx;
    return top + (bottom - top) * sy;
}

// Several octaves of Noise, tiling over an image of `size` pixels.
inline float Fractal(int px, int py, int size, int baseCells, int octaves, unsigned seed) {
    float sum = 0, amp = 0.5f, total = 0;
    int cells = baseCells;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Noise(px * static_cast<float>(cells) / size, py * static_cast<float>(cells) / size,
                           cells, seed + static_cast<unsigned>(o) * 7919u);
        total += amp;
        amp *= 0.5f;
        cells *= 2;
    }
    return sum / total;
}

}  // namespace content
