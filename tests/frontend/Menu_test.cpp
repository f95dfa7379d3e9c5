#include "frontend/Menu.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "core/Display.h"
#include "core/System.h"
#include "frontend/Choice.h"
#include "frontend/MainMenu.h"
#include "frontend/String3D.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"
#include "render/Material.h"
#include "support/GLContext.h"
#include "support/ScratchDir.h"
#include "support/TraceCapture.h"

namespace {

const int UP = -32768;
const int DOWN = 32767;

// Puts the game's devices in a known state around each test, and offers one
// frame of input at a time. The display is 640x480 unless a test says otherwise.
class Devices {
public:
    Devices() : system(System::instance()), saved(system->display) {
        system->display = &display;
        display.width = 640;
        display.height = 480;
        Reset();
    }
    ~Devices() {
        Reset();
        system->display = saved;
    }
    Devices(const Devices&) = delete;
    Devices& operator=(const Devices&) = delete;

    // One frame of the keyboard with exactly these keys down.
    void Keys(std::initializer_list<int> down) {
        unsigned char state[Keyboard::KEY_COUNT] = {};
        for (int key : down) state[key] = 1;
        system->keyboard->SetState(state);
    }
    void Stick(int j, int y, int buttons = 0) { system->joystick[j]->SetState(0, y, buttons); }
    Mouse& mouse() { return *system->mouse; }

    System* system;
    Display display;

private:
    void Reset() {
        mouse().ModeRel();
        mouse().SetPos(320, 200);
        mouse().Still();
        mouse().buttons = 0;
        for (int frame = 0; frame < 2; ++frame) {
            Keys({});
            Stick(0, 0);
            Stick(1, 0);
        }
    }

    Display* saved;
};

// A menu laid out like the main menu, without its material files: "Start"
// is chosen by the mouse over x 156..604, y 136..224 of a 480-pixel-high
// window, "Quit" over x 156..514, y 236..324.
class MenuTest : public ::testing::Test {
protected:
    MenuTest() {
        menu.choices.Add(new Choice("Start", 200, 300, nullptr));
        menu.choices.Add(new Choice("Quit", 200, 200, nullptr));
    }

    // A mouse that moved this frame to (x, y).
    void MouseTo(int x, int y) {
        devices.mouse().SetPos(x, y + 1);
        devices.mouse().SetPos(x, y);
    }
    int SelectionAt(int x, int y) {
        MouseTo(x, y);
        menu.Update();
        return menu.selection;
    }

