#include "core/Options.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "support/Keys.h"

namespace {

TEST(Options, FunctionKeysCycleOncePerPress) {
    Options opts("options.txt");
    KeysDown({});
    for (int frame = 0; frame < 5; ++frame) {
        KeysDown({SDLK_F9});
        opts.Update();
    }
    EXPECT_EQ(opts.detail, 1) << "F9 held for five frames advances once";
    for (int press = 0; press < 2; ++press) {
        KeysDown({});
        KeysDown({SDLK_F9, SDLK_F10, SDLK_F5});
        opts.Update();
    }
    EXPECT_EQ(opts.detail, 0) << "detail wraps from 2 to 0";
    EXPECT_EQ(opts.shadows, 0);
    EXPECT_EQ(opts.slowMotion, 0) << "F5 toggles";
    opts.slowMotion = 2;  // the end of a bout slows the game
    Press(SDLK_F5);
    opts.Update();
    EXPECT_EQ(opts.slowMotion, -1) << "which F5 undoes to normal speed";
}

}  // namespace
