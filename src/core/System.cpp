#include "core/System.h"

#include <iostream>
#include <string>

#include "core/Clock.h"
#include "core/DataProblems.h"
#include "core/Display.h"
#include "core/Trace.h"
#include "core/UserDirs.h"
#include "core/WordReader.h"
#include "input/JoyController.h"
#include "input/Joystick.h"
#include "input/KbdController.h"
#include "input/Keyboard.h"
#include "input/Mouse.h"

System* System::instance_ = nullptr;

namespace {

// Ends start-up: the line players and their tools know, then one saying
// where the file went wrong.
[[noreturn]] void Refuse(const std::string& message, const std::string& where) {
    if (!DataProblems::collecting()) std::cerr << message;
    DataProblems::Abandon(where, 1);
}

// Reads "controllerN keyboard", "controllerN joystick" or "controllerN cpu"
// and makes the player's controller; for "cpu" there is none yet (the game
// makes the computer's once the fighters exist) and `computer` is set.
Controller* ReadController(WordReader& reader, int player, const Joystick& stick, bool& computer) {
    const std::string name = "controller" + std::to_string(player);
    if (!reader.Expect(name.c_str())) {
        Refuse("expected '" + name + "' in controllers.txt\n", reader.problem());
    }
    std::string device;
    reader.Word(device);
    computer = device == "cpu";
    if (computer) {
        debug << name << ": cpu" << std::endl;
        return nullptr;
    }
    if (device == "keyboard") {
        debug << name << ": keyboard" << std::endl;
        return new KbdController(player);
    }
    if (device != "joystick") {
        // The first line is the one players and their tools have always seen,
        // though "cpu" is a value too now.
        reader.Fail("expected 'keyboard', 'joystick' or 'cpu', found " +
                    (device.empty() ? std::string("the end of the file") : "'" + device + "'"));
        Refuse("expected 'joystick' or 'keyboard' as a value for " + name + "\n",
               reader.problem());
    }
    if (!stick.present) {
        reader.Fail(name + " asks for joystick " + std::to_string(player) +
                    ", which is not connected");
        Refuse("No joystick found at position " + std::to_string(player) + "\n",
               reader.problem());
    }
    debug << name << ": joystick" << std::endl;
    return new JoyController(player);
}

}  // namespace

System* System::instance() {
    if (instance_ == nullptr) instance_ = new System();
    return instance_;
}

System* System::Offline() {
    if (instance_ == nullptr) instance_ = new System(false);
    if (instance_->display == nullptr) instance_->display = new Display();
    return instance_;
}

System::System() : System(true) {}

System::System(bool withControllers) {
    // The timer is ready before this body runs; the clock takes its start
    // time here.
    clock = new Clock();
    mouse = new Mouse();
    keyboard = new Keyboard();
    joystick[0] = new Joystick(0);
    joystick[1] = new Joystick(1);
    if (!withControllers) return;

    WordReader reader(UserDirs::Own("controllers.txt"));
    if (!reader.isOpen()) {
        Refuse("Expected controllers.txt file\n", "controllers.txt: cannot be opened");
    }
    ReadControllers(reader, joystick, controller, computer);
}

void System::ReadControllers(WordReader& reader, Joystick* const sticks[2], Controller* made[2],
                             bool computer[2]) {
    // Anything after the fourth word is left unread.
    for (int player = 0; player < 2; ++player) {
        made[player] = ReadController(reader, player, *sticks[player], computer[player]);
    }
}

void System::displayOptions(DisplayOpts* opts) {
    debug << "opening the window" << std::endl;
    display = new Display();
    display->Init(opts);
}

void System::Update() {
    if (mouse != nullptr) mouse->Update();
    if (keyboard != nullptr) keyboard->Update();
    if (controller[0] != nullptr) controller[0]->Update();
    if (controller[1] != nullptr) controller[1]->Update();
    if (joystick[0] != nullptr) joystick[0]->Update();
    if (joystick[1] != nullptr) joystick[1]->Update();
}