    Devices devices;
    Menu menu;
};

TEST(Choice, TheRectangleIsNinetyUnitsPerLetter) {
    TraceCapture trace;
    const Choice start("Start", 200, 300, nullptr);
    EXPECT_EQ(start.top, 300);
    EXPECT_EQ(start.left, 200);
    EXPECT_EQ(start.bottom, 210);
    EXPECT_EQ(start.right, 650);
    ASSERT_NE(start.text, nullptr);
    EXPECT_EQ(start.text->length, 5);
    EXPECT_FLOAT_EQ(start.text->scale(0, 0), 3);
    EXPECT_TRUE(trace.Has("t=300 b=210 l=200 r=650\n"));

    const Choice cut(std::string(120, 'x').c_str(), -10, 0, nullptr);
    EXPECT_EQ(cut.right, -10 + 90 * 100) << "only the letters kept";
}

TEST_F(MenuTest, AStillMouseLeavesTheFirstEntrySelected) {
    menu.Update();
    EXPECT_EQ(menu.selection, 0);
    EXPECT_FALSE(devices.mouse().absolute);
    menu.selection = 1;
    menu.Update();
    EXPECT_EQ(menu.selection, 1) << "only a missing selection is raised";
    EXPECT_FALSE(menu.activated);

    Menu empty;
    empty.Update();
    EXPECT_EQ(empty.selection, -1) << "no first entry to select";
}

TEST_F(MenuTest, AMovingMouseTakesOverAndSelectsTheEntryUnderIt) {
    EXPECT_EQ(SelectionAt(300, 180), 0);
    EXPECT_TRUE(devices.mouse().absolute);
    EXPECT_EQ(SelectionAt(300, 280), 1);
    EXPECT_EQ(SelectionAt(300, 230), -1) << "between the entries";
    devices.mouse().Still();
    menu.Update();
    EXPECT_TRUE(devices.mouse().absolute) << "a mouse that stops keeps its cursor";
    EXPECT_EQ(menu.selection, -1);

    // The rectangles' edges belong to neither side.
    EXPECT_EQ(SelectionAt(155, 180), -1);
    EXPECT_EQ(SelectionAt(156, 180), 0);
    EXPECT_EQ(SelectionAt(604, 180), 0);
    EXPECT_EQ(SelectionAt(605, 180), -1);
    EXPECT_EQ(SelectionAt(300, 135), -1);
    EXPECT_EQ(SelectionAt(300, 136), 0);
    EXPECT_EQ(SelectionAt(300, 224), 0);
    EXPECT_EQ(SelectionAt(300, 225), -1);
    EXPECT_EQ(SelectionAt(514, 300), 1);
    EXPECT_EQ(SelectionAt(515, 300), -1) << "\"Quit\" is one letter shorter";
}

TEST_F(MenuTest, TheMouseRectanglesFollowTheWindowHeight) {
    devices.display.height = 600;
    EXPECT_EQ(SelectionAt(300, 180), -1);
    EXPECT_EQ(SelectionAt(300, 300), 0);
    EXPECT_EQ(SelectionAt(300, 400), 1);
}

TEST_F(MenuTest, AMouseButtonOverAnEntryChoosesIt) {
    TraceCapture trace;
    devices.mouse().buttons = SDL_BUTTON(SDL_BUTTON_LEFT);
    SelectionAt(300, 230);
    EXPECT_FALSE(menu.activated) << "a click between the entries";

    devices.mouse().buttons = SDL_BUTTON(SDL_BUTTON_RIGHT);
    SelectionAt(300, 280);
    EXPECT_TRUE(menu.activated);
    EXPECT_EQ(menu.selection, 1);
    EXPECT_TRUE(trace.Has("MENU: Pressed R Mouse button\n"));
    EXPECT_FALSE(trace.Has("MENU: Pressed L Mouse button"));
}

TEST_F(MenuTest, ArrowsMoveOneEntryPerPressWithinTheList) {
    menu.Update();
    devices.Keys({SDLK_DOWN});
    menu.Update();
    EXPECT_EQ(menu.selection, 1);
    menu.Update();
    EXPECT_EQ(menu.selection, 1);
    devices.Keys({SDLK_DOWN});
    menu.Update();
    EXPECT_EQ(menu.selection, 1) << "a held key does not repeat";
    devices.Keys({});
    devices.Keys({SDLK_DOWN});
    menu.Update();
    EXPECT_EQ(menu.selection, 1) << "the last entry stays selected";
    devices.Keys({SDLK_UP});
    menu.Update();
    EXPECT_EQ(menu.selection, 0);
    devices.Keys({});
    devices.Keys({SDLK_UP});
    menu.Update();
    EXPECT_EQ(menu.selection, 0);
    EXPECT_FALSE(menu.activated);
}

TEST_F(MenuTest, AnArrowOrAStickGivesTheKeyboardBackFromTheMouse) {
    SelectionAt(300, 230);
    ASSERT_TRUE(devices.mouse().absolute);
    devices.mouse().Still();
    devices.Keys({SDLK_DOWN});
    menu.Update();
    EXPECT_FALSE(devices.mouse().absolute);
    EXPECT_EQ(menu.selection, 0);

    SelectionAt(300, 280);
    devices.mouse().Still();
    devices.Stick(0, UP);
    menu.Update();
    EXPECT_FALSE(devices.mouse().absolute);
    EXPECT_EQ(menu.selection, 0);
}

TEST_F(MenuTest, ReturnOrKeypadEnterChoosesTheSelectedEntry) {
    for (int key : {SDLK_RETURN, SDLK_KP_ENTER}) {
        TraceCapture trace;
        menu.activated = false;
        SelectionAt(300, 280);
        ASSERT_TRUE(devices.mouse().absolute);
        devices.mouse().Still();
        devices.Keys({key});
        menu.Update();
        EXPECT_TRUE(menu.activated) << key;
        EXPECT_EQ(menu.selection, 1) << "the entry chosen";
        EXPECT_FALSE(devices.mouse().absolute);
        EXPECT_TRUE(trace.Has("MENU:  Pressed keyboard key\n"));
        devices.Keys({});
    }
}

// With the mouse pointing between the entries nothing is selected; a key or
// button then chooses nothing rather than leaving the owner an entry of -1.
TEST_F(MenuTest, NothingSelectedNothingChosen) {
    TraceCapture trace;
    SelectionAt(300, 230);
    devices.mouse().Still();
    devices.Keys({SDLK_RETURN, SDLK_KP_ENTER});
    devices.Stick(0, 0, 1);
    menu.Update();
    EXPECT_FALSE(menu.activated);
    EXPECT_EQ(menu.selection, -1);
    EXPECT_TRUE(devices.mouse().absolute);
    EXPECT_FALSE(trace.Has("MENU:"));
}

TEST_F(MenuTest, AHeldStickMovesEveryFrame) {
    menu.choices.Add(new Choice("x", 0, 100, nullptr));
    menu.choices.Add(new Choice("y", 0, 0, nullptr));
    menu.Update();
    for (int frame = 0; frame < 3; ++frame) {
        devices.Stick(1, DOWN);
        menu.Update();
    }
    EXPECT_EQ(menu.selection, 3);
    devices.Stick(1, DOWN);
    menu.Update();
    EXPECT_EQ(menu.selection, 3) << "bounded by the list";
    devices.Stick(1, 0);
    for (int frame = 0; frame < 2; ++frame) {
        devices.Stick(0, UP);
        menu.Update();
    }
    EXPECT_EQ(menu.selection, 1);

    // Half way is not yet a push.
    devices.Stick(0, -16384);
    devices.Stick(1, 16384);
    menu.Update();
    EXPECT_EQ(menu.selection, 1);
    EXPECT_FALSE(menu.activated);
}

TEST_F(MenuTest, AJoystickButtonChoosesTheSelectedEntry) {
    TraceCapture trace;
    menu.Update();
    devices.Stick(1, 0, 1 << 7);
    menu.Update();
    EXPECT_TRUE(menu.activated);
    EXPECT_EQ(menu.selection, 0);
    EXPECT_TRUE(trace.Has("MENU:  Pressed joystick 1 button\n"));
    EXPECT_FALSE(trace.Has("joystick 0"));
}

class MainMenuTest : public ::testing::Test {
protected:
    ScratchDir dir;
    Devices devices;
};

TEST_F(MainMenuTest, TheMatchesTheSkillAndQuitWithOnePlayerSelected) {
    const std::string material = "-\n1 1\nambi 0.2 0.2 0.2\ndiff 1 1 1\nemis 0 0 0\n"
                                 "specular 0 0 0\nshine 0\n";
    ScratchDir::Write("materials/menutext1.mat", material);
    ScratchDir::Write("materials/menutext2.mat", material);
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
    ASSERT_NE(mainMenu.normalMaterial, nullptr);
    EXPECT_EQ(mainMenu.normalMaterial->fileName, "materials/menutext1.mat");
    EXPECT_EQ(mainMenu.highlightMaterial->fileName, "materials/menutext2.mat");
    const DArray<Material*>& registry = devices.display.materials;
    ASSERT_EQ(registry.count, 2);
    EXPECT_EQ(registry[0], mainMenu.normalMaterial);
    EXPECT_EQ(registry[1], mainMenu.highlightMaterial);

    Menu& menu = mainMenu;
    for (int i = 0; i < 4; ++i) {
        devices.Keys({});
        devices.Keys({SDLK_DOWN});
        menu.Update();
    }
    devices.Keys({SDLK_RETURN});
    menu.Update();
    EXPECT_TRUE(menu.activated);
    EXPECT_EQ(menu.selection, MainMenu::QUIT);
}

class MenuDraw : public GLTest {
protected:
    Devices devices;
};

TEST_F(MenuDraw, PlacesEachTextAtItsEntryAndEndsOnTheNormalMaterial) {
    Material normal;
    Material highlight;
    Menu menu;
    menu.normalMaterial = &normal;
    menu.highlightMaterial = &highlight;
    menu.choices.Add(new Choice("Start", 200, 300, nullptr));
    menu.choices.Add(new Choice("Quit", 200, 200, nullptr));
    menu.selection = 1;
    menu.Draw();
    EXPECT_EQ(menu.choices[0]->text->position, Vector3(200, 300, 0));
    EXPECT_EQ(menu.choices[1]->text->position, Vector3(200, 200, 0));
    EXPECT_FLOAT_EQ(menu.choices[1]->text->world(3, 1), 200) << "updated after placing";
    EXPECT_EQ(devices.display.currentMaterial, &normal);
}

}  // namespace
