#include "frontend/Backdrop.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "support/DisplayGuard.h"
#include "support/GLContext.h"

using BackdropTest = GLTest;

// The still behind a menu is the window as it was drawn, pixel for pixel,
// and darkened by the shade the menu asks for: taken, or held in the window
// for the frame it was drawn in.
TEST_F(BackdropTest, DrawsBackTheWindowItTookDarkenedByTheShade) {
    DisplayGuard display(WIDTH, HEIGHT);
    std::vector<std::uint8_t> drawn(WIDTH * HEIGHT * 3);
    std::mt19937 random(7);
    for (auto& byte : drawn) byte = static_cast<std::uint8_t>(random());
    for (const bool held : {false, true}) {
        for (const float shade : {0.0f, 0.5f}) {
            Backdrop backdrop;
            glDisable(GL_DEPTH_TEST);  // the last still drawn left it on
            glDrawPixels(WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, drawn.data());
            if (held) {
                backdrop.Hold();
            } else {
                backdrop.Capture();
                glClear(GL_COLOR_BUFFER_BIT);
            }
            backdrop.Draw(shade);
            std::vector<std::uint8_t> shown(drawn.size());
            glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, shown.data());
            for (size_t i = 0; i < drawn.size(); ++i) {
                ASSERT_NEAR(shown[i], drawn[i] * (1 - shade), 1) << "byte " << i << ", shade " << shade << ", held " << held;
            }
        }
    }
}
