#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "render/Texture.h"
#include "support/ScratchDir.h"

namespace {

// A 54-byte BMP header and no pixels: 800 x 9, a bit count of 38424 and
// bit-field compression. SDL's loader accepts it and hands back a surface
// whose format does not describe its (absent) pixels.
std::string CraftedHeader() {
    std::string bytes = "BM";
    auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>(value >> (8 * i)));
    };
    put(54, 4), put(0, 4), put(54, 4);                // file size, reserved, pixel offset
    put(40, 4), put(800, 4), put(9, 4), put(1, 2);    // header size, width, height, planes
    put(38424, 2), put(3, 4), put(0, 4);              // bit count, compression, image size
    put(0, 4), put(0, 4), put(0, 4), put(0, 4);       // resolution, colours
    return bytes;
}

using TextureHeaderTest = ScratchDirTest;

TEST_F(TextureHeaderTest, ACraftedHeaderIsRefusedNotConverted) {
    WriteFile("images/crafted.bmp", CraftedHeader());
    Texture texture;
    EXPECT_FALSE(texture.Load("images/crafted.bmp"));
    EXPECT_EQ(texture.surface, nullptr);
}

}  // namespace
