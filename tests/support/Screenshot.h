#pragma once

#include <GL/gl.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "support/GLContext.h"

// The colour of one window pixel, y up.
struct Pixel {
    int r, g, b;
    int Sum() const { return r + g + b; }
};
inline Pixel ReadPixel(int x, int y) {
    std::uint8_t rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
}

// How many window pixels have a channel brighter than `level`.
inline int CountBrighter(int level) {
    std::vector<std::uint8_t> rgb(GLTest::WIDTH * GLTest::HEIGHT * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GLTest::WIDTH, GLTest::HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    int n = 0;
    for (size_t i = 0; i < rgb.size(); i += 3) n += std::max({rgb[i], rgb[i + 1], rgb[i + 2]}) > level;
    return n;
}
