#pragma once

#include "frontend/MenuScreen.h"

// "PAUSED" over the frozen match: resume, restart the round, controls,
// main menu. P or a joystick's button 9 resumes as well.
class PauseScreen : public MenuScreen {
public:
    const char* Name() const override { return "pause"; }
    static constexpr int JOYSTICK_PAUSE = 9;  // the start button of most pads

    PauseScreen(CaptionView& view, const Backdrop& backdrop);

    Event Update() override;
    // P or either joystick's pause button went down this frame.
    static bool PausePressed();
};
