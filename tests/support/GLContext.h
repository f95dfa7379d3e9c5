#pragma once

#include <gtest/gtest.h>

// A small SDL window with a GL context for tests that render, opened once per
// process. Every test starts from the same standard state (GL's defaults on
// a 64x64 viewport, all buffers cleared to black) and leaves it behind, so
// that no test sees what another one set. Without an X display the tests
// fail: a silent skip would hide them.
class GLTest : public ::testing::Test {
public:
    // Closes the window and opens it again: a new GL context, as some
    // systems give with a new video mode.
    static bool Reopen();
    static constexpr int WIDTH = 64;
    static constexpr int HEIGHT = 64;

    void SetUp() override;
    void TearDown() override;

    // GL's defaults, the test viewport, and cleared buffers.
    static void StandardState();
};
