#include "frontend/OptionsScreen.h"

#include <SDL.h>

#include <string>
#include <vector>

#include "ai/Skill.h"
#include "core/Display.h"
#include "core/Preferences.h"
#include "core/System.h"
#include "core/Trace.h"
#include "frontend/Backdrop.h"
#include "frontend/CaptionView.h"
#include "frontend/Choice.h"
#include "frontend/Sound.h"
#include "input/Joystick.h"
#include "input/Keyboard.h"

namespace {

const float ENTRY_SCALE = 1.1f;
const int FIRST_Y = 425;
const int SPACING = 43;
const int LEFT = -40;
const float SHADE = 0.75f;

const std::vector<int> ROUND_COUNTS = {1, 3, 5};
const std::vector<int> TIMERS = {0, 30, 60, 99};

// The value after `value` in `values`, `step` places on, round the list.
int Cycle(const std::vector<int>& values, int value, int step) {
    int at = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] == value) at = static_cast<int>(i);
    }
    const int n = static_cast<int>(values.size());
    return values[(at + step + n) % n];
}

// The window size on offer that the display has now, or -1.
int CurrentSize(const Display& display) {
    for (int i = 0; i < Preferences::WINDOW_SIZES; ++i) {
        if (Preferences::SIZES[i].width == display.width && Preferences::SIZES[i].height == display.height) return i;
    }
    return -1;
}

std::string Line(const char* name, const std::string& value) {
    std::string row = name;
    row.resize(13, ' ');
    return row + value;
}

}  // namespace

OptionsScreen::OptionsScreen(CaptionView& view_, const Backdrop& backdrop_)
    : view(view_), backdrop(backdrop_), keys(view_, backdrop_), title(2.0f), hints{Label(0.7f), Label(0.7f)} {
    menu.normalMaterial = view.normalMaterial;
    menu.highlightMaterial = view.highlightMaterial;
    menu.camera = &view.camera;
    for (int row = 0; row < ROWS; ++row) {
        menu.choices.Add(new Choice("", LEFT, FIRST_Y - row * SPACING, view.normalMaterial, ENTRY_SCALE));
    }
    title.Set("OPTIONS");
    hints[0].Set("up down choose   left right change");
    hints[1].Set("backspace goes back");
}

void OptionsScreen::Open() {
    changingKeys = false;
    Refresh();
    menu.Open();
}

void OptionsScreen::Refresh() {
    const Display& display = *System::instance()->display;
    const Preferences& p = preferences;
    const std::string labels[ROWS] = {
        Line("skill", Skill::Level(p.skill).name),
        Line("rounds", "best of " + std::to_string(p.rounds)),
        Line("timer", p.timer == 0 ? "off" : std::to_string(p.timer)),
        Line("shadows", p.stencilShadows != 0 ? "stencil" : "planar"),
        Line("volume", std::to_string(p.volume)),
        Line("full screen", display.fullscreen ? "on" : "off"),
        Line("window", std::to_string(display.width) + "x" + std::to_string(display.height)),
        "player 1 keys",
        "player 2 keys",
        "controls",
        "back",
    };
    for (int row = 0; row < ROWS; ++row) menu.choices[row]->SetLabel(labels[row].c_str());
}

void OptionsScreen::Change(int row, int step) {
    Preferences& p = preferences;
    Display& display = *System::instance()->display;
    switch (row) {
        case SKILL: p.skill = (p.skill + step + Skill::LEVELS) % Skill::LEVELS; break;
        case ROUNDS: p.rounds = Cycle(ROUND_COUNTS, p.rounds, step); break;
        case TIMER: p.timer = Cycle(TIMERS, p.timer, step); break;
        case SHADOWS: p.stencilShadows = 1 - p.stencilShadows; break;
        case VOLUME:
            p.volume = Cycle({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}, p.volume / 10 * 10, step);
            Sound::Manager::instance()->SetVolume(p.volume);  // heard at once
            break;
        case FULL_SCREEN:
            if (display.SetFullScreen(!display.fullscreen)) p.fullscreen = display.fullscreen ? 2 : 1;
            break;
        case WINDOW: {
            const int now = CurrentSize(display);
            const int next = now < 0 ? (step > 0 ? 0 : Preferences::WINDOW_SIZES - 1)
                                     : (now + step + Preferences::WINDOW_SIZES) % Preferences::WINDOW_SIZES;
            const Preferences::Size size = Preferences::SIZES[next];
            if (display.ChangeMode(size.width, size.height, display.fullscreen)) p.window = next + 1;
            break;
        }
        default: return;
    }
    p.SaveInConfig();
    Refresh();
}

Screen::Event OptionsScreen::Update() {
    if (changingKeys) {
        if (keys.Update() == BACK) {
            changingKeys = false;
            debug << "screen: options" << std::endl;
            menu.Open();
        }
        return NONE;
    }
    const System* system = System::instance();
    const Keyboard* keyboard = system->keyboard;
    if (keyboard->Pressed(SDLK_BACKSPACE)) return BACK;
    menu.Update();
    const int row = menu.selection;
    if (keyboard->Pressed(SDLK_LEFT)) Change(row, -1);
    if (keyboard->Pressed(SDLK_RIGHT)) Change(row, 1);
    if (!menu.activated) return NONE;
    menu.activated = false;
    switch (row) {
        case KEYS_1:
        case KEYS_2:
            changingKeys = true;
            keys.Open(row - KEYS_1);
            return NONE;
        case CONTROLS_ROW: return CONTROLS;
        case BACK_ROW: return BACK;
        default: Change(row, 1); return NONE;
    }
}

void OptionsScreen::Draw() {
    if (changingKeys) {
        keys.Draw();
        return;
    }
    backdrop.Draw(SHADE);
    view.Begin();
    title.DrawCentred(CaptionView::CENTRE_X, 495, view.captionMaterial);
    menu.Draw();
    hints[0].DrawCentred(CaptionView::CENTRE_X, -55, view.captionMaterial);
    hints[1].DrawCentred(CaptionView::CENTRE_X, -85, view.captionMaterial);
    view.End();
}
