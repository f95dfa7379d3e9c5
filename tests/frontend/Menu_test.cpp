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
#include "support/GLContext.h"
#include "support/Keys.h"
#include "support/RenderFiles.h"

namespace {

const int UP = -32768;
const int DOWN = 32767;

// The game's devices in a known state around each test, a 640x480 display,
// and a menu laid out like the main menu without its material files:
// "Start" is chosen by the mouse over x 156..604, y 136..224 of the window,
// "Quit" over x 156..514, y 236..324.
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
        mouse.SetPos(320, 200);
        mouse.Still();
        mouse.buttons = 0;
        for (int frame = 0; frame < 2; ++frame) {
            KeysDown({});
            Stick(0, 0);
            Stick(1, 0);
        }
    }
    static void Stick(int j, int y, int buttons = 0) {
        System::instance()->joystick[j]->SetState(0, y, buttons);
    }
    // A mouse that moved this frame to (x, y).
    int SelectionAt(int x, int y) {
        mouse.SetPos(x, y + 1);
        mouse.SetPos(x, y);
        menu.Update();
        return menu.selection;
    }
    // One frame with these keys newly down and the mouse still.
    void KeyFrame(const std::vector<int>& keys) {
        mouse.Still();
        KeysDown({});
        KeysDown(keys);
        menu.Update();
    }

    DisplayGuard display{640, 480};
    Mouse& mouse = *System::instance()->mouse;
    Menu menu;
};

TEST(Choice, TheRectangleIsNinetyUnitsPerLetter) {
    const Choice start("Start", 200, 300, nullptr);
    EXPECT_EQ(start.bottom, 210);
    EXPECT_EQ(start.right, 650);
    EXPECT_EQ(start.text->length, 5);
    EXPECT_EQ(Choice(std::string(120, 'x').c_str(), -10, 0, nullptr).right, -10 + 90 * 100)
        << "only the letters kept";
}

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
        EXPECT_TRUE(mouse.absolute) << "a moving mouse takes over";
    }
    mouse.Still();
    menu.Update();
    EXPECT_TRUE(mouse.absolute) << "a mouse that stops keeps its cursor";
}

TEST_F(MenuTest, AButtonOverAnEntryChoosesItButNotBetweenThem) {
    mouse.buttons = SDL_BUTTON(SDL_BUTTON_LEFT);
    SelectionAt(300, 230);
    EXPECT_FALSE(menu.activated);
    mouse.buttons = SDL_BUTTON(SDL_BUTTON_RIGHT);
    SelectionAt(300, 280);
    EXPECT_TRUE(menu.activated);
    EXPECT_EQ(menu.selection, 1);
}

TEST_F(MenuTest, ArrowsAndSticksMoveWithinTheListAndGiveTheKeyboardBackFromTheMouse) {
    menu.choices.Add(new Choice("x", 0, 100, nullptr));
    menu.choices.Add(new Choice("y", 0, 0, nullptr));
    menu.Update();
    const struct {
        std::vector<int> keys;
        int stick0, stick1, selection;
    } frames[] = {
        {{SDLK_DOWN}, 0, 0, 1},
        {{}, 0, 0, 1},
        {{}, 0, DOWN, 2},         // a held stick moves every frame
        {{}, 0, DOWN, 3},
        {{}, 0, DOWN, 3},         // bounded by the list
        {{}, UP, 0, 2},
        {{}, -16384, 16384, 2},   // half way is not yet a push
        {{SDLK_UP}, 0, 0, 1},
        {{SDLK_UP}, 0, 0, 0},
        {{SDLK_UP}, 0, 0, 0},
    };
    for (const auto& f : frames) {
        Stick(0, f.stick0);
        Stick(1, f.stick1);
        KeyFrame(f.keys);
        EXPECT_EQ(menu.selection, f.selection);
    }
    KeyFrame({SDLK_DOWN});
    KeysDown({SDLK_DOWN});
    menu.Update();
    EXPECT_EQ(menu.selection, 1) << "a held key does not repeat";

    SelectionAt(300, 230);
    ASSERT_TRUE(mouse.absolute);
    KeyFrame({SDLK_DOWN});
    EXPECT_FALSE(mouse.absolute);
    EXPECT_EQ(menu.selection, 0) << "from nothing selected, down selects the first";
    EXPECT_FALSE(menu.activated);
}

TEST_F(MenuTest, ReturnEnterOrAJoystickButtonChooseTheSelectedEntryAndNothingWhenNoneIs) {
    const struct {
        std::vector<int> keys;
        int button;  // of joystick 1, or -1
    } choosers[] = {{{SDLK_RETURN}, -1}, {{SDLK_KP_ENTER}, -1}, {{}, 7}};
    for (const auto& c : choosers) {
        menu.activated = false;
        SelectionAt(300, 280);
        Stick(1, 0, c.button >= 0 ? 1 << c.button : 0);
        KeyFrame(c.keys);
        EXPECT_TRUE(menu.activated);
        EXPECT_EQ(menu.selection, 1);
        EXPECT_FALSE(mouse.absolute) << "the keyboard takes over";
        Stick(1, 0);
    }
    // With the mouse between the entries nothing is selected: a key or a
    // button then chooses nothing rather than leaving the owner an entry of -1.
    menu.activated = false;
    SelectionAt(300, 230);
    Stick(0, 0, 1);
    KeyFrame({SDLK_RETURN, SDLK_KP_ENTER});
    EXPECT_FALSE(menu.activated);
    EXPECT_EQ(menu.selection, -1);
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
        if (i > 0) EXPECT_LT(mainMenu.choices[i]->top, mainMenu.choices[i - 1]->top) << i;
    }
    EXPECT_EQ(mainMenu.selection, MainMenu::ONE_PLAYER);
    mainMenu.SetSkill("skill legend");
    EXPECT_EQ(mainMenu.choices[MainMenu::SKILL]->text->length, 12);
}

using MenuDraw = GLTest;

TEST_F(MenuDraw, AMenuDrawsEachTextAtItsEntryAndEndsOnTheNormalMaterial) {
    DisplayGuard display;
    Material normal, highlight;
    Menu menu;
    menu.normalMaterial = &normal;
    menu.highlightMaterial = &highlight;
    menu.choices.Add(new Choice("Start", 200, 300, nullptr));
    menu.choices.Add(new Choice("Quit", 200, 200, nullptr));
    menu.selection = 1;
    menu.Draw();
    EXPECT_EQ(menu.choices[0]->text->position, Vector3(200, 300, 0));
    EXPECT_FLOAT_EQ(menu.choices[1]->text->world(3, 1), 200) << "updated after placing";
    EXPECT_EQ(display->currentMaterial, &normal);
}

}  // namespace
