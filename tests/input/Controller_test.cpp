#include "input/Controller.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "core/Clock.h"
#include "core/System.h"
#include "input/JoyController.h"
#include "input/Joystick.h"
#include "input/KbdController.h"
#include "input/Keyboard.h"
#include "support/FakeTicks.h"

namespace {

// Drives the System's keyboard, joystick 0 and game clock by hand: each
// Frame is one poll of the devices at game time t.
class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        system = System::instance();
        system->clock->SetMode(1);
        Frame(0, {});
        Frame(0, {});
        Stick(0, 0, 0);
        Stick(0, 0, 0);
    }
    void TearDown() override { system->clock->SetMode(1); }

    void Frame(int t, std::initializer_list<int> down) {
        unsigned char state[Keyboard::KEY_COUNT] = {};
        for (int key : down) state[key] = 1;
        system->keyboard->SetState(state);
        system->clock->time = t;
    }
    void Stick(int t, int axisX, int axisY, int buttons = 0) {
        system->joystick[0]->SetState(axisX, axisY, buttons);
        system->clock->time = t;
    }
    // Holds or presses `key` for a whole window and returns what it gave.
    std::string Alone(Controller& c, int key) {
        Frame(0, {key});
        c.Update();
        Frame(Controller::WINDOW_MS, {key});
        c.Update();
        const std::string letters = c.Commands();
        c.Command();
        Frame(1000, {});
        Frame(1000, {});
        c.Update();
        c.Command();
        return letters;
    }

    System* system = nullptr;
};

TEST_F(ControllerTest, InputsWithin151MsFormOneCommand) {
    KbdController c(0);
    Frame(1000, {SDLK_g});  // action 0
    c.Update();
    Frame(1100, {SDLK_g, SDLK_a});  // toward
    c.Update();
    Frame(1150, {SDLK_a});
    c.Update();
    EXPECT_STREQ(c.Commands(), "") << "150 ms after the first press the window is still open";
    EXPECT_EQ(c.Command(), 0);

    Frame(1151, {SDLK_a});
    c.Update();
    EXPECT_STREQ(c.Commands(), "fp");
    EXPECT_STREQ(c.Commands(), "fp") << "reading the letters takes nothing";
    EXPECT_EQ(c.Command(), Controller::CMD_F | Controller::CMD_P);
    EXPECT_STREQ(c.Commands(), "") << "the held direction starts a new, different command";

    Frame(1302, {SDLK_a});
    c.Update();
    EXPECT_STREQ(c.Commands(), "f");
}

TEST_F(ControllerTest, HeldGuardRepeatsWithoutWaitingOnceTaken) {
    KbdController c(0);
    Frame(0, {SDLK_t});
    c.Update();
    EXPECT_STREQ(c.Commands(), "");
    Frame(151, {SDLK_t});
    c.Update();
    EXPECT_EQ(c.Command(), Controller::CMD_G);
    EXPECT_STREQ(c.Commands(), "g") << "published again within the same frame";
    EXPECT_EQ(c.Command(), Controller::CMD_G);

    Frame(160, {});
    c.Update();
    EXPECT_EQ(c.Command(), Controller::CMD_G) << "published before the release";
    EXPECT_EQ(c.Command(), 0);
}

TEST_F(ControllerTest, OnePressIsOneCommand) {
    KbdController c(0);
    Frame(0, {SDLK_g});
    c.Update();
    Frame(151, {SDLK_g});
    c.Update();
    EXPECT_EQ(c.Command(), Controller::CMD_P);
    Frame(200, {});
    c.Update();

    // A repeat of the command just taken is published in the frame it is pressed...
    Frame(300, {SDLK_g});
    c.Update();
    EXPECT_STREQ(c.Commands(), "p");
    EXPECT_EQ(c.Command(), Controller::CMD_P);
    // ...and taking it there does not collect the same press a second time.
    EXPECT_STREQ(c.Commands(), "");
    Frame(320, {SDLK_g});
    c.Update();
    EXPECT_EQ(c.Command(), 0);
}

TEST_F(ControllerTest, APressThatMissedTheTakenCommandIsKept) {
    KbdController c(0);
    Frame(0, {SDLK_t});
    c.Update();
    Frame(151, {SDLK_t});
    c.Update();
    EXPECT_EQ(c.Command(), Controller::CMD_G);  // the guard now repeats at once

    Frame(170, {SDLK_t, SDLK_h});  // action 1 while guarding
    c.Update();
    EXPECT_EQ(c.Command(), Controller::CMD_G) << "the kick is still in its window";
    Frame(321, {SDLK_t, SDLK_h});
    c.Update();
    EXPECT_STREQ(c.Commands(), "kg");
}

TEST_F(ControllerTest, FrozenClockNeverPublishesANewCommand) {
    FakeTicks ticks;
    KbdController c(0);
    system->clock->SetMode(0);
    Frame(5000, {SDLK_s});
    for (int frame = 0; frame < 100; ++frame) {
        FakeTicks::now += 16;
        system->clock->Update();
        c.Update();
        Frame(system->clock->time, {SDLK_s, SDLK_h});
    }
    EXPECT_EQ(system->clock->time, 5000);
    EXPECT_STREQ(c.Commands(), "");
    EXPECT_EQ(c.Command(), 0);
}

