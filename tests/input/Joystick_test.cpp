#include "input/Joystick.h"

#include <gtest/gtest.h>

namespace {

// No SDL joystick subsystem runs in the tests, so every joystick is absent
// and only what the test hands it through SetState moves it.
TEST(Joystick, AxesScaleFullDeflectionToMinusOneAndJustUnderOne) {
    Joystick stick(0);
    stick.SetState(-32768, 32767, 0);
    EXPECT_EQ(stick.x, -1.0f);
    EXPECT_EQ(stick.y, 32767.0f / 32768.0f);
    stick.SetState(0, -16384, 0);
    EXPECT_EQ(stick.x, 0.0f);
    EXPECT_EQ(stick.y, -0.5f);
}

TEST(Joystick, ButtonPressLastsOneFrameButtonDownAsLongAsHeld) {
    Joystick stick(0);
    stick.SetState(0, 0, 1 << 3);
    EXPECT_TRUE(stick.ButtonPress(3));
    EXPECT_TRUE(stick.ButtonDown(3));
    stick.SetState(0, 0, 1 << 3);
    EXPECT_FALSE(stick.ButtonPress(3)) << "still held: not pressed again";
    EXPECT_TRUE(stick.ButtonDown(3));
    stick.SetState(0, 0, 0);
    EXPECT_FALSE(stick.ButtonDown(3));
    stick.SetState(0, 0, 1 << 3);
    EXPECT_TRUE(stick.ButtonPress(3)) << "a new press";
}

TEST(Joystick, OnlyTenButtonsAreRead) {
    Joystick stick(0);
    stick.SetState(0, 0, ~0);
    EXPECT_EQ(stick.buttons, 0x3FF);
    EXPECT_TRUE(stick.ButtonDown(9));
    EXPECT_FALSE(stick.ButtonDown(10));
    EXPECT_FALSE(stick.ButtonPress(-1));
    EXPECT_FALSE(stick.ButtonDown(40)) << "no shift past the width of the bit set";
}

TEST(Joystick, AnAbsentJoystickStaysStill) {
    Joystick stick(1);
    EXPECT_FALSE(stick.present);
    EXPECT_EQ(stick.handle, nullptr);
    EXPECT_EQ(stick.id, 1);
    stick.Update();
    EXPECT_EQ(stick.x, 0.0f);
    EXPECT_EQ(stick.buttons, 0);
    EXPECT_FALSE(stick.ButtonDown(0));
}

TEST(Joystick, AButtonTappedBetweenTwoFramesCountsOnce) {
    Joystick stick(0);
    stick.Latch(9);
    stick.SetState(0, 0, 0);
    EXPECT_TRUE(stick.ButtonPress(9));
    stick.SetState(0, 0, 0);
    EXPECT_FALSE(stick.ButtonDown(9));
    stick.Latch(Joystick::BUTTON_COUNT);
    stick.SetState(0, 0, 0);
    EXPECT_EQ(stick.buttons, 0);
}

}  // namespace
