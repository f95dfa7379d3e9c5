#include "core/Options.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "core/System.h"
#include "input/Keyboard.h"

namespace {

void Frame(std::initializer_list<int> down) {
    unsigned char state[Keyboard::KEY_COUNT] = {};
    for (int key : down) state[key] = 1;
    System::instance()->keyboard->SetState(state);
}

TEST(Options, FunctionKeysCycleOncePerPress) {
    Options opts("options.txt");
    EXPECT_EQ(opts.detail, 0);
    EXPECT_EQ(opts.shadows, 1);
    EXPECT_EQ(opts.slowMotion, 0);

    Frame({});
    for (int frame = 0; frame < 5; ++frame) {
        Frame({SDLK_F9});
        opts.Update();
    }
    EXPECT_EQ(opts.detail, 1) << "F9 held for five frames advances once";

    for (int press = 0; press < 2; ++press) {
        Frame({});
        Frame({SDLK_F9, SDLK_F10, SDLK_F5});
        opts.Update();
    }
    EXPECT_EQ(opts.detail, 0) << "detail wraps from 2 to 0";
    EXPECT_EQ(opts.shadows, 0);
    EXPECT_EQ(opts.slowMotion, 0) << "F5 toggles";

    opts.slowMotion = 2;  // the end of a bout slows the game
    Frame({});
    Frame({SDLK_F5});
    opts.Update();
    EXPECT_EQ(opts.slowMotion, -1) << "which F5 undoes to normal speed";
}

}  // namespace
