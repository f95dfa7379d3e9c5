#include <sstream>

#include "FuzzTarget.h"
#include "core/DataProblems.h"
#include "core/System.h"
#include "core/WordReader.h"
#include "input/Controller.h"
#include "input/Joystick.h"

KORVANTHE_FUZZ_TARGET(controllers) {
    std::istringstream in(input);
    WordReader reader(in, "controllers.txt");
    Joystick first(0), second(1);
    first.present = input.size() % 2 == 0;  // a joystick plugged in, or not
    Joystick* const sticks[2] = {&first, &second};
    Controller* made[2] = {};
    bool computer[2] = {};
    try {
        System::ReadControllers(reader, sticks, made, computer);
    } catch (const DataProblems::Abandoned&) {
    }
    for (Controller* controller : made) delete controller;
}
