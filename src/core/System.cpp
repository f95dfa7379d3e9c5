#include "core/System.h"

#include "core/Clock.h"
#include "core/Display.h"
#include "input/Keyboard.h"

System* System::instance_ = nullptr;

System* System::instance() {
    if (instance_ == nullptr) instance_ = new System();
    return instance_;
}

System::System() : clock(new Clock()), keyboard(new Keyboard()) {}

void System::displayOptions(DisplayOpts* opts) {
    display = new Display();
    display->Init(opts);
}

void System::Update() {
    if (keyboard != nullptr) keyboard->Update();
}