TEST_F(ControllerTest, FlipMirrorsTowardAndTheSideActions) {
    KbdController c(0);
    EXPECT_EQ(Alone(c, SDLK_d), "a");
    EXPECT_EQ(Alone(c, SDLK_j), "o");
    c.SetFlip(true);
    EXPECT_EQ(Alone(c, SDLK_d), "f");
    EXPECT_EQ(Alone(c, SDLK_a), "a");
    EXPECT_EQ(Alone(c, SDLK_j), "i");
    EXPECT_EQ(Alone(c, SDLK_u), "o");
    EXPECT_EQ(Alone(c, SDLK_w), "u") << "up and down never mirror";
}

TEST_F(ControllerTest, PlayerOneIsMirroredAgainstPlayerZero) {
    KbdController c(1);
    c.SetFlip(false);
    EXPECT_EQ(Alone(c, SDLK_RIGHT), "f");
    EXPECT_EQ(Alone(c, SDLK_PAGEDOWN), "i");
    c.SetFlip(true);
    EXPECT_EQ(Alone(c, SDLK_RIGHT), "a");
    EXPECT_EQ(Alone(c, SDLK_PAGEDOWN), "o");
}

TEST_F(ControllerTest, EachPlayerHasItsOwnKeys) {
    struct Key {
        int code;
        const char* letters;
    };
    const Key player0[] = {{SDLK_d, "a"}, {SDLK_a, "f"}, {SDLK_w, "u"}, {SDLK_s, "d"},
                           {SDLK_g, "p"}, {SDLK_h, "k"}, {SDLK_t, "g"}, {SDLK_y, "t"},
                           {SDLK_j, "o"}, {SDLK_u, "i"}, {SDLK_RIGHT, ""}, {SDLK_DELETE, ""}};
    const Key player1[] = {{SDLK_RIGHT, "a"}, {SDLK_LEFT, "f"}, {SDLK_UP, "u"},
                           {SDLK_DOWN, "d"}, {SDLK_DELETE, "p"}, {SDLK_END, "k"},
                           {SDLK_INSERT, "g"}, {SDLK_HOME, "t"}, {SDLK_PAGEDOWN, "o"},
                           {SDLK_PAGEUP, "i"}, {SDLK_d, ""}, {SDLK_g, ""}};
    KbdController zero(0);
    for (const Key& key : player0) EXPECT_EQ(Alone(zero, key.code), key.letters) << key.code;
    KbdController one(1);
    // Player 1's controller is mirrored until told otherwise.
    one.SetFlip(true);
    for (const Key& key : player1) EXPECT_EQ(Alone(one, key.code), key.letters) << key.code;
}

TEST_F(ControllerTest, LettersComeInTheirFixedOrder) {
    KbdController c(0);
    EXPECT_STREQ(c.Commands(), "");
    const std::initializer_list<int> all = {SDLK_u, SDLK_j, SDLK_y, SDLK_t, SDLK_h, SDLK_g,
                      SDLK_s, SDLK_w, SDLK_d, SDLK_a};
    Frame(0, all);
    c.Update();
    Frame(151, all);
    c.Update();
    EXPECT_STREQ(c.Commands(), "faudpkgtio");
    EXPECT_EQ(c.Command(), 0xFCF) << "bits 0x10 and 0x20 are never set";
}

TEST_F(ControllerTest, JoystickNeedsTheStickPastHalfWay) {
    JoyController c(0);
    Stick(0, -16384, 16384);  // exactly half way on both axes
    c.Update();
    Stick(151, -16384, 16384);
    c.Update();
    EXPECT_STREQ(c.Commands(), "");

    Stick(200, -16385, 16385);
    c.Update();
    Stick(351, 16385, -16385);
    c.Update();
    EXPECT_STREQ(c.Commands(), "faud");
}

TEST_F(ControllerTest, JoystickButtons) {
    JoyController c(0);
    struct Button {
        int number;
        const char* letters;
    };
    const Button buttons[] = {{0, "p"}, {1, "k"}, {3, "g"}, {4, "t"}, {2, "o"}, {5, "i"},
                              {6, ""}, {9, ""}};
    for (const Button& button : buttons) {
        Stick(0, 0, 0, 1 << button.number);
        c.Update();
        Stick(151, 0, 0, 1 << button.number);
        c.Update();
        EXPECT_EQ(std::string(c.Commands()), button.letters) << "button " << button.number;
        c.Command();
        Stick(1000, 0, 0, 0);
        c.Update();
        c.Command();
    }
    c.SetFlip(true);
    Stick(0, 32767, 0, 1 << 2);
    c.Update();
    Stick(151, 32767, 0, 1 << 2);
    c.Update();
    EXPECT_STREQ(c.Commands(), "fi");
}

}  // namespace
