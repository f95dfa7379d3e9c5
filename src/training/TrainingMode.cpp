#include "training/TrainingMode.h"

#include <SDL.h>

#include <string>

#include "ai/ComputerController.h"
#include "anim/MTNode.h"
#include "core/Display.h"
#include "core/Preferences.h"
#include "core/System.h"
#include "input/Keyboard.h"
#include "match/GameSeq.h"
#include "training/FrameData.h"
#include "training/HudText.h"

namespace {
const int SCALE = 3;           // screen pixels per font pixel
const int LINE = 6 * SCALE;    // one line of text
const int MARGIN = 40;         // as the life bars'
const int BELOW_BARS = 52;
}  // namespace

TrainingMode::TrainingMode(GameSeq& player_, GameSeq& dummySide_, Controller& playerDevice_,
                           ComputerController& computer_)
    : training(player_, dummySide_),
      dummy(1, dummySide_, player_, 0x7a11ed),
      player(player_),
      playerDevice(playerDevice_),
      computer(computer_),
      recordKeys(1),
      stand(0, player_, dummySide_, 0) {
    recordKeys.Bind(preferences.keys[0]);
}

void TrainingMode::Begin(int now) {
    training.Begin(now);
    leave = false;
    dummy.SetBehaviour(behaviour < Dummy::BEHAVIOURS ? static_cast<Dummy::Behaviour>(behaviour)
                                                     : Dummy::STAND);
}

void TrainingMode::Keys(const Keyboard& keys, int now) {
    if (keys.Pressed(SDLK_BACKSPACE)) leave = true;
    for (int i = 0; i < 3; ++i) {
        if (keys.Pressed(SDLK_1 + i)) show[i] = !show[i];
    }
    if (keys.Pressed(SDLK_TAB)) {
        behaviour = (behaviour + 1) % (Dummy::BEHAVIOURS + 1);
        // Recorded inputs are offered only once there are some.
        if (behaviour == Dummy::PLAYBACK && !dummy.HasSequence()) ++behaviour;
        if (behaviour < Dummy::BEHAVIOURS) dummy.SetBehaviour(static_cast<Dummy::Behaviour>(behaviour));
    }
    if (keys.Pressed(SDLK_F6)) {
        if (training.recording()) {
            std::vector<Dummy::Step> steps = training.Stop();
            if (steps.size() > 1) dummy.Keep(std::move(steps));
        } else {
            training.Record(now);
        }
    }
    if (keys.Pressed(SDLK_F7) && dummy.HasSequence() && !training.recording()) {
        behaviour = Dummy::PLAYBACK;
        dummy.SetBehaviour(Dummy::PLAYBACK);
    }
}

Controller* TrainingMode::SideController(int side) {
    if (training.recording()) return side == 0 ? static_cast<Controller*>(&stand) : &recordKeys;
    if (side == 0) return &playerDevice;
    if (behaviour == Dummy::BEHAVIOURS) return &computer;
    return &dummy;
}

void TrainingMode::Draw() const {
    const Display* display = System::instance()->display;
    if (display == nullptr) return;
    const int width = display->width;
    display->BeginOverlay(true);

    const std::string title =
        training.recording()
            ? "recording the dummy: f6 stops"
            : std::string("dummy: ") +
                  (behaviour < Dummy::BEHAVIOURS ? Dummy::Name(static_cast<Dummy::Behaviour>(behaviour))
                                                 : "computer") +
                  "  (tab)";
    HudText::Draw(title, (width - HudText::Width(title, SCALE)) / 2, 8, SCALE, 1, 1, 0.6f);

    // Under each bar, the blows that fighter took: the player's land on the right.
    if (show[0]) {
        for (int side = 0; side < 2; ++side) {
            const Training::Blows& b = training.blows[side];
            if (b.hits == 0) continue;
            const std::string lines[2] = {
                "damage " + std::to_string(b.last),
                "combo " + std::to_string(b.hits) + (b.hits == 1 ? " hit " : " hits ") +
                    std::to_string(b.total)};
            for (int l = 0; l < 2; ++l) {
                const int x = side == 0 ? MARGIN : width - MARGIN - HudText::Width(lines[l], SCALE);
                HudText::Draw(lines[l], x, BELOW_BARS + l * LINE, SCALE, 1, 1, 1);
            }
        }
    }
    const int bottom = display->height - 8 - LINE;
    if (show[1]) {
        for (int side = 0; side < 2; ++side) {
            const std::string text = training.Inputs(side);
            const int x = side == 0 ? MARGIN : width - MARGIN - HudText::Width(text, SCALE);
            HudText::Draw(text, x, bottom, SCALE, 0.7f, 1, 0.7f);
        }
    }
    if (show[2] && player.curNode != nullptr) {
        const FrameData d = FrameData::Of(dummy.TheirMove(player.curNode));
        std::string text = player.curNode->moveName;
        const size_t dot = text.rfind('.');
        if (dot != std::string::npos) text.erase(dot);
        if (d.strikes) {
            text += "  startup " + std::to_string(d.startup) + " active " + std::to_string(d.active) +
                    " recovery " + std::to_string(d.recovery);
        }
        HudText::Draw(text, MARGIN, bottom - LINE, SCALE, 0.8f, 0.9f, 1);
    }
    display->EndOverlay();
}
