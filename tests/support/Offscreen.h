#pragma once

#include <cstdint>
#include <vector>

// A colour, depth and stencil framebuffer of any size inside the test's GL
// window, bound while the object lives: whole frames render into it at the
// size the game would use.
class Offscreen {
public:
    Offscreen(int width, int height);
    ~Offscreen();
    Offscreen(const Offscreen&) = delete;
    Offscreen& operator=(const Offscreen&) = delete;

    bool complete() const { return complete_; }
    std::vector<std::uint8_t> Rgb() const;  // the pixels, bottom row first

    const int width, height;

private:
    unsigned int framebuffer = 0;
    unsigned int buffers[2] = {0, 0};
    bool complete_ = false;
};
