// The game's icon for the desktop's menus: a sunset over water behind two
// crossed quarterstaves, in a gold ring, drawn at every size the icon
// theme looks for.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "content/Content.h"
#include "content/PngWriter.h"

namespace content {

namespace {

struct Colour {
    float r, g, b, a;
};

Colour Mix(const Colour& x, const Colour& y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
            x.a + (y.a - x.a) * t};
}

// Distance from (u, v) to the segment a-b.
float ToSegment(float u, float v, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(u - ax - t * dx, v - ay - t * dy);
}

// The icon at one point, u right and v down, both 0..1.
Colour Paint(float u, float v) {
    const float r = std::hypot(u - 0.5f, v - 0.5f);
    if (r > 0.48f) return {0, 0, 0, 0};
    if (r > 0.465f) return {0.25f, 0.12f, 0.05f, 1};
    if (r > 0.425f) {
        const float shine = 0.75f + 0.25f * (0.5f - v) / 0.5f;  // lit from above
        return {0.95f * shine, 0.72f * shine, 0.25f * shine, 1};
    }
    const float horizon = 0.64f;
    Colour c;
    if (v < horizon) {
        c = Mix({0.98f, 0.62f, 0.2f, 1}, {0.85f, 0.25f, 0.3f, 1}, v / horizon);
        const float sun = std::hypot(u - 0.5f, v - 0.6f);
        if (sun < 0.15f) c = {1, 0.92f, 0.6f, 1};
    } else {
        c = Mix({0.15f, 0.22f, 0.45f, 1}, {0.05f, 0.08f, 0.2f, 1}, (v - horizon) / (1 - horizon));
        // The sun's broken reflection: streaks that narrow with depth.
        const float width = 0.13f - 0.3f * (v - horizon);
        const bool streak = std::fmod((v - horizon) * 40, 1.0f) < 0.55f;
        if (streak && std::fabs(u - 0.5f) < width) c = Mix(c, {1, 0.8f, 0.45f, 1}, 0.7f);
    }
    // Two staves, dark against the sky, with gold bands at their ends.
    const float staves[2][4] = {{0.24f, 0.22f, 0.76f, 0.8f}, {0.76f, 0.22f, 0.24f, 0.8f}};
    for (const auto& s : staves) {
        if (ToSegment(u, v, s[0], s[1], s[2], s[3]) > 0.036f) continue;
        const float along = std::hypot(u - s[0], v - s[1]) / std::hypot(s[2] - s[0], s[3] - s[1]);
        c = along < 0.1f || along > 0.9f ? Colour{0.95f, 0.75f, 0.3f, 1}
                                         : Colour{0.16f, 0.09f, 0.06f, 1};
    }
    return c;
}

void WriteIcon(const std::string& path, int size) {
    const int samples = 4;  // per side of a pixel, for smooth edges
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Colour sum{0, 0, 0, 0};
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const Colour c = Paint((x + (sx + 0.5f) / samples) / size,
                                           (y + (sy + 0.5f) / samples) / size);
                    // Summed premultiplied, so that edges do not darken.
                    sum = {sum.r + c.r * c.a, sum.g + c.g * c.a, sum.b + c.b * c.a, sum.a + c.a};
                }
            }
            uint8_t* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
            const float a = sum.a / (samples * samples);
            const float unpremultiply = sum.a > 0 ? 1 / sum.a : 0;
            p[0] = static_cast<uint8_t>(sum.r * unpremultiply * 255 + 0.5f);
            p[1] = static_cast<uint8_t>(sum.g * unpremultiply * 255 + 0.5f);
            p[2] = static_cast<uint8_t>(sum.b * unpremultiply * 255 + 0.5f);
            p[3] = static_cast<uint8_t>(a * 255 + 0.5f);
        }
    }
    Png::Write(path, size, size, rgba);
}

}  // namespace

void WriteIcons(const std::string& dir) {
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const std::string sized = std::to_string(size) + "x" + std::to_string(size);
        const std::string apps = dir + "/hicolor/" + sized + "/apps";
        std::filesystem::create_directories(apps);
        WriteIcon(apps + "/korvanthe.png", size);
    }
}

}  // namespace content
