#include "frontend/Menu.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/Choice.h"
#include "frontend/MainMenu.h"
#include "frontend/String3D.h"
#include "input/Joystick.h"
#include "input/Mouse.h"
#include "render/Material.h"
#include "support/DisplayGuard.h"
#include "support/Keys.h"
#include "support/RenderFiles.h"

namespace {

// The game's devices still and a 640x480 display around each test, and a
// menu laid out like the main menu without its material files: "Start" is
// chosen by the mouse over x 156..604, y 136..224 of the window, "Quit" over
// x 156..514, y 236..324.
class MenuTest : public ::testing::Test {
protected:
    MenuTest() {
        Reset();
        menu.choices.Add(new Choice("Start", 200, 300, nullptr));
        menu.choices.Add(new Choice("Quit", 200, 200, nullptr));
    }
    ~MenuTest() override { Reset(); }
    void Reset() {
        mouse.ModeRel();
        mouse.Still();
        mouse.buttons = 0;
        for (int frame = 0; frame < 2; ++frame) Frame({}, 0, 0);
    }
    // One frame of input: keys newly down, the sticks' y and joystick 1's buttons.
    void Frame(const std::vector<int>& keys, int stick0, int stick1, int buttons = 0) {
        mouse.Still();
        KeysDown({});
        KeysDown(keys);
        System::instance()->joystick[0]->SetState(0, stick0, 0);
        System::instance()->joystick[1]->SetState(0, stick1, buttons);
    }
    // A mouse that moved this frame to (x, y).
    int SelectionAt(int x, int y) {
        mouse.SetPos(x, y + 1);
        mouse.SetPos(x, y);
        menu.Update();
        return menu.selection;
    }

    DisplayGuard display{640, 480};
    Mouse& mouse = *System::instance()->mouse;
    Menu menu;
};

TEST_F(MenuTest, AMovingMouseSelectsTheEntryUnderItWhoseEdgesBelongToNeitherSide) {
    menu.Update();
    EXPECT_EQ(menu.selection, 0) << "a still mouse leaves the first entry selected";
    const struct {
        int x, y, height, selection;
    } points[] = {
        {300, 180, 480, 0},  {300, 280, 480, 1},  {300, 230, 480, -1},  // between the entries
        {155, 180, 480, -1}, {156, 180, 480, 0},  {604, 180, 480, 0},   {605, 180, 480, -1},
        {300, 135, 480, -1}, {300, 136, 480, 0},  {300, 224, 480, 0},   {300, 225, 480, -1},
        {514, 300, 480, 1},  {515, 300, 480, -1},  // "Quit" is one letter shorter
        {300, 180, 600, -1}, {300, 300, 600, 0},  {300, 400, 600, 1},   // a taller window
    };
    for (const auto& p : points) {
        display->height = p.height;
        EXPECT_EQ(SelectionAt(p.x, p.y), p.selection) << p.x << "," << p.y << " of " << p.height;
    }
    display->height = 480;
    mouse.buttons = SDL_BUTTON(SDL_BUTTON_LEFT);
    SelectionAt(300, 230);
    EXPECT_FALSE(menu.activated) << "a click between the entries chooses nothing";
    mouse.buttons = SDL_BUTTON(SDL_BUTTON_RIGHT);
    SelectionAt(300, 280);
    EXPECT_TRUE(menu.activated);
    EXPECT_EQ(menu.selection, 1);
}

TEST_F(MenuTest, KeysAndSticksMoveWithinTheListAndChooseGivingTheKeyboardBackFromTheMouse) {
    menu.choices.Add(new Choice("x", 0, 100, nullptr));
    menu.choices.Add(new Choice("y", 0, 0, nullptr));
    SelectionAt(300, 230);
    const int DOWN = 32767, UP = -32768;
    const struct {
        std::vector<int> keys;
        int stick0, stick1, buttons, selection;
        bool chosen;
    } frames[] = {
        {{SDLK_DOWN}, 0, 0, 0, 0, false},  // from nothing selected, to the first
        {{SDLK_DOWN}, 0, 0, 0, 1, false},
        {{}, 0, DOWN, 0, 2, false},        // a held stick moves every frame,
        {{}, 0, DOWN, 0, 3, false},
        {{}, 0, DOWN, 0, 3, false},        // within the list,
        {{}, UP, -16384, 0, 2, false},     // and half way is not yet a push
        {{SDLK_UP}, 0, 0, 0, 1, false},
        {{SDLK_RETURN}, 0, 0, 0, 1, true},
        {{SDLK_KP_ENTER}, 0, 0, 0, 1, true},
        {{}, 0, 0, 1 << 7, 1, true},       // any button of either joystick
    };
    for (const auto& f : frames) {
        menu.activated = false;
        Frame(f.keys, f.stick0, f.stick1, f.buttons);
        menu.Update();
        EXPECT_EQ(menu.selection, f.selection);
        EXPECT_EQ(menu.activated, f.chosen);
        EXPECT_FALSE(mouse.absolute) << "the keyboard has taken over";
    }
    Frame({SDLK_DOWN}, 0, 0);
    menu.Update();
    KeysDown({SDLK_DOWN});
    menu.Update();
    EXPECT_EQ(menu.selection, 2) << "a held key does not repeat";
    // With the mouse between the entries a key chooses nothing rather than
    // leaving the owner an entry of -1.
    SelectionAt(300, 230);
    menu.activated = false;
    Frame({SDLK_RETURN}, 0, 0, 1);
    menu.Update();
    EXPECT_FALSE(menu.activated);
}

TEST_F(MenuTest, TheMainMenuListsTheMatchesTheSkillAndQuitWithOnePlayerSelected) {
    ScratchDir dir;
    WriteFile("materials/menutext1.mat", ColourMaterial({1, 1, 1}));
    WriteFile("materials/menutext2.mat", ColourMaterial({1, 0, 0}));
    MainMenu mainMenu("skill novice");
    ASSERT_EQ(mainMenu.choices.count, 5);
    const int letters[] = {10, 11, 4, 12, 4};  // one player, two players, demo, skill novice, quit
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(mainMenu.choices[i]->text->length, letters[i]) << i;
        if (i > 0) {
            EXPECT_LT(mainMenu.choices[i]->top, mainMenu.choices[i - 1]->top) << i;
        }
    }
    EXPECT_EQ(mainMenu.selection, MainMenu::ONE_PLAYER);
    mainMenu.SetSkill("skill legend");
    EXPECT_EQ(mainMenu.choices[MainMenu::SKILL]->text->length, 12);
    Material normal;
    mainMenu.normalMaterial = &normal;
    mainMenu.Draw();
    EXPECT_EQ(display->currentMaterial, &normal) << "the drawing ends on the normal material";
}

}  // namespace
