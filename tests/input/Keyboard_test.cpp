#include "input/Keyboard.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

// Feeds the keyboard one frame with exactly the given keys down.
void Frame(Keyboard& keyboard, std::initializer_list<int> down) {
    unsigned char state[Keyboard::KEY_COUNT] = {};
    for (int key : down) state[key] = 1;
    keyboard.SetState(state);
}

TEST(Keyboard, AHeldKeyIsPressedOnlyInItsFirstFrame) {
    Keyboard keyboard;
    Frame(keyboard, {SDLK_F9});
    EXPECT_TRUE(keyboard.Pressed(SDLK_F9));
    Frame(keyboard, {SDLK_F9});
    EXPECT_FALSE(keyboard.Pressed(SDLK_F9));
    EXPECT_TRUE(keyboard.Down(SDLK_F9));
    Frame(keyboard, {});
    Frame(keyboard, {SDLK_F9});
    EXPECT_TRUE(keyboard.Pressed(SDLK_F9));
    EXPECT_FALSE(keyboard.Down(-1));
    EXPECT_FALSE(keyboard.Down(Keyboard::KEY_COUNT));
}

TEST(Keyboard, CharDownReportsTheLowestNewKeyBelow256) {
    Keyboard keyboard;
    Frame(keyboard, {SDLK_x, SDLK_b});
    EXPECT_EQ(keyboard.CharDown(), 'b');
    Frame(keyboard, {SDLK_x, SDLK_b});
    EXPECT_EQ(keyboard.CharDown(), 0) << "held keys are not typed again";
    Frame(keyboard, {SDLK_UP, SDLK_F1, SDLK_KP5, SDLK_LSHIFT});
    EXPECT_EQ(keyboard.CharDown(), 0) << "arrows, F-keys, keypad and modifiers lie above 255";
    Frame(keyboard, {SDLK_RETURN});
    EXPECT_EQ(keyboard.CharDown(), 'R');
}

TEST(Keyboard, TableCoversTheHundredKeys) {
    const Keyboard keyboard;
    int set = 0;
    for (int key = 0; key < Keyboard::KEY_COUNT; ++key) set += ktable[key] != 0;
    EXPECT_EQ(set, 100);
    EXPECT_EQ(ktable[SDLK_KP7], '7');
    EXPECT_EQ(ktable[SDLK_F12], 12);
    EXPECT_EQ(ktable[SDLK_LEFT], 22);
    EXPECT_EQ(ktable[SDLK_KP_ENTER], 'R');
    EXPECT_EQ(ktable[SDLK_CAPSLOCK], '~');
    EXPECT_EQ(ktable[SDLK_RSUPER], 'W');
}

TEST(Keyboard, Modifiers) {
    Keyboard keyboard;
    Frame(keyboard, {SDLK_RSHIFT, SDLK_LALT});
    EXPECT_TRUE(keyboard.Shift());
    EXPECT_TRUE(keyboard.Alt());
    EXPECT_FALSE(keyboard.Control());
}

// A tap between two polls is seen by the latch alone; a press the poll also
// sees is not counted twice.
TEST(Keyboard, ATapBetweenTwoFramesCountsOnce) {
    Keyboard keyboard;
    Frame(keyboard, {});
    keyboard.Latch(SDLK_F3);
    Frame(keyboard, {});
    EXPECT_TRUE(keyboard.Pressed(SDLK_F3));
    Frame(keyboard, {});
    EXPECT_FALSE(keyboard.Down(SDLK_F3));
    keyboard.Latch(SDLK_g);
    Frame(keyboard, {SDLK_g});
    Frame(keyboard, {SDLK_g});
    EXPECT_FALSE(keyboard.Pressed(SDLK_g));
    keyboard.Latch(-1);
    keyboard.Latch(Keyboard::KEY_COUNT);
}

}  // namespace
