#pragma once

#include <gtest/gtest.h>

// A small SDL window with a GL context for tests that render. Opened once per
// process; a test without an X display (DISPLAY unset) is skipped.
class GLTest : public ::testing::Test {
public:
    void SetUp() override;
    // Closes the window and opens it again: a new GL context, as some
    // systems give with a new video mode.
    static bool Reopen();
    static const int WIDTH = 64;
    static const int HEIGHT = 64;
};
